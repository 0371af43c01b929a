#include "app/csteppacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{
struct SCall
{
    double dNowMs;
    int iSteps;
};

struct SPaceCase
{
    const char* szWhat;
    double dStepMs;
    int iMaxSteps;
    std::vector<SCall> vCalls; // after start(0)
};

TEST(CStepPacerTest, StepsFallDueWithRealTimeAndAreHandedOutOnce)
{
    const std::vector<SPaceCase> cases = {
        {"fast mode, a call every millisecond or so", 1.0, 40, {{0.5, 0}, {1.0, 1}, {1.9, 0}, {3.1, 2}, {3.1, 0}, {4.0, 1}}},
        {"fast mode, a timer late after a redraw", 1.0, 40, {{5.6, 5}, {6.2, 1}, {11.0, 5}}},
        {"exactly the cap is owed in full", 1.0, 40, {{40.0, 40}, {41.0, 1}}},
        {"a late call gets the cap, the rest is forgotten", 1.0, 40, {{100.0, 40}, {100.5, 0}, {101.0, 1}}},
        {"normal speed in a browser's 60 frames a second", 1000.0 / 30, 3,
         {{16.7, 0}, {33.4, 1}, {50.1, 0}, {66.8, 1}, {83.5, 0}, {100.2, 1}}},
    };
    for (const SPaceCase& c : cases)
    {
        CStepPacer pacer(c.dStepMs, c.iMaxSteps);
        pacer.start(0.0);
        for (const SCall& call : c.vCalls)
            EXPECT_EQ(pacer.stepsDue(call.dNowMs), call.iSteps) << c.szWhat << ", at " << call.dNowMs << " ms";
    }
}

TEST(CStepPacerTest, NothingIsDueBeforeStartNorFromBeforeARestart)
{
    CStepPacer pacer(1.0, 40);
    EXPECT_EQ(pacer.stepsDue(1e9), 0);
    pacer.start(1e9);
    EXPECT_EQ(pacer.stepsDue(1e9 + 10), 10);
    pacer.start(1e9 + 5000); // a pause of normal speed between two fast runs
    EXPECT_EQ(pacer.stepsDue(1e9 + 5000.5), 0);
    EXPECT_EQ(pacer.stepsDue(1e9 + 5003), 3);
}

// Calls at random times, never further apart than the cap covers: every millisecond gives
// exactly one step, however the calls fell.
TEST(CStepPacerTest, OverALongRunTheStepsMatchTheRealTime)
{
    std::srand(7);
    CStepPacer pacer(1.0, 40);
    const double begin = 123456.789;
    pacer.start(begin);
    double now = begin;
    long long steps = 0;
    while (now < begin + 60000)
    {
        now += 39.0 * std::rand() / RAND_MAX;
        steps += pacer.stepsDue(now);
    }
    EXPECT_EQ(steps, static_cast<long long>(std::floor(now - begin)));
}

TEST(CStepPacerTest, RedrawsComeAtMostOncePerGap)
{
    CStepPacer pacer(1.0, 40);
    const std::vector<std::pair<double, bool>> frameRate = {{1000.0, true},   {1010.0, false}, {1033.0, false},
                                                            {1033.4, true},   {1066.0, false}, {1100.0, true}};
    for (const auto& [now, due] : frameRate)
        EXPECT_EQ(pacer.redrawDue(now, 1000.0 / 30), due) << "at " << now << " ms";
    // A blank screen's line: once a second, whatever asks in between.
    int redraws = 0;
    for (double now = 1101.0; now < 4101.0; now += 1.0)
        redraws += pacer.redrawDue(now, 1000.0);
    EXPECT_EQ(redraws, 3);
}
} // namespace
