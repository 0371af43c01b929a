#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "brain/cpoolfade.h"

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
    // How the pool's fitness fades with game time (CPoolFade); never, until set.
    void setFade(const CPoolFade& fade) { m_fade = fade; }
    // Game time for the fading; the world calls it every step.
    void passTime(double ms) { m_fade.passTime(ms); }
    // Keeps a copy of the brain when it beats the pool's worst, as the pool's fitness has
    // faded by now; the caller keeps its brain.
    void addToPool(CBrain* brain, double fitness);
    bool isPoolFull() const;
    // Makes the brain, which has the pool brains' shapes and is not one of them, a clone of
    // one pool brain or the crossover of two, in its own memory: with the random draws of
    // copying a pool brain, so that a seed replays the same breeding.
    void breedInto(CBrain& child) const;

    const std::vector<CAlien*>& getAliens() const { return m_vAliensOnScreen; }
    void addAlien(CAlien* alien);
    void removeAlien(int index);
    int getNumDead() const { return m_iNumDead; }
    void setNumDead(int numDead) { m_iNumDead = numDead; }
    // Every brain offered since the population was made, and the sum of their fitness:
    // never reset, so that readers can take differences over any stretch of the run.
    long long getTotalOffered() const { return m_llTotalOffered; }
    double getTotalFitnessOffered() const { return m_dTotalFitnessOffered; }
    // The brains the pool took in since the population was made, never reset.
    long long getTotalJoined() const { return m_llTotalJoined; }
    // The fitness a newcomer must beat to join now, the pool's worst; NaN while it fills, when
    // any joins.
    double getEntryBar() const;
    double getBestFitness() const;
    double getWorstFitness() const;
    const BrainPool& getPool() const { return m_mmBrainPool; }
    bool isInitialized() const { return m_bInitialized; }

    // Fitness values larger than this in size are refused by the loader, and so by the save:
    // the graphs and statistics scale to every value below it, and no game comes near it.
    static constexpr double MaxFitness = 1e300;

    // Both report to the standard error stream; a failed save keeps the old file and a
    // failed load keeps the pool and the aliens as they were. The save writes only a pool
    // the loader accepts. The loader reads only a regular file, never blocking on it, and
    // streams it: however many entries the file holds, it keeps no more brains than the
    // pool and the aliens take. Alien i gets a copy of the file's i-th entry.
    bool save(const std::string& fileName) const;
    bool load(const std::string& fileName);
    // False, with the reason, when the pool holds what the loader would refuse: a weight
    // or a fitness that is not a finite number, or a fitness larger than MaxFitness in size.
    bool isSavable(std::string& reason) const;
    // The pool file's contents: the entry count, then each entry's fitness and brain record.
    void save(std::ostream& out) const;
    // Reads a pool file's contents from the stream; name stands for it in the messages.
    bool load(std::istream& in, const std::string& name);

private:
    CBrain* brainAt(int position) const;
    void cloneInto(CBrain& child) const;
    void crossInto(CBrain& child, int top) const;
    int bestRange() const;
    bool readAndTakeOver(std::istream& in, std::string& error);
    bool readPool(std::istream& in, BrainPool& pool, std::vector<CBrain*>& alienBrains, std::string& error) const;
    bool readEntry(std::istream& in, CBrain& brain, double& fitness, std::string& problem) const;
    void takeOver(BrainPool& pool, std::vector<CBrain*>& alienBrains);
    void fade(double factor);

    int m_iNumAliens;
    // The size asked for at construction; the pool is kept to CParams::Alien_NumberInPool,
    // which a loaded params.ini may since have changed.
    [[maybe_unused]] int m_iPoolCapacity;
    int m_iNumDead; // brains offered since the statistics last looked
    long long m_llTotalOffered;
    double m_dTotalFitnessOffered;
    long long m_llTotalJoined = 0;
    CPoolFade m_fade;
    BrainPool m_mmBrainPool; // owns its brains
    std::vector<CAlien*> m_vAliensOnScreen; // not owned: the controller deletes the aliens
    CGameController* m_pGameController;
    bool m_bInitialized;
};
