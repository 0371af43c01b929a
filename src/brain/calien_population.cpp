#include "brain/calien_population.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>
#include <utility>

#include "aliens/calien.h"
#include "app/cparams.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "world/cgamecontroller.h"
#include "files/cregularfilebuf.h"
#include "files/kassert.h"
#include "files/safefile.h"
#include "world/utils.h"

namespace
{
// More entries than any pool holds; refuses absurd counts before anything is read.
constexpr int kMaxFileEntries = 1000000;

void deleteBrains(CAlien_Population::BrainPool& pool)
{
    for (auto& entry : pool)
        delete entry.second;
    pool.clear();
}

void deleteBrains(std::vector<CBrain*>& brains)
{
    for (CBrain* brain : brains)
        delete brain;
    brains.clear();
}

bool sameShape(const CNeuralNet& a, const CNeuralNet& b)
{
    return a.getNumInputs() == b.getNumInputs() && a.getNumOutputs() == b.getNumOutputs() &&
           a.getNumHiddenLayers() == b.getNumHiddenLayers() &&
           a.getNeuronsPerHiddenLayer() == b.getNeuronsPerHiddenLayer();
}

bool sameShape(const CBrain& a, const CBrain& b)
{
    if (a.getNumberOfNN() != b.getNumberOfNN())
        return false;
    for (int i = 0; i < a.getNumberOfNN(); ++i)
        if (!sameShape(*a.getNN(i), *b.getNN(i)))
            return false;
    return true;
}

// What a loaded brain's networks have that the aliens' own do not, naming the member that sets
// it (a pool saved with other values); empty when they fit.
std::string misfit(const CBrain& loaded, const CBrain& own)
{
    if (loaded.getNumberOfNN() != own.getNumberOfNN())
        return "it holds " + std::to_string(loaded.getNumberOfNN()) + " networks where this population's aliens have " +
               std::to_string(own.getNumberOfNN());
    for (int i = 0; i < own.getNumberOfNN(); ++i)
    {
        const CNeuralNet& a = *loaded.getNN(i);
        const CNeuralNet& b = *own.getNN(i);
        const std::string net = i == 0 ? "Movement" : "Attack";
        const struct
        {
            int iLoaded, iOwn;
            const char* szWhat;
            const char* szMember;
        } sizes[] = {{a.getNumInputs(), b.getNumInputs(), "inputs", "NumInputs"},
                     {a.getNumOutputs(), b.getNumOutputs(), "outputs", "NumOutputs"},
                     {a.getNumHiddenLayers(), b.getNumHiddenLayers(), "hidden layers", "NumHiddenLayers"},
                     {a.getNeuronsPerHiddenLayer(), b.getNeuronsPerHiddenLayer(), "neurons a hidden layer",
                      "NeuronsPerHiddenLayer"}};
        for (const auto& size : sizes)
        {
            if (size.iLoaded == size.iOwn)
                continue;
            std::string text = "its " + std::string(i == 0 ? "movement" : "attack") + " network has " +
                               std::to_string(size.iLoaded) + " " + size.szWhat + " where this game's have " +
                               std::to_string(size.iOwn) + " (Alien_NN_" + net + "_" + size.szMember;
            std::ostringstream members;
            if (i == 0 && std::string(size.szMember) == "NumInputs")
                members << ", with Alien_NN_Movement_UseSensors " << CParams::Alien_NN_Movement_UseSensors
                        << " and Alien_NN_Movement_GunBullets " << CParams::Alien_NN_Movement_GunBullets;
            return text + members.str() + ")";
        }
    }
    return "";
}

// Keeps a copy of the brain when it is among the Alien_NumberInPool best; a newcomer that
// only equals the worst is turned away, so among equal fitness the oldest stay. Once the pool
// is full, the newcomer is copied into the worst entry's node and, when it has the same
// shape (always in the game), its brain, which move to its place: nothing is allocated. A
// pool with no aliens to serve takes brains of any shape, as loaded from a file. True when
// the brain was taken in.
bool keepIfAmongTheBest(CAlien_Population::BrainPool& pool, const CBrain& brain, double fitness)
{
    if ((int)pool.size() < CParams::Alien_NumberInPool)
    {
        pool.insert({fitness, new CBrain(brain)});
        return true;
    }
    if (pool.empty() || !(fitness > pool.rbegin()->first))
        return false;
    auto entry = pool.extract(std::prev(pool.end()));
    entry.key() = fitness;
    if (sameShape(*entry.mapped(), brain))
        entry.mapped()->assignAsCopy(brain);
    else
        delete std::exchange(entry.mapped(), new CBrain(brain));
    pool.insert(std::move(entry));
    return true;
}

// Why the loader refuses this fitness; empty when it accepts it.
std::string fitnessProblem(double fitness)
{
    std::ostringstream text;
    if (!std::isfinite(fitness))
        text << "the fitness " << fitness << " is not a finite number";
    else if (std::fabs(fitness) > CAlien_Population::MaxFitness)
        text << "the fitness " << fitness << " is larger than " << CAlien_Population::MaxFitness << " in size";
    return text.str();
}

bool reportLoad(bool loaded, const std::string& name, const std::string& error)
{
    if (loaded)
        std::cerr << "done." << std::endl;
    else
        std::cerr << "Cannot load " << name << ": " << error << std::endl;
    return loaded;
}
} // namespace

CAlien_Population::CAlien_Population() : CAlien_Population(nullptr, 0, 0) {}

CAlien_Population::CAlien_Population(CGameController* pGameController, int numAliens, int poolCapacity)
    : m_iNumAliens(numAliens), m_iPoolCapacity(poolCapacity), m_iNumDead(0), m_llTotalOffered(0),
      m_dTotalFitnessOffered(0.0), m_pGameController(pGameController),
      m_bInitialized(false)
{
}

CAlien_Population::~CAlien_Population()
{
    deleteBrains(m_mmBrainPool);
}

void CAlien_Population::initialize(std::vector<CAlien*> aliens)
{
    KA_ASSERT((int)aliens.size() >= m_iNumAliens);
    for (int i = 0; i < m_iNumAliens; ++i)
    {
        aliens[i]->reset();
        const SVector2D p =
            m_pGameController->getRandomFreePosition(2 * CParams::Alien_Width, 2 * CParams::Alien_Height);
        aliens[i]->setPosition(p.x, p.y);
        m_vAliensOnScreen.push_back(aliens[i]);
    }
    m_iNumDead = 0;
    m_bInitialized = true;
}

void CAlien_Population::addToPool(CBrain* brain, double fitness)
{
    ++m_iNumDead;
    ++m_llTotalOffered;
    m_dTotalFitnessOffered += fitness;
    fade(m_fade.takeFactor());
    if (keepIfAmongTheBest(m_mmBrainPool, *brain, fitness))
        ++m_llTotalJoined;
}

double CAlien_Population::getEntryBar() const
{
    if (!isPoolFull() || m_mmBrainPool.empty())
        return std::numeric_limits<double>::quiet_NaN();
    return getWorstFitness();
}

// Every entry's fitness times the factor, node by node: the order stays as it was, and
// nothing is allocated.
void CAlien_Population::fade(double factor)
{
    if (factor == 1.0)
        return;
    BrainPool faded;
    while (!m_mmBrainPool.empty())
    {
        auto node = m_mmBrainPool.extract(m_mmBrainPool.begin());
        node.key() *= factor;
        faded.insert(faded.end(), std::move(node));
    }
    m_mmBrainPool.swap(faded);
}

bool CAlien_Population::isPoolFull() const
{
    return (int)m_mmBrainPool.size() >= CParams::Alien_NumberInPool;
}

void CAlien_Population::breedInto(CBrain& child) const
{
    KA_ASSERT(m_bInitialized);
    KA_ASSERT((int)m_mmBrainPool.size() == CParams::Alien_NumberInPool);
    if (RandFloat() < CParams::Alien_CrossoverRate)
    {
        // Two different parents need at least two positions to draw from.
        const int top = bestRange();
        if (top >= 1)
        {
            crossInto(child, top);
            return;
        }
    }
    cloneInto(child);
}

// The last position of the best Alien_PercentBestInPool percent, within the pool.
int CAlien_Population::bestRange() const
{
    const int size = static_cast<int>(m_mmBrainPool.size());
    const int top = static_cast<int>(CParams::Alien_PercentBestInPool / 100.0 * size);
    return std::min(top, size - 1);
}

CBrain* CAlien_Population::brainAt(int position) const
{
    return std::next(m_mmBrainPool.begin(), position)->second;
}

void CAlien_Population::cloneInto(CBrain& child) const
{
    const int top = RandFloat() < CParams::Alien_ProbCloneFromBest ? bestRange()
                                                                    : static_cast<int>(m_mmBrainPool.size()) - 1;
    child.assignAsCopy(*brainAt(RandInt(0, top)));
    child.setOrigin(BRAIN_CLONED);
}

void CAlien_Population::crossInto(CBrain& child, int top) const
{
    int a = 0;
    int b = 0;
    do
    {
        a = RandInt(0, top);
        b = RandInt(0, top);
    } while (a == b);
    CBrain* parent1 = brainAt(a);
    CBrain* parent2 = brainAt(b);
    child.assignAsCopy(*parent1);
    child.crossoverInPlace(*parent1, *parent2);
    child.setOrigin(BRAIN_CROSSED);
}

void CAlien_Population::addAlien(CAlien* alien)
{
    m_vAliensOnScreen.push_back(alien);
}

void CAlien_Population::removeAlien(int index)
{
    KA_ASSERT(index < (int)m_vAliensOnScreen.size());
    m_vAliensOnScreen.erase(m_vAliensOnScreen.begin() + index);
}

double CAlien_Population::getBestFitness() const
{
    return m_mmBrainPool.empty() ? 0.0 : m_mmBrainPool.begin()->first;
}

double CAlien_Population::getWorstFitness() const
{
    return m_mmBrainPool.empty() ? 0.0 : m_mmBrainPool.rbegin()->first;
}

bool CAlien_Population::save(const std::string& fileName) const
{
    std::cerr << "Saving... ";
    std::string error;
    if (isSavable(error))
    {
        std::ostringstream out;
        save(out);
        if (writeFileAtomically(fileName, out.str(), error))
        {
            std::cerr << "done." << std::endl;
            return true;
        }
    }
    std::cerr << "Cannot save " << fileName << ": " << error << std::endl;
    return false;
}

bool CAlien_Population::isSavable(std::string& reason) const
{
    int position = 0;
    for (const auto& entry : m_mmBrainPool)
    {
        ++position;
        std::string problem = fitnessProblem(entry.first);
        if (!problem.empty() || !entry.second->hasOnlyFiniteWeights(problem))
        {
            reason = "entry " + std::to_string(position) + ": " + problem;
            return false;
        }
    }
    return true;
}

void CAlien_Population::save(std::ostream& out) const
{
    out << m_mmBrainPool.size() << " ";
    for (const auto& entry : m_mmBrainPool)
    {
        out << entry.first << " ";
        entry.second->save(out);
    }
}

bool CAlien_Population::load(const std::string& fileName)
{
    std::cerr << "Loading... ";
    CRegularFileBuf file;
    std::istream in(&file);
    std::string error;
    const bool loaded = file.open(fileName) && readAndTakeOver(in, error);
    // When the file could not be opened or read, that is the cause, not what was read of it.
    return reportLoad(loaded, fileName, file.error().empty() ? error : file.error());
}

bool CAlien_Population::load(std::istream& in, const std::string& name)
{
    std::cerr << "Loading... ";
    std::string error = "the stream cannot be read";
    return reportLoad(in && readAndTakeOver(in, error), name, error);
}

// All or nothing: the pool and the aliens change only once the whole file has been read.
bool CAlien_Population::readAndTakeOver(std::istream& in, std::string& error)
{
    BrainPool pool;
    std::vector<CBrain*> alienBrains;
    const bool read = readPool(in, pool, alienBrains, error);
    if (read)
        takeOver(pool, alienBrains);
    deleteBrains(pool);
    deleteBrains(alienBrains);
    return read;
}

// Checks every entry; keeps the best Alien_NumberInPool of them as it goes, and copies of
// the first ones for the aliens. Each entry is read into one scratch brain and copied only
// where it stays, so the memory taken follows the pool, not the file.
bool CAlien_Population::readPool(std::istream& in, BrainPool& pool, std::vector<CBrain*>& alienBrains,
                                 std::string& error) const
{
    int count = 0;
    if (!(in >> count) || count < 0 || count > kMaxFileEntries)
    {
        error = "the entry count is missing or out of range";
        return false;
    }
    const int aliensServed = std::min<int>(m_iNumAliens, static_cast<int>(m_vAliensOnScreen.size()));
    CBrain scratch;
    for (int i = 0; i < count; ++i)
    {
        double fitness = 0.0;
        if (!readEntry(in, scratch, fitness, error))
        {
            error = "entry " + std::to_string(i + 1) + ": " + error;
            return false;
        }
        if (i < aliensServed)
            alienBrains.push_back(new CBrain(scratch));
        keepIfAmongTheBest(pool, scratch, fitness);
    }
    // The game writes a space after every value: a file that ends right after its last value
    // was cut there, and that value may have lost digits.
    if (!std::isspace(in.peek()))
    {
        error = "the file is cut short: its last value is not followed by a space";
        return false;
    }
    return true;
}

// One entry, its brain read into the given one; false, with the reason, when it is bad.
bool CAlien_Population::readEntry(std::istream& in, CBrain& brain, double& fitness, std::string& problem) const
{
    if (!(in >> fitness))
    {
        problem = "the fitness is missing or not a number";
        return false;
    }
    problem = fitnessProblem(fitness);
    if (!problem.empty() || !brain.load(in, problem))
        return false;
    if (m_vAliensOnScreen.empty())
        return true;
    const std::string misfits = misfit(brain, *m_vAliensOnScreen.front()->getBrain());
    if (misfits.empty())
        return true;
    problem = "its networks do not fit this population's aliens: " + misfits;
    return false;
}

// Takes the pool's brains and the aliens' new brains over, deleting the old ones.
void CAlien_Population::takeOver(BrainPool& pool, std::vector<CBrain*>& alienBrains)
{
    deleteBrains(m_mmBrainPool);
    m_mmBrainPool.swap(pool);
    for (size_t i = 0; i < alienBrains.size(); ++i)
    {
        CAlien* alien = m_vAliensOnScreen[i];
        delete alien->getBrain();
        alien->setBrain(alienBrains[i]);
    }
    alienBrains.clear();
}
