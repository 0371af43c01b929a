#pragma once

#include <vector>

#include "world/crandom.h"
#include "world/cworldindex.h"
#include "world/cworldtally.h"
#include "world/cworldview.h"
#include "world/utils.h"

class CAlien;
class CAlien_Green_Trainee;
class CAlien_Population;
class CGun;

// Game modes.
constexpr int MODE_TRAINEE_PLAYS = 0;
constexpr int MODE_PLAYER = 1;
constexpr int MODE_TRAINING = 2;

// The game world: the three populations (0 red, 1 green, 2 an empty third), the gun and,
// in training mode, the trainee. After init, each update(dt) is one world step; nothing
// here draws, so the world runs the same with or without a window.
class CGameController
{
public:
    CGameController();
    virtual ~CGameController(); // deletes the aliens, the populations, the trainee and the gun
    CGameController(const CGameController&) = delete;
    CGameController& operator=(const CGameController&) = delete;

    // Makes init seed the world's random sequence with this value instead of the clock.
    void setSeed(unsigned seed);
    // The seed init used, given or taken from the clock.
    unsigned getSeed() const { return m_uSeed; }
    // Off: every reborn alien gets random weights, never a brain bred from the pool (the
    // pools still record the dead), the baseline that learning is measured against.
    void setEvolution(bool on) { m_bEvolution = on; }
    // On: every question of the world step walks every alien and bullet, as the game's
    // rules are written; off (the default): the spatial index answers, with the same
    // results. For comparing the two.
    void setReferenceQueries(bool on) { m_bReferenceQueries = on; }
    // Set: each step's gun takes the leader's last update (CGun::follow) instead of moving
    // and firing by itself. The leader stays the caller's.
    void setGunLeader(const CGun* leader) { m_pGunLeader = leader; }
    // On: the world keeps its warnings to itself (a world beside another of the same values).
    void setQuiet(bool on) { m_bQuiet = on; }
    // Builds the world; again, a new world in place of the old one (of a new seed from the
    // clock unless one was set).
    void init();
    void update(double dt);
    void setKeyEvent(int keyEvent);

    std::vector<CAlien_Population*> getPopulations() const;
    CGun* getGun() const { return m_pGun; }
    CAlien_Green_Trainee* getTrainee() const { return m_pTrainee; }
    int getMode() const { return m_iMode; }
    void setMode(int mode) { m_iMode = mode; }
    // What the world steps since init struck down, and the red bullets that hit the gun.
    const CWorldTally& getTally() const { return m_tally; }

    // Does the box touch an alien, a bullet or the trainee? The first hit ends the search.
    bool isColliding(SRect box, bool removeHit, int excludeId, int hitterType);
    bool isOutsideAlienZone(SRect box) const;
    // A random centre in the band at which a box of this size touches nothing: no alien on
    // screen (whatever its state but dead), no bullet, not the trainee. A search takes at
    // most MaxTriesPerSearch tries, and the searches of a world step (or of init) share
    // MaxTriesPerSearch tries plus TriesPerPlace for each place: once a search runs out,
    // the box goes where its last try fell, over whatever is there, and the run says so
    // once. However crowded the band and however many aliens are reborn in it, a step's
    // searches cost at most MaxTriesPerSearch + TriesPerPlace tries a place, while a roomy
    // band, where a place takes one or two tries, never runs out.
    SVector2D getRandomFreePosition(double width, double height);
    static constexpr int MaxTriesPerSearch = 1000;
    static constexpr int TriesPerPlace = 4;
    void spawnChild(CAlien* parent, CAlien_Population* population);

private:
    void clear();
    void createTrainee();
    void setPoolFading();
    void startSearches() { m_llTriesLeft = MaxTriesPerSearch; }
    void updateGun(double dt);
    CWorldView worldView() const;
    SVector2D freePosition(double width, double height, int excludeId);
    bool isFreePlace(SRect box, int excludeId);
    void prepareQueries();
    int collisionCause(SRect box, bool removeHit, int excludeId, int hitterType);
    int deathCause(const CAlien& alien);
    void updatePopulation(int populationIndex, double dt);
    void updateAlien(int populationIndex, int index, SVector2D gunPos, double dt);
    void reportMove(int populationIndex, int index);
    void recycle(CAlien* alien, CAlien_Population* population);
    void offerToPool(CAlien* alien, CAlien_Population* population);
    void updateTrainee(double dt);
    void giveBrain(CAlien* alien, const CAlien_Population* poolOwner, CAlien_Population* breeder);
    bool hasRoomFor(const CAlien_Population* population) const;
    void warnIfCrowded() const;
    bool hitsAlien(SRect box, int excludeId) const;
    bool hitsGunBullet(SRect box, bool removeHit);
    bool hitsRedBullet(SRect box, bool removeHit, int hitterType);
    int firstGunBulletOnTheWalk(SRect box) const;
    bool firstRedBulletOnTheWalk(SRect box, int& alien, int& bullet) const;

    bool m_bInitialized;
    int m_iMode;
    std::vector<CAlien_Population*> m_vPopulations; // owned, with the aliens in them
    CGun* m_pGun;                                   // owned
    CAlien_Green_Trainee* m_pTrainee;               // owned; null outside training modes
    bool m_bEvolution;
    bool m_bReferenceQueries = false;
    const CGun* m_pGunLeader = nullptr; // not owned
    bool m_bQuiet = false;
    CWorldIndex m_index;        // where every alien and bullet is; points into the world
    bool m_bIndexCurrent = false; // the world changes only through this controller (init, a step)
    long long m_llTriesLeft; // to this world step's searches for a free place
    bool m_bToldNoFreePlace;
    CWorldTally m_tally;     // counted for display and measurement; the world never reads it
    bool m_bSeeded;      // init uses m_uSeed rather than the clock
    unsigned m_uSeed;
    // Every draw of this world: init, the steps and the public calls that draw put it in use.
    CRandom m_random;
    CRandom m_recordRandom; // the draws of a pool kept for the record alone (evolution off)
};
