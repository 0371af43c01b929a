#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

class CAlien;
class CBrain;
class CGameController;

// One group of aliens of one kind and its evolutionary memory: the brain pool, copies of
// the brains of dead aliens ordered best first, from which reborn aliens are bred.
class CAlien_Population
{
public:
    // Best first; among equal fitness the oldest entry first.
    using BrainPool = std::multimap<double, CBrain*, std::greater<double>>;

    CAlien_Population();
    CAlien_Population(CGameController* pGameController, int numAliens, int poolCapacity);
    ~CAlien_Population(); // deletes the pool's brains, not the aliens
    CAlien_Population(const CAlien_Population&) = delete;
    CAlien_Population& operator=(const CAlien_Population&) = delete;

    // Resets each alien, places it at a free place and takes it into the list.
    void initialize(std::vector<CAlien*> aliens);
    // Keeps a copy of the brain when it is among the best; the caller keeps its brain.
    void addToPool(CBrain* brain, double fitness);
    bool isPoolFull() const;
    // A clone of one pool brain or the crossover of two; the caller owns it.
    CBrain* getNewBrain();

    const std::vector<CAlien*>& getAliens() const { return m_vAliensOnScreen; }
    void addAlien(CAlien* alien);
    void removeAlien(int index);
    int getNumDead() const { return m_iNumDead; }
    void setNumDead(int numDead) { m_iNumDead = numDead; }
    double getBestFitness() const;
    double getWorstFitness() const;
    const BrainPool& getPool() const { return m_mmBrainPool; }
    bool isInitialized() const { return m_bInitialized; }

    // Both report to the standard error stream; a failed save keeps the old file and a
    // failed load keeps the pool and the aliens as they were.
    bool save(const std::string& fileName) const;
    bool load(const std::string& fileName);
    // The pool file's contents: the entry count, then each entry's fitness and brain record.
    void save(std::ostream& out) const;
    // Reads a pool file's contents from the stream; name stands for it in the messages.
    bool load(std::istream& in, const std::string& name);

private:
    CBrain* brainAt(int position) const;
    CBrain* cloneBrain();
    CBrain* breedBrain(int top);
    int bestRange() const;
    bool readPool(std::istream& in, BrainPool& pool, std::string& error) const;
    bool matchesAlienShape(const CBrain& brain) const;
    void replacePool(BrainPool& pool);

    int m_iNumAliens;
    int m_iPoolCapacity;
    int m_iNumDead; // brains offered since the statistics last looked
    BrainPool m_mmBrainPool; // owns its brains
    std::vector<CAlien*> m_vAliensOnScreen; // not owned: the controller deletes the aliens
    CGameController* m_pGameController;
    bool m_bInitialized;
};
