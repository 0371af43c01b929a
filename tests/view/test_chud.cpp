#include "view/chud.h"

#include <gtest/gtest.h>

#include "support/helveticawidths.h"

namespace
{
std::vector<std::string> texts(const std::vector<CHud::SItem>& items)
{
    std::vector<std::string> list;
    for (const CHud::SItem& item : items)
        list.push_back(item.sText);
    return list;
}

CHud::SState quiet()
{
    return {65000.0, false, 0.0, false, false, false, 3, 1};
}
} // namespace

TEST(CHudTest, ShowsClockSpeedTheModesThatAreOnKillsAndHits)
{
    const std::string times = "\xD7";
    EXPECT_EQ(texts(CHud::items(quiet())),
              (std::vector<std::string>{"1:05", times + "1", "kills 3", "gun hit 1"}));
    CHud::SState all = quiet();
    all.bPaused = all.bFiring = all.bAuto = true;
    const std::vector<CHud::SItem> items = CHud::items(all);
    EXPECT_EQ(texts(items),
              (std::vector<std::string>{"1:05", times + "1", "PAUSED", "FIRING", "AUTO", "kills 3", "gun hit 1"}));
    EXPECT_EQ(items[2].iKind, HUD_PAUSED);
    EXPECT_EQ(items[3].iKind, HUD_FIRING);
    EXPECT_EQ(items[4].iKind, HUD_AUTO);
    EXPECT_EQ(items[5].iKind, HUD_TEXT);
}

TEST(CHudTest, FastModeShowsTheMeasuredMultipleAndNoPause)
{
    CHud::SState fast = quiet();
    fast.bFast = fast.bPaused = true; // fast mode runs the world whatever the pause says
    fast.dMultiple = 23.4;
    EXPECT_EQ(texts(CHud::items(fast)),
              (std::vector<std::string>{"1:05", "\xD7" "23", "kills 3", "gun hit 1"}));
    EXPECT_EQ(CHud::speed(true, 4.25), "\xD7" "4.2");
    EXPECT_EQ(CHud::speed(true, 0.0), "\xD7...");
    EXPECT_EQ(CHud::speed(false, 50.0), "\xD7" "1");
}

TEST(CHudTest, ClockCountsMinutesThenHours)
{
    EXPECT_EQ(CHud::clock(0), "0:00");
    EXPECT_EQ(CHud::clock(59999), "0:59");
    EXPECT_EQ(CHud::clock(3599999), "59:59");
    EXPECT_EQ(CHud::clock(3600000), "1:00:00");
    EXPECT_EQ(CHud::clock(1e12), "277777:46:40");
    EXPECT_EQ(CHud::clock(-5), "0:00");
}

TEST(CHudTest, LayoutPlacesItemsInTurnAndDropsWhatWouldRunOff)
{
    CHud::SState all = quiet();
    all.bFiring = true;
    const std::vector<CHud::SItem> wide = CHud::layout(CHud::items(all), helvetica::width12, 8, 792, 14, 4);
    ASSERT_EQ(wide.size(), 5u);
    EXPECT_EQ(wide[0].dX, 8);
    EXPECT_EQ(wide[1].dX, 8 + wide[0].dWidth + 14);
    EXPECT_EQ(wide[2].dX, wide[1].dX + wide[1].dWidth + 14 + 4); // a badge's text sits inside its padding
    EXPECT_EQ(wide[3].dX, wide[2].dX + wide[2].dWidth + 4 + 14);
    EXPECT_EQ(wide[2].dWidth, helvetica::width12("FIRING"));

    const double right = wide[2].dX + wide[2].dWidth + 4 + 1; // room for the badge, not the next
    const std::vector<CHud::SItem> narrow = CHud::layout(CHud::items(all), helvetica::width12, 8, right, 14, 4);
    EXPECT_EQ(texts(narrow), (std::vector<std::string>{"1:05", "\xD7" "1", "FIRING"}));
    EXPECT_TRUE(CHud::layout(CHud::items(all), helvetica::width12, 8, 10, 14, 4).empty());
}
