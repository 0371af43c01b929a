#include <gtest/gtest.h>

#include <cmath>

#include "sweep/cstatistics.h"

TEST(CStatisticsTest, TQuantilesMatchTheTables)
{
    // Two-sided 95 % points of Student's t, from the published tables.
    const struct
    {
        int iDegrees;
        double dT;
    } table[] = {{1, 12.7062047}, {2, 4.30265273}, {3, 3.18244631}, {4, 2.77644511}, {5, 2.57058184},
                 {9, 2.26215716}, {10, 2.22813885}, {29, 2.04522964}, {30, 2.04227246}, {120, 1.97993040},
                 {1000, 1.96233908}};
    for (const auto& row : table)
        EXPECT_NEAR(CStatistics::tQuantile975(row.iDegrees), row.dT, 1e-7) << row.iDegrees << " degrees of freedom";
}

TEST(CStatisticsTest, MeanIntervalOfHandComputedData)
{
    // 1..5: mean 3, s = sqrt(2.5), s / sqrt(5) = sqrt(0.5), t(4) = 2.776445105.
    const CStatistics::SEstimate estimate = CStatistics::mean({4, 1, 5, 2, 3});
    EXPECT_DOUBLE_EQ(estimate.dValue, 3.0);
    EXPECT_NEAR(estimate.dLow, 3.0 - 2.776445105 * std::sqrt(0.5), 1e-8);
    EXPECT_NEAR(estimate.dHigh, 3.0 + 2.776445105 * std::sqrt(0.5), 1e-8);
    EXPECT_EQ(estimate.iCount, 5);
}

TEST(CStatisticsTest, AllEqualValuesGiveAPointNotADivisionByZero)
{
    // Their sum divided by their count is not exactly 0.1, which would give a sliver of an
    // interval around the wrong value.
    const CStatistics::SEstimate estimate = CStatistics::mean({0.1, 0.1, 0.1});
    EXPECT_EQ(estimate.dValue, 0.1);
    EXPECT_EQ(estimate.dLow, 0.1);
    EXPECT_EQ(estimate.dHigh, 0.1);
    const CStatistics::SEstimate ratio = CStatistics::ratio({3, 6, 9}, {1, 2, 3});
    EXPECT_DOUBLE_EQ(ratio.dValue, 3.0);
    EXPECT_DOUBLE_EQ(ratio.dLow, 3.0);
    EXPECT_DOUBLE_EQ(ratio.dHigh, 3.0);
}

TEST(CStatisticsTest, TooFewValuesGiveNoInterval)
{
    const CStatistics::SEstimate one = CStatistics::mean({7.0});
    EXPECT_EQ(one.dValue, 7.0);
    EXPECT_TRUE(std::isnan(one.dLow) && std::isnan(one.dHigh));
    EXPECT_EQ(one.iCount, 1);
    const CStatistics::SEstimate none = CStatistics::ratio({}, {});
    EXPECT_TRUE(std::isnan(none.dValue) && std::isnan(none.dLow) && std::isnan(none.dHigh));
    EXPECT_EQ(none.iCount, 0);
}

TEST(CStatisticsTest, RatioIsTheGeometricMeanWithTheIntervalOfTheLogs)
{
    // Ratios 2, 4, 8: logs ln2 · (1, 2, 3), mean 2 ln2 (ratio 4), s = ln2, t(2) = 4.302652730.
    const CStatistics::SEstimate ratio = CStatistics::ratio({2, 8, 40}, {1, 2, 5});
    const double halfWidth = 4.302652730 * std::log(2.0) / std::sqrt(3.0);
    EXPECT_NEAR(ratio.dValue, 4.0, 1e-12);
    EXPECT_NEAR(ratio.dLow, 4.0 * std::exp(-halfWidth), 1e-8);
    EXPECT_NEAR(ratio.dHigh, 4.0 * std::exp(halfWidth), 1e-8);
    // A halving and a doubling balance at 1.
    EXPECT_NEAR(CStatistics::ratio({1, 4}, {2, 2}).dValue, 1.0, 1e-12);
}

// A pair's ratio was taken before its log: 1e300 / 1e-10 overflowed, and with its mirror
// pair the score was NaN instead of 1.
TEST(CStatisticsTest, RatiosBeyondADoubleMadeTheScoreNanIsMended)
{
    const CStatistics::SEstimate score = CStatistics::ratio({1e300, 1e-10}, {1e-10, 1e300});
    EXPECT_NEAR(score.dValue, 1.0, 1e-12);
    EXPECT_EQ(score.iCount, 2);
}
