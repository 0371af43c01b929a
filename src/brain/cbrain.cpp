#include "brain/cbrain.h"

#include "app/cparams.h"
#include "brain/cneuralnet.h"
#include "files/kassert.h"
#include "world/utils.h"

#include <cmath>
#include <iostream>
#include <sstream>
#include <utility>

namespace
{
// Bounds on a brain record, far above any game's needs, so that a corrupt file cannot make
// the loader allocate without limit.
constexpr int kMaxNetworks = 1000;
constexpr int kMaxSize = 10000;
constexpr long long kMaxWeights = 10000000;

void deleteNetworks(const std::vector<CNeuralNet*>& networks)
{
    for (CNeuralNet* pNet : networks)
        delete pNet;
}

// The child of two networks of one shape: the first cut weights of the first parent, the
// rest of the second. The copy of the first parent carries its training record over.
CNeuralNet* crossNetworks(const CNeuralNet& parent1, const CNeuralNet& parent2)
{
    CNeuralNet* child = new CNeuralNet(parent1);
    const std::vector<double> vParent1Weights = parent1.getWeights();
    const std::vector<double> vParent2Weights = parent2.getWeights();
    const int n = (int)vParent1Weights.size();
    const int cut = RandInt(0, n - 1);

    // Bounded by the second parent's own size, so that a mismatch reaches the assertion
    // instead of reading past its end.
    std::vector<double> childWeights(vParent1Weights.begin(), vParent1Weights.begin() + cut);
    for (int k = cut; k < (int)vParent2Weights.size(); ++k)
        childWeights.push_back(vParent2Weights[k]);
    KA_ASSERT(childWeights.size() == vParent1Weights.size());
    KA_ASSERT(childWeights.size() == vParent2Weights.size());

    child->putWeights(childWeights);
    return child;
}

// Reads one int into value when it lies in [lowest, highest]; otherwise says why in error.
bool readBounded(std::istream& in, const std::string& what, int lowest, int highest, int& value,
                 std::string& error)
{
    if (!(in >> value))
    {
        error = what + " missing or not a number";
        return false;
    }
    if (value < lowest || value > highest)
    {
        error = what + " " + std::to_string(value) + " out of range (" + std::to_string(lowest) + " to "
                + std::to_string(highest) + ")";
        return false;
    }
    return true;
}

// Reads count finite weights; count has been checked against the shape before, and the
// vector grows only with weights actually read.
bool readWeights(std::istream& in, long long count, std::vector<double>& weights, std::string& error)
{
    for (long long k = 0; k < count; ++k)
    {
        // Extraction already fails on "nan", "inf" and overflow; the finiteness check keeps
        // that true whatever the library's number parsing accepts.
        double weight = 0.0;
        if (!(in >> weight) || !std::isfinite(weight))
        {
            error = "weight " + std::to_string(k) + " missing, not a number or not finite";
            return false;
        }
        weights.push_back(weight);
    }
    return true;
}

// One network record, checked field by field before anything is allocated for it;
// null, with the reason in error, when the record is bad.
CNeuralNet* readNetwork(std::istream& in, std::string& error)
{
    // A network without outputs decides nothing and has no weight to cut at in crossover.
    // A hidden layer without neurons cuts the outputs off from the inputs; costing no weight
    // in the record, such layers would also let a few bytes build millions of them.
    int inputs = 0, outputs = 0, hiddenLayers = 0, perLayer = 0;
    if (!readBounded(in, "inputs", 0, kMaxSize, inputs, error)
        || !readBounded(in, "outputs", 1, kMaxSize, outputs, error)
        || !readBounded(in, "hidden layers", 0, kMaxSize, hiddenLayers, error)
        || !readBounded(in, "neurons per hidden layer", hiddenLayers > 0 ? 1 : 0, kMaxSize, perLayer, error))
        return nullptr;

    const long long expected = CNeuralNet::countWeights(inputs, outputs, hiddenLayers, perLayer);
    if (expected > kMaxWeights)
    {
        error = "shape needs " + std::to_string(expected) + " weights, more than "
                + std::to_string(kMaxWeights);
        return nullptr;
    }
    long long count = 0;
    if (!(in >> count))
    {
        error = "weight count missing or not a number";
        return nullptr;
    }
    if (count != expected)
    {
        error = "weight count " + std::to_string(count) + " does not match its shape ("
                + std::to_string(expected) + ")";
        return nullptr;
    }
    std::vector<double> weights;
    if (!readWeights(in, count, weights, error))
        return nullptr;

    CNeuralNet* pNet = new CNeuralNet(inputs, outputs, hiddenLayers, perLayer);
    pNet->putWeights(weights);
    return pNet;
}
} // namespace

CBrain::CBrain() : m_bInitialized(false) {}

CBrain::CBrain(std::vector<CNeuralNet*> initNNs) : m_bInitialized(true)
{
    KA_ASSERT((int)initNNs.size() > 0);
    m_vNeuralNets = std::move(initNNs);
}

CBrain::CBrain(const CBrain& origBrain) : m_bInitialized(true), m_iOrigin(origBrain.m_iOrigin)
{
    KA_ASSERT(origBrain.m_bInitialized);
    m_vNeuralNets.reserve(origBrain.m_vNeuralNets.size());
    for (const CNeuralNet* pNet : origBrain.m_vNeuralNets)
        m_vNeuralNets.push_back(new CNeuralNet(*pNet));
}

CBrain::~CBrain()
{
    releaseNetworks();
}

void CBrain::addNN(CNeuralNet* nn)
{
    KA_ASSERT(m_bInitialized);
    m_vNeuralNets.push_back(nn);
}

CNeuralNet* CBrain::getNN(int i) const
{
    checkIndex(i);
    return m_vNeuralNets[i];
}

void CBrain::setNN(int i, CNeuralNet* nn)
{
    checkIndex(i);
    m_vNeuralNets[i] = nn;
}

int CBrain::getNumberOfNN() const
{
    return (int)m_vNeuralNets.size();
}

// The children are bred before the old networks go, so a brain may be one of its own parents.
void CBrain::crossover(CBrain* ptrParent1, CBrain* ptrParent2)
{
    KA_ASSERT(ptrParent1->getNumberOfNN() == ptrParent2->getNumberOfNN());
    std::vector<CNeuralNet*> children;
    children.reserve(ptrParent1->getNumberOfNN());
    for (int j = 0; j < ptrParent1->getNumberOfNN(); ++j)
        children.push_back(crossNetworks(*ptrParent1->getNN(j), *ptrParent2->getNN(j)));
    adoptNetworks(std::move(children));
}

void CBrain::crossoverInPlace(const CBrain& parent1, const CBrain& parent2)
{
    KA_ASSERT(getNumberOfNN() == parent1.getNumberOfNN());
    KA_ASSERT(getNumberOfNN() == parent2.getNumberOfNN());
    for (int j = 0; j < getNumberOfNN(); ++j)
        m_vNeuralNets[j]->crossFrom(*parent1.getNN(j), *parent2.getNN(j));
}

void CBrain::assign(const CBrain& other)
{
    KA_ASSERT(getNumberOfNN() == other.getNumberOfNN());
    for (int i = 0; i < getNumberOfNN(); ++i)
        m_vNeuralNets[i]->assign(*other.m_vNeuralNets[i]);
    m_iOrigin = other.m_iOrigin;
}

void CBrain::assignAsCopy(const CBrain& other)
{
    KA_ASSERT(getNumberOfNN() == other.getNumberOfNN());
    for (int i = 0; i < getNumberOfNN(); ++i)
        m_vNeuralNets[i]->assignAsCopy(*other.m_vNeuralNets[i]);
    m_iOrigin = other.m_iOrigin;
}

void CBrain::mutate()
{
    for (CNeuralNet* pNet : m_vNeuralNets)
        pNet->changeEachWeight([](double& weight) {
            // The perturbation is drawn only for a weight that mutates, keeping the draws replayable.
            if (RandInt(0, 100) < CParams::Alien_MutationRate)
                weight += RandomClamped() * CParams::Alien_MaxPerturbation;
        });
}

void CBrain::randomize()
{
    for (CNeuralNet* pNet : m_vNeuralNets)
        pNet->randomizeWeights();
    m_iOrigin = BRAIN_RANDOM;
}

bool CBrain::hasOnlyFiniteWeights(std::string& problem) const
{
    for (size_t i = 0; i < m_vNeuralNets.size(); ++i)
    {
        const std::vector<double> weights = m_vNeuralNets[i]->getWeights();
        for (size_t k = 0; k < weights.size(); ++k)
            if (!std::isfinite(weights[k]))
            {
                std::ostringstream text;
                text << "network " << i << ", weight " << k << " is " << weights[k] << ", not a finite number";
                problem = text.str();
                return false;
            }
    }
    return true;
}

void CBrain::save(std::ostream& out) const
{
    std::cerr << "Nothing to see here .... move along!" << std::endl;
    if (!m_bInitialized)
        return;
    out << getNumberOfNN() << " ";
    for (const CNeuralNet* pNet : m_vNeuralNets)
        pNet->save(out);
}

bool CBrain::load(std::istream& in, std::string& error)
{
    std::cerr << "Nothing to see here .... move along!" << std::endl;
    int count = 0;
    if (!readBounded(in, "network count", 0, kMaxNetworks, count, error))
        return false;

    // Everything is read into new networks first: a bad record leaves the brain untouched.
    std::vector<CNeuralNet*> loaded;
    for (int i = 0; i < count; ++i)
    {
        CNeuralNet* pNet = readNetwork(in, error);
        if (!pNet)
        {
            error = "network " + std::to_string(i) + ": " + error;
            deleteNetworks(loaded);
            return false;
        }
        loaded.push_back(pNet);
    }
    adoptNetworks(std::move(loaded));
    m_iOrigin = BRAIN_LOADED;
    return true;
}

void CBrain::checkIndex(int i) const
{
    KA_ASSERT(i >= 0 && i < (int)m_vNeuralNets.size());
}

void CBrain::releaseNetworks()
{
    if (m_bInitialized)
        deleteNetworks(m_vNeuralNets);
    m_vNeuralNets.clear();
}

void CBrain::adoptNetworks(std::vector<CNeuralNet*> networks)
{
    releaseNetworks();
    m_vNeuralNets = std::move(networks);
    m_bInitialized = true;
}
