#include "view/cletterbox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

TEST(CLetterboxTest, WindowOfThePicturesSizeShowsItWhole)
{
    CLetterbox box(800, 600);
    box.setWindow(800, 600);
    EXPECT_EQ(box.viewportLeft(), 0);
    EXPECT_EQ(box.viewportBottom(), 0);
    EXPECT_EQ(box.viewportWidth(), 800);
    EXPECT_EQ(box.viewportHeight(), 600);
    EXPECT_DOUBLE_EQ(box.scale(), 1.0);
    // GLUT's top-left pixel is the world's top-left corner, its centre half a unit in.
    const SVector2D topLeft = box.toWorld(0, 0);
    EXPECT_DOUBLE_EQ(topLeft.x, 0.5);
    EXPECT_DOUBLE_EQ(topLeft.y, 599.5);
    const SVector2D bottomRight = box.toWorld(799, 599);
    EXPECT_DOUBLE_EQ(bottomRight.x, 799.5);
    EXPECT_DOUBLE_EQ(bottomRight.y, 0.5);
}

TEST(CLetterboxTest, WideAndTallWindowsGetCentredBarsAndKeepTheProportions)
{
    CLetterbox box(800, 600);
    box.setWindow(1000, 500); // wide: bars left and right
    EXPECT_EQ(box.viewportHeight(), 500);
    EXPECT_EQ(box.viewportWidth(), 667);
    EXPECT_EQ(box.viewportLeft(), 166);
    EXPECT_EQ(box.viewportBottom(), 0);
    box.setWindow(400, 900); // tall: bars above and below
    EXPECT_EQ(box.viewportWidth(), 400);
    EXPECT_EQ(box.viewportHeight(), 300);
    EXPECT_EQ(box.viewportLeft(), 0);
    EXPECT_EQ(box.viewportBottom(), 300);
    EXPECT_DOUBLE_EQ(box.scale(), 0.5);
}

TEST(CLetterboxTest, ClicksMapToTheWorldAtAnySizeAndBack)
{
    CLetterbox box(800, 600);
    for (const auto& size : {std::pair{800, 600}, {1000, 500}, {400, 900}, {333, 257}, {1601, 1201}})
    {
        box.setWindow(size.first, size.second);
        for (const SVector2D world : {SVector2D(400, 300), SVector2D(12.5, 580), SVector2D(790, 151)})
        {
            const SVector2D window = box.toWindow(world);
            EXPECT_TRUE(box.isInside(std::floor(window.x + 0.5), std::floor(window.y + 0.5)));
            const SVector2D back = box.toWorld(window.x, window.y);
            EXPECT_NEAR(back.x, world.x, 1e-9) << size.first << "x" << size.second;
            EXPECT_NEAR(back.y, world.y, 1e-9) << size.first << "x" << size.second;
        }
    }
    // The centre of a 1000 × 500 window is the world's centre, give or take half a pixel.
    box.setWindow(1000, 500);
    const SVector2D centre = box.toWorld(500, 250);
    EXPECT_NEAR(centre.x, 400, 1.5);
    EXPECT_NEAR(centre.y, 300, 1.5);
}

TEST(CLetterboxTest, BarsAndEmptyWindowsHoldNothing)
{
    CLetterbox box(800, 600);
    box.setWindow(1000, 500);
    EXPECT_FALSE(box.isInside(10, 250));  // left bar
    EXPECT_FALSE(box.isInside(990, 250)); // right bar
    EXPECT_TRUE(box.isInside(166, 0));
    EXPECT_FALSE(box.isInside(165, 0));
    EXPECT_TRUE(box.isInside(832, 499));
    EXPECT_FALSE(box.isInside(833, 499));
    box.setWindow(0, 0);
    EXPECT_EQ(box.viewportWidth(), 0);
    EXPECT_FALSE(box.isInside(0, 0));
    box.setWindow(-5, 300);
    EXPECT_EQ(box.viewportWidth(), 0);
    EXPECT_FALSE(box.isInside(0, 0));
}
