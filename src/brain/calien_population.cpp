#include "brain/calien_population.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "aliens/calien.h"
#include "app/cparams.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "world/cgamecontroller.h"
#include "world/kassert.h"
#include "world/safefile.h"
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

bool sameShape(const CNeuralNet& a, const CNeuralNet& b)
{
    return a.getNumInputs() == b.getNumInputs() && a.getNumOutputs() == b.getNumOutputs() &&
           a.getNumHiddenLayers() == b.getNumHiddenLayers() &&
           a.getNeuronsPerHiddenLayer() == b.getNeuronsPerHiddenLayer();
}
} // namespace

CAlien_Population::CAlien_Population() : CAlien_Population(nullptr, 0, 0) {}

CAlien_Population::CAlien_Population(CGameController* pGameController, int numAliens, int poolCapacity)
    : m_iNumAliens(numAliens), m_iPoolCapacity(poolCapacity), m_iNumDead(0), m_pGameController(pGameController),
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
    if (!isPoolFull())
    {
        m_mmBrainPool.insert({fitness, new CBrain(*brain)});
        return;
    }
    // A newcomer that only equals the worst is turned away.
    const auto last = std::prev(m_mmBrainPool.end());
    if (fitness > last->first)
    {
        delete last->second;
        m_mmBrainPool.erase(last);
        m_mmBrainPool.insert({fitness, new CBrain(*brain)});
    }
}

bool CAlien_Population::isPoolFull() const
{
    return (int)m_mmBrainPool.size() >= CParams::Alien_NumberInPool;
}

CBrain* CAlien_Population::getNewBrain()
{
    KA_ASSERT(m_bInitialized);
    KA_ASSERT((int)m_mmBrainPool.size() == CParams::Alien_NumberInPool);
    if (RandFloat() < CParams::Alien_CrossoverRate)
    {
        // Two different parents need at least two positions to draw from.
        const int top = bestRange();
        if (top >= 1)
            return breedBrain(top);
    }
    return cloneBrain();
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

CBrain* CAlien_Population::cloneBrain()
{
    const int top = RandFloat() < CParams::Alien_ProbCloneFromBest ? bestRange()
                                                                    : static_cast<int>(m_mmBrainPool.size()) - 1;
    return new CBrain(*brainAt(RandInt(0, top)));
}

CBrain* CAlien_Population::breedBrain(int top)
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
    CBrain* child = new CBrain(*parent1);
    child->crossover(parent1, parent2);
    return child;
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
    std::ostringstream out;
    save(out);
    std::string error;
    if (!writeFileAtomically(fileName, out.str(), error))
    {
        std::cerr << "Cannot save " << fileName << ": " << error << std::endl;
        return false;
    }
    std::cerr << "done." << std::endl;
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
    std::ifstream in(fileName);
    return load(in, fileName);
}

bool CAlien_Population::load(std::istream& in, const std::string& name)
{
    std::cerr << "Loading... ";
    std::string error = "the file cannot be opened";
    BrainPool pool;
    if (!in || !readPool(in, pool, error))
    {
        deleteBrains(pool);
        std::cerr << "Cannot load " << name << ": " << error << std::endl;
        return false;
    }
    replacePool(pool);
    std::cerr << "done." << std::endl;
    return true;
}

// Reads every entry into the given pool, checking each; keeps the best Alien_NumberInPool.
bool CAlien_Population::readPool(std::istream& in, BrainPool& pool, std::string& error) const
{
    int count = 0;
    if (!(in >> count) || count < 0 || count > kMaxFileEntries)
    {
        error = "the entry count is missing or out of range";
        return false;
    }
    for (int i = 0; i < count; ++i)
    {
        const std::string entry = "entry " + std::to_string(i + 1) + ": ";
        double fitness = 0.0;
        if (!(in >> fitness) || !std::isfinite(fitness))
        {
            error = entry + "the fitness is missing or not a number";
            return false;
        }
        CBrain* brain = new CBrain();
        std::string brainError;
        if (!brain->load(in, brainError) || !matchesAlienShape(*brain))
        {
            error = entry + (brainError.empty() ? "its networks do not fit this population's aliens" : brainError);
            delete brain;
            return false;
        }
        pool.insert({fitness, brain});
    }
    while ((int)pool.size() > CParams::Alien_NumberInPool)
    {
        const auto last = std::prev(pool.end());
        delete last->second;
        pool.erase(last);
    }
    return true;
}

bool CAlien_Population::matchesAlienShape(const CBrain& brain) const
{
    if (m_vAliensOnScreen.empty())
        return true;
    const CBrain& model = *m_vAliensOnScreen.front()->getBrain();
    if (brain.getNumberOfNN() != model.getNumberOfNN())
        return false;
    for (int i = 0; i < brain.getNumberOfNN(); ++i)
        if (!sameShape(*brain.getNN(i), *model.getNN(i)))
            return false;
    return true;
}

// Takes the pool's brains over, deleting the old ones; alien i gets a copy of entry i.
void CAlien_Population::replacePool(BrainPool& pool)
{
    deleteBrains(m_mmBrainPool);
    m_mmBrainPool.swap(pool);
    const int numAliens = std::min<int>(m_iNumAliens, static_cast<int>(m_vAliensOnScreen.size()));
    int i = 0;
    for (auto it = m_mmBrainPool.begin(); it != m_mmBrainPool.end() && i < numAliens; ++it, ++i)
    {
        CAlien* alien = m_vAliensOnScreen[i];
        delete alien->getBrain();
        alien->setBrain(new CBrain(*it->second));
    }
}
