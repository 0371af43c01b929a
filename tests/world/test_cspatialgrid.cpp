#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <set>

#include "world/cspatialgrid.h"

namespace
{
struct SPoint
{
    double x;
    double y;
};

// What a query visits: the caller's numbers of each item, and how often each came.
std::map<int, int> visitsIn(const CSpatialGrid& grid, double left, double bottom, double right, double top)
{
    std::map<int, int> visits;
    grid.forEachIn(left, bottom, right, top, [&](const CSpatialGrid::SItem& item) { ++visits[item.iA]; });
    return visits;
}

// Points filed, moved and removed at random, inside and outside the grid: every query
// finds each point inside its box exactly once.
TEST(CSpatialGridTest, EveryPointInsideABoxIsVisitedOnce)
{
    std::mt19937 engine(11);
    std::uniform_real_distribution<double> coordinate(-50, 450); // the grid covers 0..400 x 0..300
    CSpatialGrid grid;
    grid.reset(400, 300, 32);
    std::map<int, SPoint> points;  // by the caller's number
    std::map<int, int> handles;
    for (int round = 0; round < 2000; ++round)
    {
        const int id = static_cast<int>(engine() % 200);
        const SPoint p{coordinate(engine), coordinate(engine)};
        if (!handles.count(id))
            handles[id] = grid.insert(p.x, p.y, id, 0);
        else if (engine() % 4 == 0)
        {
            grid.remove(handles[id]);
            handles.erase(id);
            points.erase(id);
            continue;
        }
        else
            grid.move(handles[id], p.x, p.y);
        points[id] = p;

        const double left = coordinate(engine), bottom = coordinate(engine);
        const double right = left + 60, top = bottom + 40;
        const std::map<int, int> visits = visitsIn(grid, left, bottom, right, top);
        for (const auto& [visited, times] : visits)
            ASSERT_EQ(times, 1) << "point " << visited;
        for (const auto& [pid, q] : points)
        {
            const bool inside = q.x >= left && q.x <= right && q.y >= bottom && q.y <= top;
            ASSERT_TRUE(!inside || visits.count(pid)) << "point " << pid << " at " << q.x << ", " << q.y;
        }
    }
    EXPECT_EQ(grid.size(), static_cast<int>(points.size()));
}

TEST(CSpatialGridTest, PointsFarOutsideOrNotFiniteAreFoundFromTheEdge)
{
    CSpatialGrid grid;
    grid.reset(100, 100, 10);
    grid.insert(-1e300, 50, 1, 0);
    grid.insert(std::numeric_limits<double>::quiet_NaN(), 5, 2, 0);
    grid.insert(5, std::numeric_limits<double>::infinity(), 3, 0);
    EXPECT_TRUE(visitsIn(grid, -1e301, 45, -1e299, 55).count(1));
    EXPECT_TRUE(visitsIn(grid, 0, 0, 9, 9).count(2));
    EXPECT_TRUE(visitsIn(grid, 0, 1e6, 9, 2e6).count(3));
    EXPECT_TRUE(visitsIn(grid, 40, 40, 60, 60).empty());
}

// A reset to the same layout empties the grid but keeps the handles' numbers small: they
// are reused, so the bookkeeping does not grow from one layout to the next.
TEST(CSpatialGridTest, ResetToTheSameLayoutReusesHandles)
{
    CSpatialGrid grid;
    grid.reset(100, 100, 10);
    std::set<int> first;
    for (int i = 0; i < 50; ++i)
        first.insert(grid.insert(i, i, i, 0));
    grid.reset(100, 100, 10);
    EXPECT_EQ(grid.size(), 0);
    EXPECT_TRUE(visitsIn(grid, 0, 0, 100, 100).empty());
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(first.count(grid.insert(i, i, i, 0)));
}
} // namespace
