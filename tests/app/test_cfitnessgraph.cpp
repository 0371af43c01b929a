#include "app/cfitnessgraph.h"

#include <gtest/gtest.h>

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
