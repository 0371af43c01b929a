#include "app/cgamestatistics.h"

#include <fstream>
#include <sstream>

#include "app/cstatsfile.h"
#include "brain/calien_population.h"
#include "support/scratchfolder.h"
#include "support/worldfixture.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
class CGameStatisticsTest : public CWorldTest
{
};

std::vector<std::vector<double>> dataLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::vector<double>> lines;
    for (std::string line; std::getline(in, line) && !line.empty();)
    {
        std::istringstream fields(line);
        lines.emplace_back();
        for (double value = 0; fields >> value;)
            lines.back().push_back(value);
    }
    return lines;
}

// In fast mode the world runs 33 times as fast as the clock on the wall, and the statistics'
// timers ran by the wall: a "30 s" line held 16 game minutes of deaths. Now a game minute of
// steps, however fast they come, gives the lines at 0.5 and 1 minutes, each with the red dead
// of the last second of game time, and a pause (no step) gives none.
TEST_F(CGameStatisticsTest, StatisticsPeriodsByRealTimeInFastModeIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    std::ostringstream log;
    CStatsFile file(log);
    ASSERT_TRUE(file.create(folder / "stats.txt"));
    CGameController world;
    world.setSeed(12);
    world.init();
    world.getGun()->setAutoMode(true);
    world.getGun()->toggleFiring();
    CAlien_Population& reds = *world.getPopulations()[0];
    CGameStatistics statistics;
    statistics.reset();
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    int lines = 0;
    long long deadAtLastSample = 0;
    for (int step = 1; step <= 60 * CParams::Game_FramesPerSecond + 5; ++step)
    {
        world.update(dt);
        const long long deadBefore = reds.getTotalOffered() - reds.getNumDead();
        lines += statistics.afterStep(dt, reds, file);
        if (reds.getNumDead() == 0 && reds.getTotalOffered() > deadBefore) // sampled in this step
        {
            EXPECT_EQ(statistics.deadInPeriod(), reds.getTotalOffered() - deadAtLastSample);
            deadAtLastSample = reds.getTotalOffered();
        }
        for (int paused = 0; paused < 3; ++paused)
            lines += statistics.afterStep(0, reds, file);
    }
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(statistics.totalDead(), deadAtLastSample);
    EXPECT_GT(statistics.totalDead(), 100);
    const auto written = dataLines(folder / "stats.txt");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0][0], 0.5);
    EXPECT_EQ(written[1][0], 1.0);
    EXPECT_NEAR(written[1][2], reds.getBestFitness(), 1e-4 * reds.getBestFitness());
}

// A step longer than several periods ends them at once: one sample, one line, the minutes of
// the last period it ended.
TEST_F(CGameStatisticsTest, ALongStepEndsItsPeriodsInOneLine)
{
    CScratchFolder folder;
    std::ostringstream log;
    CStatsFile file(log);
    ASSERT_TRUE(file.create(folder / "stats.txt"));
    CAlien_Population reds;
    CGameStatistics statistics;
    statistics.reset();
    EXPECT_FALSE(statistics.afterStep(29999, reds, file));
    EXPECT_TRUE(statistics.afterStep(70001, reds, file));
    EXPECT_FALSE(statistics.afterStep(0, reds, file));
    EXPECT_EQ(dataLines(folder / "stats.txt").at(0).at(0), 1.5);
}
} // namespace
