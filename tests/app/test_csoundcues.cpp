#include "app/csoundcues.h"

#include <gtest/gtest.h>

#include "app/csoundeffects.h"

namespace
{
struct SStretch
{
    const char* szWhat;
    int iGunShots, iRedShots, iHitsOnGun, iGreenKills, iRedCollisions;
    std::vector<int> viCues;
};

CWorldTally tallyOf(const SStretch& stretch, const CWorldTally& start)
{
    CWorldTally tally = start;
    for (int i = 0; i < stretch.iGunShots; ++i)
        tally.addGunShot();
    for (int i = 0; i < stretch.iRedShots; ++i)
        tally.addRedShot();
    for (int i = 0; i < stretch.iHitsOnGun; ++i)
        tally.addHitOnGun();
    for (int i = 0; i < stretch.iGreenKills; ++i)
        tally.addDeath(1, CAUSE_GUN_BULLET);
    for (int i = 0; i < stretch.iRedCollisions; ++i)
        tally.addDeath(0, CAUSE_COLLISION);
    return tally;
}
} // namespace

// A stretch of steps sounds each thing that happened in it once, however often it happened,
// in the kinds' order; any death is an explosion, whatever struck the ship.
TEST(CSoundCuesTest, EachKindThatHappenedSoundsOnceInTheKindsOrder)
{
    CWorldTally earlier;
    earlier.addGunShot();
    earlier.addDeath(0, CAUSE_EDGE);
    const SStretch stretches[] = {
        {"nothing happened", 0, 0, 0, 0, 0, {}},
        {"one gun shot", 1, 0, 0, 0, 0, {SOUND_GUN_SHOT}},
        {"a burst of everything", 5, 3, 2, 4, 0, {SOUND_GUN_SHOT, SOUND_RED_SHOT, SOUND_HIT_ON_GUN, SOUND_EXPLOSION}},
        {"a collision kills", 0, 0, 0, 0, 2, {SOUND_EXPLOSION}},
        {"a red shot hits the gun", 0, 1, 1, 0, 0, {SOUND_RED_SHOT, SOUND_HIT_ON_GUN}},
    };
    for (const SStretch& stretch : stretches)
        EXPECT_EQ(CSoundCues::between(earlier, tallyOf(stretch, earlier)), stretch.viCues) << stretch.szWhat;
    // A later tally against an earlier one the other way round: counts went down, nothing sounds.
    EXPECT_TRUE(CSoundCues::between(tallyOf(stretches[2], earlier), CWorldTally()).empty());
}
