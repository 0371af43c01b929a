#include "view/chud.h"
#include "view/cplayerstake.h"
#include "view/crateoverlastminute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
    all.bPaused = all.bFiring = all.bAuto = all.bWatching = all.bEvolvedStart = true;
    const std::vector<CHud::SItem> items = CHud::items(all);
    EXPECT_EQ(texts(items), (std::vector<std::string>{"1:05", times + "1", "PAUSED", "WATCHING EVOLUTION", "FIRING",
                                                      "AUTO", "evolved start", "kills 3", "gun hit 1"}));
    EXPECT_EQ(items[2].iKind, HUD_PAUSED);
    EXPECT_EQ(items[3].iKind, HUD_WATCHING);
    EXPECT_EQ(items[4].iKind, HUD_FIRING);
    EXPECT_EQ(items[5].iKind, HUD_AUTO);
    EXPECT_EQ(items[6].iKind, HUD_TEXT);
}

TEST(CHudTest, FastModeShowsTheMeasuredMultipleAndThePauseAsPending)
{
    CHud::SState fast = quiet();
    fast.bFast = fast.bPaused = true; // fast mode runs the world whatever the pause says
    fast.dMultiple = 23.4;
    fast.dKillsPerMinute = 2.25;
    fast.dHitsPerMinute = 14.6;
    fast.bKeysHint = true;
    const std::vector<CHud::SItem> items = CHud::items(fast);
    EXPECT_EQ(texts(items), (std::vector<std::string>{"1:05", "\xD7" "23", "PAUSE PENDING", "kills 3 (2.2/min)",
                                                      "gun hit 1 (15/min)", "F1: keys"}));
    EXPECT_EQ(items[2].iKind, HUD_PAUSE_PENDING);
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

TEST(CHudTest, LayoutPlacesItemsInTurnAndLeavesOutTheLeastImportantWhole)
{
    CHud::SState all = quiet();
    all.bFiring = all.bPaused = all.bAuto = all.bKeysHint = true;
    all.dKillsPerMinute = all.dHitsPerMinute = 1.5;
    const std::vector<CHud::SItem> wide = CHud::layout(CHud::items(all), helvetica::width12, 8, 792, 14, 4);
    ASSERT_EQ(wide.size(), 8u);
    EXPECT_EQ(wide[0].dX, 8);
    EXPECT_EQ(wide[1].dX, 8 + wide[0].dWidth + 14);
    EXPECT_EQ(wide[2].dX, wide[1].dX + wide[1].dWidth + 14 + 4); // a badge's text sits inside its padding
    EXPECT_EQ(wide[3].dX, wide[2].dX + wide[2].dWidth + 4 + 14 + 4);
    EXPECT_EQ(wide[2].dWidth, helvetica::width12("PAUSED"));

    // A room that holds exactly the k most important items keeps those, in the line's order,
    // and leaves every other out whole.
    const std::vector<std::string> byImportance{"PAUSED", "1:05", "gun hit 1 (1.5/min)", "kills 3 (1.5/min)",
                                                "F1: keys", "FIRING", "AUTO", "\xD7" "1"};
    for (size_t k = 1; k <= byImportance.size(); ++k)
    {
        double need = 0;
        std::vector<std::string> expected;
        for (const CHud::SItem& item : CHud::items(all))
            if (std::find(byImportance.begin(), byImportance.begin() + k, item.sText) != byImportance.begin() + k)
            {
                need += (expected.empty() ? 0 : 14) + helvetica::width12(item.sText) + (item.iKind == HUD_TEXT ? 0 : 8);
                expected.push_back(item.sText);
            }
        const std::vector<CHud::SItem> kept = CHud::layout(CHud::items(all), helvetica::width12, 8, 8 + need, 14, 4);
        EXPECT_EQ(texts(kept), expected) << k << " items";
    }
    EXPECT_TRUE(CHud::layout(CHud::items(all), helvetica::width12, 8, 10, 14, 4).empty());
}

TEST(CRateOverLastMinuteTest, CountsGrowthOverTheLastGameMinuteOnceTenSecondsAreKnown)
{
    CRateOverLastMinute rate;
    EXPECT_TRUE(std::isnan(rate.perMinute()));
    // One more every 2 s of game time, in steps of 33 ms: 30 a minute.
    long long count = 0;
    double ms = 0;
    for (; ms < 9000; ms += 33)
        rate.add(ms, count = static_cast<long long>(ms / 2000));
    EXPECT_TRUE(std::isnan(rate.perMinute())) << "less than ten seconds followed";
    for (; ms < 20000; ms += 33)
        rate.add(ms, count = static_cast<long long>(ms / 2000));
    EXPECT_NEAR(rate.perMinute(), 30.0, 6.0);
    // Then nothing for more than a minute: the rate falls to 0, and memory stays bounded.
    for (; ms < 3600000; ms += 33)
        rate.add(ms, count);
    EXPECT_EQ(rate.perMinute(), 0.0);
}

TEST(CPlayerStakeTest, AHitLightsTheGunThenFadesInRealTime)
{
    CPlayerStake stake;
    stake.observe(0, 0, 0.0, 1000.0);
    EXPECT_EQ(stake.flash(1000.0), 0.0) << "no hit yet";
    stake.observe(2, 1, 33.0, 1010.0);
    EXPECT_EQ(stake.flash(1010.0), 1.0);
    EXPECT_NEAR(stake.flash(1010.0 + CPlayerStake::kFlashMs / 2), 0.5, 1e-9);
    EXPECT_EQ(stake.flash(1010.0 + CPlayerStake::kFlashMs), 0.0);
    stake.observe(2, 1, 66.0, 1500.0);
    EXPECT_EQ(stake.flash(1500.0), 0.0) << "no new hit, no new flash";
}
