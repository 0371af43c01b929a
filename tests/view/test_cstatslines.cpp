#include "view/cstatslines.h"

#include <gtest/gtest.h>

// "Number Dead = 12", "Best Age = 45" said neither whose deaths, over what period, nor that an
// "age" is a red score: each line now says which aliens and which period.
TEST(CStatsLinesTest, StatisticsNumbersThatSayNeitherWhoNorWhenIsMended)
{
    EXPECT_EQ(CStatsLines::lines(12, 1000, 45.375, 3),
              (std::vector<std::string>{"Red aliens dead in the last 1 s: 12", "Best red score in the pool: 45.38",
                                        "Worst red score in the pool: 3"}));
    EXPECT_EQ(CStatsLines::period(2500), "2.5 s");
    EXPECT_EQ(CStatsLines::period(200), "200 ms");
}
