#include "view/cviewcolours.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CViewColoursTest, ActivationRunsFromDeepBlueToWarmWhiteAndClamps)
{
    const SColour low = CViewColours::activation(0.0), high = CViewColours::activation(1.0);
    EXPECT_GT(low.b, low.r);
    EXPECT_GT(high.r, 0.9f);
    EXPECT_GT(high.g, 0.9f);
    const SColour middle = CViewColours::activation(0.5);
    EXPECT_FLOAT_EQ(middle.r, (low.r + high.r) / 2);
    EXPECT_EQ(CViewColours::activation(-3.0).r, low.r);
    EXPECT_EQ(CViewColours::activation(7.0).r, high.r);
    EXPECT_EQ(CViewColours::activation(std::nan("")).r, low.r);
}

TEST(CViewColoursTest, WeightsShowTheirSignByColourAndTheirSizeByWidth)
{
    EXPECT_GT(CViewColours::weight(0.3).b, CViewColours::weight(0.3).r);
    EXPECT_GT(CViewColours::weight(-0.3).r, CViewColours::weight(-0.3).g);
    EXPECT_EQ(CViewColours::weightWidth(0.0), CViewColours::kThinnest);
    EXPECT_EQ(CViewColours::weightWidth(-CViewColours::kWeightForWidest), CViewColours::kWidest);
    EXPECT_EQ(CViewColours::weightWidth(50.0), CViewColours::kWidest);
    EXPECT_LT(CViewColours::weightWidth(0.5), CViewColours::weightWidth(-1.0));
    EXPECT_EQ(CViewColours::weightWidth(std::nan("")), CViewColours::kThinnest);
}

TEST(CViewColoursTest, SensorsTurnFromFaintCyanToStrongMagentaAsACollisionNears)
{
    const SColour clear = CViewColours::sensor(1.0), danger = CViewColours::sensor(0.0);
    EXPECT_GT(clear.g, clear.r);
    EXPECT_GT(danger.r, danger.g);
    EXPECT_GT(danger.a, clear.a);
    EXPECT_GT(CViewColours::sensor(0.2).a, CViewColours::sensor(0.8).a);
}
