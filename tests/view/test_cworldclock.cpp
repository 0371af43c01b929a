#include "view/cworldclock.h"

#include <gtest/gtest.h>

TEST(CWorldClockTest, WorldTimeIsTheSumOfTheSteps)
{
    CWorldClock clock;
    for (int i = 0; i < 30; ++i)
        clock.addStep(1000.0 / 30, i * 33.0);
    EXPECT_NEAR(clock.worldMs(), 1000.0, 1e-9);
}

TEST(CWorldClockTest, MultipleIsWorldTimeOverRealTimeOfTheLastSecond)
{
    CWorldClock clock;
    EXPECT_EQ(clock.multiple(0), 0.0);
    clock.addStep(33.3, 0);
    EXPECT_EQ(clock.multiple(0), 0.0); // one step gives no rate yet
    // A step every 2 ms of real time, each 33.3 ms of world time.
    for (int i = 1; i <= 1000; ++i)
        clock.addStep(33.3, 2.0 * i);
    EXPECT_NEAR(clock.multiple(2000), 16.65, 1e-6);
    // Back to one step per 33.3 ms: the old fast steps leave the window.
    for (int i = 1; i <= 60; ++i)
        clock.addStep(33.3, 2000 + 33.3 * i);
    EXPECT_NEAR(clock.multiple(2000 + 33.3 * 60), 1.0, 1e-6);
    // Nothing for more than a second: nothing left to measure.
    EXPECT_EQ(clock.multiple(10000), 0.0);
}

TEST(CWorldClockTest, KeepsABoundedNumberOfSteps)
{
    CWorldClock clock;
    for (int i = 0; i < 3 * CWorldClock::kMaxSamples; ++i)
        clock.addStep(1.0, 0.0); // all in the same real millisecond
    EXPECT_EQ(clock.worldMs(), 3.0 * CWorldClock::kMaxSamples);
    EXPECT_EQ(clock.multiple(0.0), 0.0); // no real time between them
}
