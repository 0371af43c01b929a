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

const CFitnessGraph::SSeries& named(const CFitnessGraph& graph, const std::string& name)
{
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
        if (series.sName == name)
            return series;
    ADD_FAILURE() << "no curve " << name;
    return graph.getSeries().front();
}

TEST(CLearningGraphTest, TheDyingInThickLinesThePoolsBestInThinOnesAndTheAxesNamed)
{
    CFitnessGraph graph;
    CLearningGraph learning(graph, "", 0xFF0000, 0x00FF00, true);
    ASSERT_EQ(graph.getSeries().size(), 4u);
    EXPECT_EQ(named(graph, "red, mean score of the dying").dLineWidth, CFitnessGraph::ThickLine);
    EXPECT_EQ(named(graph, "red, best score in the pool").dLineWidth, CFitnessGraph::ThinLine);
    EXPECT_EQ(named(graph, "green, mean steps alive of the dying").uColour, 0x00FF00u);
    EXPECT_EQ(named(graph, "green, mean steps alive of the dying").dLineWidth, CFitnessGraph::ThickLine);
    EXPECT_EQ(named(graph, "green, best steps alive in the pool").dLineWidth, CFitnessGraph::ThinLine);
    EXPECT_LT(CFitnessGraph::ThinLine, CFitnessGraph::ThickLine);
    EXPECT_EQ(graph.xName(), "minutes of game time");
    EXPECT_EQ(graph.yName(), "fitness (red: score, green: steps alive)");
}

TEST(CLearningGraphTest, APeriodWithoutDeathsAddsOnlyThePoolsBestAndAPausedOneNothing)
{
    CFitnessGraph graph;
    CLearningGraph learning(graph, "run: ", 0xFF0000, 0x00FF00, true);
    learning.addPeriod(0.5, {kNone, 7}, {12, 40});
    learning.addPeriod(1.0, {3, 9}, {14, 40});
    learning.addPeriod(1.0, {99, 99}, {99, 99}); // the game was paused: no time passed
    const auto& redDying = named(graph, "run: red, mean score of the dying").vPoints;
    ASSERT_EQ(redDying.size(), 1u);
    EXPECT_EQ(redDying[0].x, 1.0);
    EXPECT_EQ(redDying[0].y, 3);
    EXPECT_EQ(named(graph, "run: red, best score in the pool").vPoints.size(), 2u);
    const auto& greenDying = named(graph, "run: green, mean steps alive of the dying").vPoints;
    ASSERT_EQ(greenDying.size(), 2u);
    EXPECT_EQ(greenDying[1].y, 14);
}

TEST(CLearningGraphTest, WithoutMeansOfTheDeadOnlyThePoolsBestIsDrawn)
{
    CFitnessGraph graph;
    CLearningGraph learning(graph, "old: ", 0xFF0000, 0x00FF00, false);
    ASSERT_EQ(graph.getSeries().size(), 2u);
    learning.addPeriod(0.5, {kNone, 7}, {kNone, 40});
    EXPECT_EQ(named(graph, "old: red, best score in the pool").vPoints.size(), 1u);
    EXPECT_EQ(named(graph, "old: green, best steps alive in the pool").vPoints[0].y, 40);
}
} // namespace
