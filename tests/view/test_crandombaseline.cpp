#include "view/crandombaseline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "support/worldfixture.h"
#include "support/worldsnapshot.h"

namespace
{
class CRandomBaselineTest : public CWorldTest
{
protected:
    // A seeded world's course over some steps.
    static std::vector<double> seededRun()
    {
        CGameController world;
        world.setSeed(7);
        world.init();
        for (int step = 0; step < 300; ++step)
            world.update(1000.0 / CParams::Game_FramesPerSecond);
        return worldSnapshot(world);
    }
};
} // namespace

TEST_F(CRandomBaselineTest, IsTheSameEachTimeAndLeavesASeededWorldAsItWas)
{
    const std::vector<double> without = seededRun();
    const CRandomBaseline::SMeans first = CRandomBaseline::measure(true);
    const std::vector<double> with = seededRun();
    EXPECT_EQ(with, without);
    const CRandomBaseline::SMeans again = CRandomBaseline::measure(true);
    EXPECT_EQ(first.dRed, again.dRed);
    EXPECT_EQ(first.dGreen, again.dGreen);
    // Random green brains live a few dozen steps in the shipped world; red scores are small.
    EXPECT_GT(first.dGreen, 5);
    EXPECT_LT(first.dGreen, 200);
    EXPECT_GT(first.dRed, 0.5);
    EXPECT_LT(first.dRed, 50);
}

TEST_F(CRandomBaselineTest, ItsWorkIsBoundedWhateverTheParameters)
{
    EXPECT_EQ(CRandomBaseline::steps(), static_cast<long long>(CRandomBaseline::kGameMinutes * 60 *
                                                               CParams::Game_FramesPerSecond));
    CParams::Alien_NumberOfGreen = 10000;
    CParams::Alien_NumberOfRed = 10000;
    EXPECT_EQ(CRandomBaseline::steps(), CRandomBaseline::kAlienSteps / 20000);
    CParams::Alien_NumberOfGreen = CParams::Alien_NumberOfRed = 0;
    EXPECT_GE(CRandomBaseline::steps(), 1);
    EXPECT_TRUE(std::isnan(CRandomBaseline::measure(false).dGreen)) << "no aliens, nobody died";
}
