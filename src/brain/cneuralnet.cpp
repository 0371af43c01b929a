#include "brain/cneuralnet.h"

#include "app/cparams.h"
#include "files/kassert.h"
#include "world/utils.h"

#include <cmath>
#include <ostream>
#include <utility>

namespace
{
// Small enough that one step on one example cannot overshoot a sigmoid's useful range.
constexpr double kLearningRate = 0.1;

// A freshly built or re-randomised network has no training behind it.
constexpr double kUntrainedErrorSum = 9999.0;

// Weight k multiplies input k; the last weight multiplies the bias input. The sum runs in
// that order: every evaluation gives the same bits.
double netInput(const SNeuron& neuron, const double* inputs, double bias)
{
    const double* weights = neuron.m_vWeights.data();
    const int last = neuron.m_iNumInputs - 1;
    double net = 0.0;
    for (int k = 0; k < last; ++k)
        net += weights[k] * inputs[k];
    return net + weights[last] * bias;
}

// Gradient step: each weight moves by rate x delta x the input it multiplies.
void adjustWeights(SNeuron& neuron, double delta, const std::vector<double>& inputs)
{
    const int last = neuron.m_iNumInputs - 1;
    const double step = kLearningRate * delta;
    for (int k = 0; k < last; ++k)
        neuron.m_vWeights[k] += step * inputs[k];
    neuron.m_vWeights[last] += step * CParams::NN_Bias;
}
} // namespace

SNeuron::SNeuron(int numInputs) : m_iNumInputs(numInputs + 1), m_dActivation(0.0), m_dError(0.0)
{
    m_vWeights.reserve(m_iNumInputs);
    for (int k = 0; k < m_iNumInputs; ++k)
        m_vWeights.push_back(RandomClamped());
}

SNeuronLayer::SNeuronLayer(int numNeurons, int numInputsPerNeuron) : m_iNumNeurons(numNeurons)
{
    m_vNeurons.reserve(numNeurons);
    for (int i = 0; i < numNeurons; ++i)
        m_vNeurons.emplace_back(numInputsPerNeuron);
}

CNeuralNet::CNeuralNet(int numInputs, int numOutputs, int numHiddenLayers, int neuronsPerHiddenLayer)
    : m_iNumInputs(numInputs),
      m_iNumOutputs(numOutputs),
      m_iNumHiddenLayers(numHiddenLayers),
      m_iNeuronsPerHiddenLayer(neuronsPerHiddenLayer),
      m_dErrorSum(kUntrainedErrorSum),
      m_bTrained(false),
      m_iNumEpochs(0)
{
    createNet();
}

// Draws one random weight for each weight it copies, as building fresh layers would, so
// that copying moves the random sequence exactly as a fresh network of the same shape does
// and breeding replays from a seed; the drawn values are then overwritten by the copy.
CNeuralNet::CNeuralNet(const CNeuralNet& other)
    : m_iNumInputs(other.m_iNumInputs),
      m_iNumOutputs(other.m_iNumOutputs),
      m_iNumHiddenLayers(other.m_iNumHiddenLayers),
      m_iNeuronsPerHiddenLayer(other.m_iNeuronsPerHiddenLayer),
      m_dErrorSum(other.m_dErrorSum),
      m_bTrained(other.m_bTrained),
      m_iNumEpochs(other.m_iNumEpochs),
      m_vLayers(other.m_vLayers)
{
    changeEachWeight([](double&) { RandomClamped(); });
    for (SNeuronLayer& layer : m_vLayers)
        for (SNeuron& neuron : layer.m_vNeurons)
            neuron.m_dActivation = neuron.m_dError = 0.0; // not copied: a fresh neuron's
}

void CNeuralNet::assign(const CNeuralNet& other)
{
    KA_ASSERT(getNumberOfWeights() == other.getNumberOfWeights());
    m_dErrorSum = other.m_dErrorSum;
    m_bTrained = other.m_bTrained;
    m_iNumEpochs = other.m_iNumEpochs;
    for (size_t l = 0; l < m_vLayers.size(); ++l)
        for (size_t n = 0; n < m_vLayers[l].m_vNeurons.size(); ++n)
        {
            SNeuron& neuron = m_vLayers[l].m_vNeurons[n];
            neuron.m_vWeights = other.m_vLayers[l].m_vNeurons[n].m_vWeights; // same length: no allocation
            neuron.m_dActivation = neuron.m_dError = 0.0;
        }
}

void CNeuralNet::assignAsCopy(const CNeuralNet& other)
{
    changeEachWeight([](double&) { RandomClamped(); });
    assign(other);
}

void CNeuralNet::crossFrom(const CNeuralNet& parent1, const CNeuralNet& parent2)
{
    const int n = getNumberOfWeights();
    KA_ASSERT(parent1.getNumberOfWeights() == n);
    KA_ASSERT(parent2.getNumberOfWeights() == n);
    changeEachWeight([](double&) { RandomClamped(); });
    const int cut = RandInt(0, n - 1);
    m_dErrorSum = parent1.m_dErrorSum;
    m_bTrained = parent1.m_bTrained;
    m_iNumEpochs = parent1.m_iNumEpochs;
    int k = 0;
    for (size_t l = 0; l < m_vLayers.size(); ++l)
        for (size_t i = 0; i < m_vLayers[l].m_vNeurons.size(); ++i)
        {
            SNeuron& neuron = m_vLayers[l].m_vNeurons[i];
            const std::vector<double>& first = parent1.m_vLayers[l].m_vNeurons[i].m_vWeights;
            const std::vector<double>& second = parent2.m_vLayers[l].m_vNeurons[i].m_vWeights;
            for (size_t w = 0; w < neuron.m_vWeights.size(); ++w, ++k)
                neuron.m_vWeights[w] = k < cut ? first[w] : second[w];
            neuron.m_dActivation = neuron.m_dError = 0.0;
        }
}

long long CNeuralNet::countWeights(int numInputs, int numOutputs, int numHiddenLayers, int neuronsPerHiddenLayer)
{
    const long long inputs = numInputs;
    const long long outputs = numOutputs;
    const long long hidden = numHiddenLayers;
    const long long perLayer = neuronsPerHiddenLayer;
    if (hidden == 0)
        return outputs * (inputs + 1);
    return perLayer * (inputs + 1) + (hidden - 1) * perLayer * (perLayer + 1) + outputs * (perLayer + 1);
}

void CNeuralNet::createNet()
{
    m_vLayers.clear();
    if (m_iNumHiddenLayers == 0)
    {
        m_vLayers.emplace_back(m_iNumOutputs, m_iNumInputs);
        return;
    }
    m_vLayers.reserve(m_iNumHiddenLayers + 1);
    m_vLayers.emplace_back(m_iNeuronsPerHiddenLayer, m_iNumInputs);
    for (int i = 1; i < m_iNumHiddenLayers; ++i)
        m_vLayers.emplace_back(m_iNeuronsPerHiddenLayer, m_iNeuronsPerHiddenLayer);
    m_vLayers.emplace_back(m_iNumOutputs, m_iNeuronsPerHiddenLayer);
}

std::vector<double> CNeuralNet::getWeights() const
{
    std::vector<double> weights;
    weights.reserve(getNumberOfWeights());
    for (const SNeuronLayer& layer : m_vLayers)
        for (const SNeuron& neuron : layer.m_vNeurons)
            weights.insert(weights.end(), neuron.m_vWeights.begin(), neuron.m_vWeights.end());
    return weights;
}

void CNeuralNet::putWeights(const std::vector<double>& weights)
{
    // A short vector would be read past its end.
    KA_ASSERT((int)weights.size() >= getNumberOfWeights());
    auto next = weights.begin();
    for (SNeuronLayer& layer : m_vLayers)
        for (SNeuron& neuron : layer.m_vNeurons)
            for (double& weight : neuron.m_vWeights)
                weight = *next++;
}

int CNeuralNet::getNumberOfWeights() const
{
    int count = 0;
    for (const SNeuronLayer& layer : m_vLayers)
        for (const SNeuron& neuron : layer.m_vNeurons)
            count += neuron.m_iNumInputs;
    return count;
}

const std::vector<double>& CNeuralNet::update(const std::vector<double>& inputs)
{
    static const std::vector<double> kNoOutputs;
    if ((int)inputs.size() != m_iNumInputs)
        return kNoOutputs;

    // Read once: stores into the neurons could otherwise be taken to change them.
    const double bias = CParams::NN_Bias;
    const double response = CParams::NN_ActivationResponse;
    const std::vector<double>* pLayerInputs = &inputs;
    for (SNeuronLayer& layer : m_vLayers)
    {
        m_vLayerOutputs.resize(layer.m_vNeurons.size());
        double* output = m_vLayerOutputs.data();
        for (SNeuron& neuron : layer.m_vNeurons)
        {
            neuron.m_dActivation = sigmoid(netInput(neuron, pLayerInputs->data(), bias), response);
            *output++ = neuron.m_dActivation;
        }
        // This layer's outputs are the next one's inputs; the old inputs become the next scratch.
        std::swap(m_vLayerInputs, m_vLayerOutputs);
        pLayerInputs = &m_vLayerInputs;
    }
    return m_vLayerInputs;
}

double CNeuralNet::sigmoid(double netinput, double response)
{
    return 1.0 / (std::exp(-netinput / response) + 1.0);
}

void CNeuralNet::randomizeWeights()
{
    changeEachWeight([](double& weight) { weight = RandomClamped(); });
    m_dErrorSum = kUntrainedErrorSum;
    m_iNumEpochs = 0;
}

bool CNeuralNet::train(const std::vector<double>& inputs, const std::vector<double>& targets)
{
    if ((int)inputs.size() != m_iNumInputs || (int)targets.size() != m_iNumOutputs)
        return false;
    if (!trainEpoch(inputs, targets))
        return false;
    ++m_iNumEpochs;
    m_bTrained = true;
    return true;
}

bool CNeuralNet::trainEpoch(const std::vector<double>& inputs, const std::vector<double>& targets)
{
    // The deltas below are those of exactly one hidden layer; anything else would index wrongly.
    KA_ASSERT(m_iNumHiddenLayers == 1);
    m_dErrorSum = 0.0;
    const std::vector<double> outputs = update(inputs);
    if (outputs.empty())
        return false;

    SNeuronLayer& hidden = m_vLayers[0];
    SNeuronLayer& output = m_vLayers[1];

    // The output neurons' inputs are the hidden activations of this evaluation.
    m_vLayerInputs.clear();
    for (const SNeuron& neuron : hidden.m_vNeurons)
        m_vLayerInputs.push_back(neuron.m_dActivation);

    for (int o = 0; o < output.m_iNumNeurons; ++o)
    {
        SNeuron& neuron = output.m_vNeurons[o];
        const double miss = targets[o] - outputs[o];
        neuron.m_dError = miss * outputs[o] * (1.0 - outputs[o]);
        m_dErrorSum += miss * miss;
        adjustWeights(neuron, neuron.m_dError, m_vLayerInputs);
    }

    // Blame flows back through the output weights as they stand after their own update.
    for (int n = 0; n < hidden.m_iNumNeurons; ++n)
    {
        SNeuron& neuron = hidden.m_vNeurons[n];
        double sum = 0.0;
        for (const SNeuron& out : output.m_vNeurons)
            sum += out.m_dError * out.m_vWeights[n];
        const double a = neuron.m_dActivation;
        adjustWeights(neuron, sum * a * (1.0 - a), inputs);
    }
    return true;
}

void CNeuralNet::save(std::ostream& out) const
{
    out << m_iNumInputs << " " << m_iNumOutputs << " " << m_iNumHiddenLayers << " "
        << m_iNeuronsPerHiddenLayer << " " << getNumberOfWeights() << " ";
    for (double weight : getWeights())
        out << weight << " ";
}
