#include "app/statsfile.h"

#include <gtest/gtest.h>

TEST(StatsFileTest, NameIsBuiltFromUtcWithoutLeadingZeros)
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 4;
    when.tm_min = 6;
    EXPECT_EQ(statsFileName(timegm(&when)), "KVN_STAT__2026_12_8__4_6.txt");
    when.tm_mon = 0;
    when.tm_mday = 31;
    when.tm_hour = 23;
    when.tm_min = 59;
    EXPECT_EQ(statsFileName(timegm(&when)), "KVN_STAT__2026_1_31__23_59.txt");
}

TEST(StatsFileTest, LaterRunsNumberTheStem)
{
    EXPECT_EQ(numberedName("KVN_STAT__2026_12_8__4_6.txt", 2), "KVN_STAT__2026_12_8__4_6_2.txt");
    EXPECT_EQ(numberedName("run/stats.txt", 1000), "run/stats_1000.txt");
    EXPECT_EQ(numberedName("stats", 3), "stats_3");
}
