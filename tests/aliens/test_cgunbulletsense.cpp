#include "aliens/cgunbulletsense.h"

#include <memory>
#include <vector>

#include "aliens/calien_green.h"
#include "support/worldfixture.h"
#include "world/cbullet.h"

namespace
{
// The shipped sizes: an alien 32 x 24, bullets 4 x 12 at 0.6 px/ms, a horizon of 1000 ms
// (600 px of a bullet's flight) and bullets seen up to 4 x 32 = 128 px aside. The alien sits at
// (400, 300): its box runs from y = 288 to 312.
struct SBulletCase
{
    const char* szName;
    std::vector<SVector2D> vBullets; // in the gun's order
    int iCount;
    std::vector<double> vExpected;
};

const SBulletCase kCases[] = {
    {"NoBulletReadsNothingComing", {}, 1, {0, 1}},
    {"StraightBelow", {{400, 200}}, 1, {0, 82 / 0.6 / 1000}},
    {"HalfTheReachRight", {{464, 200}}, 1, {0.5, 82 / 0.6 / 1000}},
    {"HalfTheReachLeftAndNear", {{336, 250}}, 1, {-0.5, 32 / 0.6 / 1000}},
    {"AtTheReachIsNotSeen", {{528, 200}}, 1, {0, 1}},
    {"PastTheAlienIsNotSeen", {{400, 320}}, 1, {0, 1}},
    {"TouchingItReachesItNow", {{400, 317}}, 1, {0, 0}},
    {"BeyondTheHorizonIsNotSeen", {{400, -400}}, 1, {0, 1}},
    {"TheSoonestFirst", {{400, 100}, {432, 250}}, 2, {0.25, 32 / 0.6 / 1000, 0, 182 / 0.6 / 1000}},
    {"OneSeenIsTheSoonest", {{400, 100}, {432, 250}, {368, 200}}, 1, {0.25, 32 / 0.6 / 1000}},
    {"EqualTimesInTheGunsOrder", {{440, 200}, {360, 200}}, 2, {0.3125, 82 / 0.6 / 1000, -0.3125, 82 / 0.6 / 1000}},
    {"PlacesWithoutABulletReadNothing", {{400, 200}}, 3, {0, 82 / 0.6 / 1000, 0, 1, 0, 1}},
};

class CGunBulletSenseTest : public CWorldTest, public ::testing::WithParamInterface<SBulletCase>
{
protected:
    void TearDown() override
    {
        for (CBullet* bullet : m_vBullets)
            delete bullet;
        CWorldTest::TearDown();
    }

    std::vector<double> inputs(const std::vector<SVector2D>& bullets, int count)
    {
        for (const SVector2D& at : bullets)
            m_vBullets.push_back(new CBullet(at.x, at.y, 0));
        const CWorldView world(m_populations, nullptr, &m_vBullets);
        std::vector<double> seen{7.0}; // what was there before stays
        CGunBulletSense::append(rectAround(400, 300, CParams::Alien_Width, CParams::Alien_Height), 400, world,
                                count, seen);
        return seen;
    }

    PopulationList m_populations;
    std::vector<CBullet*> m_vBullets;
};

TEST_P(CGunBulletSenseTest, SeesTheNearestBulletsComingAtTheAlien)
{
    const SBulletCase& c = GetParam();
    const std::vector<double> seen = inputs(c.vBullets, c.iCount);
    ASSERT_EQ(seen.size(), 1 + c.vExpected.size());
    EXPECT_EQ(seen[0], 7.0);
    for (size_t k = 0; k < c.vExpected.size(); ++k)
        EXPECT_NEAR(seen[k + 1], c.vExpected[k], 1e-12) << "input " << k;
}

INSTANTIATE_TEST_SUITE_P(Cases, CGunBulletSenseTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SBulletCase>& info) { return info.param.szName; });

class CGunBulletInputsTest : public CWorldTest
{
};

// With the gun's bullets seen, the movement network takes them after the gun's distances and
// the sensors; a view without the gun's bullets sees none.
TEST_F(CGunBulletInputsTest, TheMovementNetworkTakesThemAfterTheSensors)
{
    CParams::Alien_NN_Movement_GunBullets = 1;
    CParams::Alien_NN_Movement_NumInputs = CAlien::movementInputCount(true, 1);
    ASSERT_EQ(CParams::Alien_NN_Movement_NumInputs, 8);
    CAlien_Green alien(400, 300, CParams::Alien_Mass);
    alien.reset();
    std::vector<CBullet*> bullets{new CBullet(464, 200, 0)};
    const PopulationList none;
    alien.decideAction(SVector2D(100, 60), CWorldView(none, nullptr, &bullets));
    const std::vector<double> seen = alien.getMovementInputs();
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[0], 300.0);
    EXPECT_EQ(seen[6], 0.5);
    EXPECT_NEAR(seen[7], 82 / 0.6 / 1000, 1e-12);
    alien.decideAction(SVector2D(100, 60), none);
    EXPECT_EQ(alien.getMovementInputs()[6], 0.0);
    EXPECT_EQ(alien.getMovementInputs()[7], 1.0);
    delete bullets[0];
}
} // namespace
