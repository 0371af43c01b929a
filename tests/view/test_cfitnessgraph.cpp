#include "view/cfitnessgraph.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

TEST(CFitnessGraphTest, AxesEndAtARoundValueAboveTheData)
{
    struct SCase
    {
        double largest;
        double max;
        double step;
    };
    for (const SCase& c : {SCase{7, 8, 2}, SCase{10, 10, 2}, SCase{0.9, 1, 0.2}, SCase{123, 150, 50},
                           SCase{2400, 2500, 500}, SCase{0, 1, 0.2}})
    {
        const CFitnessGraph::SAxis axis = CFitnessGraph::axisFor(c.largest);
        EXPECT_DOUBLE_EQ(axis.dMax, c.max) << c.largest;
        EXPECT_DOUBLE_EQ(axis.dStep, c.step) << c.largest;
        EXPECT_DOUBLE_EQ(axis.tick(axis.iTicks), c.max) << c.largest;
        EXPECT_GE(axis.dMax, c.largest);
    }
}

TEST(CFitnessGraphTest, SeriesKeepTheirPointsAndSetTheAxes)
{
    CFitnessGraph graph;
    EXPECT_TRUE(graph.isEmpty());
    const int red = graph.addSeries("red best", 0xFF4040);
    const int green = graph.addSeries("green best", 0x40FF40);
    EXPECT_TRUE(graph.isEmpty());
    graph.addPoint(red, 0.5, 3);
    graph.addPoint(green, 1.0, 420);
    graph.addPoint(green, 1.5, 610);
    EXPECT_FALSE(graph.isEmpty());
    ASSERT_EQ(graph.getSeries()[green].vPoints.size(), 2u);
    EXPECT_EQ(graph.getSeries()[green].vPoints[1].y, 610);
    EXPECT_DOUBLE_EQ(graph.xAxis().dMax, 1.5);
    EXPECT_DOUBLE_EQ(graph.xAxis().dStep, 0.5);
    EXPECT_DOUBLE_EQ(graph.yAxis().dMax, 800);
    EXPECT_EQ(CFitnessGraph::label(0.30000000000000004), "0.3");
    EXPECT_EQ(CFitnessGraph::label(1500), "1500");
}

TEST(CFitnessGraphTest, LongRunsKeepTheirWholeCourseInBoundedMemory)
{
    CFitnessGraph graph;
    const int series = graph.addSeries("green best", 0x40FF40);
    for (int i = 0; i < 100000; ++i)
        graph.addPoint(series, i, i);
    const auto& points = graph.getSeries()[series].vPoints;
    EXPECT_LE(points.size(), CFitnessGraph::MaxPoints);
    EXPECT_GT(points.size(), CFitnessGraph::MaxPoints / 2);
    EXPECT_EQ(points.front().x, 0);
    EXPECT_EQ(points.back().x, 99999);
    for (size_t i = 1; i < points.size(); ++i)
        ASSERT_LT(points[i - 1].x, points[i].x);
}

// Above 1.4e308 the round value above the data used to overflow to infinity, and the tick
// loops, stepping towards it, never ended; a denormal range gave a step of zero.
TEST(CFitnessGraphTest, AxisOfExtremeValuesNeverEndsIsMended)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double largest : {1.5e308, DBL_MAX, 1e308, 1e300, DBL_MIN, 1e-310, std::numeric_limits<double>::denorm_min(),
                           -5.0, -DBL_MAX, 0.0, inf, std::nan("")})
    {
        const CFitnessGraph::SAxis axis = CFitnessGraph::axisFor(largest);
        EXPECT_TRUE(std::isfinite(axis.dMax) && axis.dMax > 0) << largest;
        EXPECT_TRUE(std::isfinite(axis.dStep) && axis.dStep > 0) << largest;
        EXPECT_GE(axis.iTicks, 1) << largest;
        EXPECT_LE(axis.iTicks, 5) << largest;
        EXPECT_LE(axis.tick(axis.iTicks), axis.dMax) << largest;
        if (std::isfinite(largest) && largest > 0)
        {
            EXPECT_GE(axis.dMax, largest) << largest;
        }
    }
    EXPECT_EQ(CFitnessGraph::axisFor(DBL_MAX).dMax, DBL_MAX); // no round value above it exists
    EXPECT_EQ(CFitnessGraph::axisFor(-5).dMax, 1.0);          // below zero: the empty graph's axis
    // Denormal ranges share the axis of the smallest normal ones; its labels are not rounded to 0.
    EXPECT_EQ(CFitnessGraph::label(CFitnessGraph::axisFor(1e-310).tick(1)), "5e-308");
    EXPECT_EQ(CFitnessGraph::label(CFitnessGraph::axisFor(1e-13).tick(1)), "2e-14");
}

TEST(CFitnessGraphTest, SeriesOfHugeValuesGetFiniteAxes)
{
    CFitnessGraph graph;
    const int red = graph.addSeries("red best", 0xFF4040);
    graph.addPoint(red, 0.5, 1.5e308);
    graph.addPoint(red, DBL_MAX, -DBL_MAX);
    EXPECT_EQ(graph.yAxis().dMax, 1.5e308);
    EXPECT_EQ(graph.xAxis().dMax, DBL_MAX);
    EXPECT_EQ(graph.yAxis().iTicks, 3);
}
