#include "view/clabelplacer.h"

#include <gtest/gtest.h>

namespace
{
const SRect kWindow(0, 600, 800, 0);

void expectAt(const SRect& box, double left, double bottom, double width, double height)
{
    EXPECT_DOUBLE_EQ(box.left, left);
    EXPECT_DOUBLE_EQ(box.bottom, bottom);
    EXPECT_DOUBLE_EQ(box.right - box.left, width);
    EXPECT_DOUBLE_EQ(box.top - box.bottom, height);
}
} // namespace

TEST(CLabelPlacerTest, BoxesInsideAndClearStayWhereTheyAre)
{
    expectAt(CLabelPlacer::place(SRect(100, 212, 160, 200), kWindow, {SRect(0, 550, 200, 480)}, 2), 100, 200, 60, 12);
}

TEST(CLabelPlacerTest, BoxesOffTheWindowComeBackInside)
{
    expectAt(CLabelPlacer::place(SRect(780, 630, 840, 618), kWindow, {}, 2), 740, 588, 60, 12);
    expectAt(CLabelPlacer::place(SRect(-30, 5, 30, -7), kWindow, {}, 2), 0, 0, 60, 12);
    // Wider than the window: its left edge goes to the window's.
    expectAt(CLabelPlacer::place(SRect(100, 12, 1000, 0), kWindow, {}, 2), 0, 0, 900, 12);
}

TEST(CLabelPlacerTest, BoxesOverAKeptOutBoxMoveToItsNearestSide)
{
    const SRect statistics(16, 528, 180, 455);
    // Near its right edge: moved right.
    expectAt(CLabelPlacer::place(SRect(170, 500, 230, 488), kWindow, {statistics}, 2), 182, 488, 60, 12);
    // Near its bottom: moved below.
    expectAt(CLabelPlacer::place(SRect(60, 462, 90, 450), kWindow, {statistics}, 2), 60, 441, 30, 12);
    // Off the window and over the box: clamped, then moved.
    expectAt(CLabelPlacer::place(SRect(-20, 520, 40, 508), kWindow, {statistics}, 2), 0, 530, 60, 12);
}

TEST(CLabelPlacerTest, NoPlaceAwayFromEveryBoxLeavesItClamped)
{
    // The only box covers the whole window.
    expectAt(CLabelPlacer::place(SRect(300, 312, 360, 300), kWindow, {kWindow}, 2), 300, 300, 60, 12);
    // Between two boxes: a side of one that covers the other is passed over.
    const SRect left(0, 600, 395, 0), right(405, 600, 800, 0);
    const SRect placed = CLabelPlacer::place(SRect(380, 312, 420, 300), kWindow, {left, right}, 2);
    EXPECT_TRUE(rectsOverlap(placed, left) || rectsOverlap(placed, right));
}
