#include "app/statsfile.h"

#include <gtest/gtest.h>

#include "support/scratchfile.h"

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

TEST(StatsFileTest, SecondRunInTheSameMinuteDestroysTheFirstIsMended)
{
    const std::string name = std::to_string(getpid()) + "_stats.txt";
    const std::string stem = std::to_string(getpid()) + "_stats";
    EXPECT_EQ(firstFreeName(name), name);
    CScratchFile first("stats.txt", "run 1");
    EXPECT_EQ(firstFreeName(name), stem + "_2.txt");
    CScratchFile second("stats_2.txt", "run 2");
    EXPECT_EQ(firstFreeName(name), stem + "_3.txt");
}
