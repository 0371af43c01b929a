#include "view/clearninggraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "view/cdeathsinperiod.h"
#include "view/cfitnessgraph.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "support/worldfixture.h"

namespace
{
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

class CDeathsInPeriodTest : public CWorldTest
{
protected:
    void TearDown() override
    {
        for (CBrain* brain : m_vBrains)
            delete brain;
        CWorldTest::TearDown();
    }

    // One alien of the population dies with this fitness: its brain is offered to the pool.
    void die(double fitness)
    {
        m_vBrains.push_back(new CBrain({new CNeuralNet(2, 2, 1, 3)}));
        m_population.addToPool(m_vBrains.back(), fitness);
    }

    CAlien_Population m_population{nullptr, 0, 3};
    CDeathsInPeriod m_deaths;
    std::vector<CBrain*> m_vBrains;
};

TEST_F(CDeathsInPeriodTest, EachPeriodCountsItsOwnDeathsAndTheirMeanFitness)
{
    die(10);
    die(20);
    die(60);
    CDeathsInPeriod::SPeriod period = m_deaths.take(m_population);
    EXPECT_EQ(period.llDeaths, 3);
    EXPECT_DOUBLE_EQ(period.dMeanFitness, 30);
    // The best of the pool, kept from the first period, is no part of the second's mean.
    die(5);
    period = m_deaths.take(m_population);
    EXPECT_EQ(period.llDeaths, 1);
    EXPECT_DOUBLE_EQ(period.dMeanFitness, 5);
}

TEST_F(CDeathsInPeriodTest, APeriodWithoutDeathsHasNoMeanAndTheNextStartsAfterIt)
{
    CDeathsInPeriod::SPeriod period = m_deaths.take(m_population);
    EXPECT_EQ(period.llDeaths, 0);
    EXPECT_TRUE(std::isnan(period.dMeanFitness));
    die(8);
    die(4);
    m_deaths.take(m_population);
    period = m_deaths.take(m_population);
    EXPECT_EQ(period.llDeaths, 0);
    EXPECT_TRUE(std::isnan(period.dMeanFitness));
}

TEST_F(CDeathsInPeriodTest, TheStatisticsResetOfTheDeadCountLeavesThePeriodWhole)
{
    die(4);
    m_population.setNumDead(0);
    die(6);
    const CDeathsInPeriod::SPeriod period = m_deaths.take(m_population);
    EXPECT_EQ(period.llDeaths, 2);
    EXPECT_DOUBLE_EQ(period.dMeanFitness, 5);
}

const CFitnessGraph::SSeries& curve(const CLearningGraph& graph, int population, int run = 0)
{
    return graph.panel(population).getSeries().at(run);
}

TEST(CLearningGraphTest, EachPanelDrawsTheDyingsMeanOverTheLastGameMinute)
{
    CLearningGraph graph;
    const int run = graph.addRun("", 0xFF0000, 0x00FF00, true);
    EXPECT_EQ(curve(graph, CLearningGraph::Red).dLineWidth, CFitnessGraph::ThickLine);
    EXPECT_EQ(curve(graph, CLearningGraph::Green).uColour, 0x00FF00u);
    // Periods of half a minute: the mean is weighted by the deaths, and a period leaves the
    // window a minute after it ended.
    graph.addPeriod(run, 0.5, {1, 10, 99}, {2, 100, 999});
    graph.addPeriod(run, 1.0, {3, 2, 99}, {0, kNone, 999});  // no green died
    graph.addPeriod(run, 1.0, {9, 9, 9}, {9, 9, 9});         // paused: no time passed, nothing added
    graph.addPeriod(run, 1.5, {0, kNone, 99}, {0, kNone, 999}); // the first period has left the window
    graph.addPeriod(run, 2.5, {0, kNone, 99}, {0, kNone, 999}); // nobody died in the last minute
    const auto& red = curve(graph, CLearningGraph::Red).vPoints;
    ASSERT_EQ(red.size(), 3u);
    EXPECT_DOUBLE_EQ(red[0].y, 10);
    EXPECT_DOUBLE_EQ(red[1].y, (10 + 3 * 2) / 4.0);
    EXPECT_DOUBLE_EQ(red[2].y, 2);
    EXPECT_EQ(red[2].x, 1.5);
    const auto& green = curve(graph, CLearningGraph::Green).vPoints;
    ASSERT_EQ(green.size(), 2u) << "the window still holds the first period's deaths at 1.0";
    EXPECT_DOUBLE_EQ(green[1].y, 100);
    EXPECT_NE(graph.panel(CLearningGraph::Red).title(), graph.panel(CLearningGraph::Green).title());
    EXPECT_EQ(graph.panel(CLearningGraph::Green).yName(), "mean steps alive");
}

// The random brains' run is a dashed curve of the same rolling mean, and each run's note is its
// newest mean over the random brains' newest, rewritten as either moves.
TEST(CLearningGraphTest, RandomBrainsAreADashedCurveAndEachRunSaysItsRatioToIt)
{
    CLearningGraph graph;
    const int run = graph.addRun("", 0xFF0000, 0x00FF00, true);
    graph.addPeriod(run, 0.5, {2, 6.8, 50}, {4, 51, 400});
    EXPECT_EQ(curve(graph, CLearningGraph::Red).sNote, "") << "no random brains yet";
    const int random = graph.addBaseline();
    const CFitnessGraph::SSeries& dashed = curve(graph, CLearningGraph::Green, random);
    EXPECT_TRUE(dashed.bDashed);
    EXPECT_EQ(dashed.sName, CLearningGraph::BaselineName);
    EXPECT_FALSE(curve(graph, CLearningGraph::Green, run).bDashed);
    graph.addPeriod(random, 0.5, {4, 2.0, 5}, {2, 15, 40});
    EXPECT_EQ(curve(graph, CLearningGraph::Red).sNote, "\xD7" "3.4 random brains");
    EXPECT_EQ(curve(graph, CLearningGraph::Green).sNote, "\xD7" "3.4 random brains");
    EXPECT_EQ(dashed.sNote, "") << "random brains have no ratio to themselves";
    graph.addPeriod(run, 1.0, {2, 6.8, 50}, {4, 1449, 2000});
    EXPECT_EQ(curve(graph, CLearningGraph::Green).sNote, "\xD7" "50 random brains") << "(4 * 51 + 4 * 1449) / 8 / 15";
    graph.addPeriod(random, 1.0, {0, kNone, 5}, {6, 25, 40}); // the window: (2 * 15 + 6 * 25) / 8
    EXPECT_EQ(curve(graph, CLearningGraph::Green).sNote, "\xD7" "33 random brains") << "750 / 22.5";
    EXPECT_EQ(dashed.vPoints.back().y, 22.5);
    EXPECT_EQ(curve(graph, CLearningGraph::Red).sNote, "\xD7" "3.4 random brains") << "red's newest stays 2";
}

// The player's panel: each run's red hits on the gun and the gun's kills a game minute over
// the last game minute (over the time the run has lasted while it is younger), random brains'
// dashed, each run's newest over random brains' newest beside it; a period that does not tell
// the player's side adds no point.
TEST(CLearningGraphTest, ThePlayersPanelShowsHitsOnTheGunAndKillsAMinuteAgainstRandomBrains)
{
    CLearningGraph graph;
    const int run = graph.addRun("", 0xFF0000, 0x00FF00, true);
    const int random = graph.addBaseline();
    const CFitnessGraph& panel = graph.panel(CLearningGraph::Player);
    ASSERT_EQ(panel.getSeries().size(), 4u);
    const CFitnessGraph::SSeries& hits = panel.getSeries()[0];
    const CFitnessGraph::SSeries& kills = panel.getSeries()[1];
    EXPECT_EQ(hits.sName, "red hits on the gun");
    EXPECT_EQ(kills.sName, "the gun's kills");
    EXPECT_TRUE(panel.getSeries()[2].bDashed);
    EXPECT_EQ(panel.getSeries()[3].sName, CLearningGraph::BaselineName);
    const CLearningGraph::SPeriod none{0, kNone, 0};
    graph.addPeriod(run, 0.5, none, none, {3, 10});
    graph.addPeriod(random, 0.5, none, none, {2, 10});
    EXPECT_DOUBLE_EQ(hits.vPoints.back().y, 6) << "3 in the half minute so far";
    EXPECT_EQ(hits.sNote, "\xD7" "1.5 random brains");
    EXPECT_EQ(kills.sNote, "\xD7" "1.0 random brains");
    graph.addPeriod(run, 1.0, none, none, {1, 10});
    EXPECT_DOUBLE_EQ(hits.vPoints.back().y, 4);
    graph.addPeriod(run, 1.5, none, none, {5, 4});
    EXPECT_DOUBLE_EQ(hits.vPoints.back().y, 6) << "the first period has left the window: (1 + 5) / 1";
    EXPECT_DOUBLE_EQ(kills.vPoints.back().y, 14);
    EXPECT_EQ(kills.sNote, "\xD7" "0.7 random brains");
    graph.addPeriod(run, 2.0, none, none, CLearningGraph::NotKnown);
    EXPECT_EQ(hits.vPoints.size(), 3u);
    EXPECT_TRUE(CLearningGraph().panel(CLearningGraph::Player).isEmpty());
}

TEST(CLearningGraphTest, AStatisticsFileHasOnlyThePoolsBestInThinLines)
{
    CLearningGraph graph;
    graph.addRun("new: ", 0xFF0000, 0x00FF00, true);
    const int old = graph.addRun("old: ", 0xFF0000, 0x00FF00, false);
    graph.addPeriod(old, 0.5, {0, kNone, 7}, {0, kNone, 40});
    EXPECT_EQ(curve(graph, CLearningGraph::Red, old).sName, "old: best in the pool");
    EXPECT_EQ(curve(graph, CLearningGraph::Red, old).dLineWidth, CFitnessGraph::ThinLine);
    EXPECT_EQ(curve(graph, CLearningGraph::Green, old).vPoints.at(0).y, 40);
}
} // namespace
