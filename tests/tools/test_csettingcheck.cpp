#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/cparams.h"
#include "sweep/csettingcheck.h"
#include "sweep/csweepfile.h"

namespace
{
std::string shippedParams()
{
    std::ifstream in(KA_SOURCE_DIR "/params.ini");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

// A korvane-sim a setting spent 14 minutes, without a word, on the most settings a sweep may
// have. 100 × 1000 settings here, of which only the last puts the gun past the window's width.
TEST(CSettingCheckTest, TheLargestSweepsSettingsTakeMinutesIsMended)
{
    std::string widths, guns;
    for (int width = 1100; width > 1000; --width)
        widths += " " + std::to_string(width);
    for (int gun = 1; gun < 1000; ++gun)
        guns += " " + std::to_string(gun);
    CSweepFile sweep;
    std::string error;
    ASSERT_TRUE(sweep.parse("steps 10\nseeds 1\nWindow_Width" + widths + "\nGun_Width" + guns + " 1001\n", "s.sweep",
                            error))
        << error;
    ASSERT_EQ(sweep.settings().size(), 100000u);
    EXPECT_FALSE(CSettingCheck::checkSettings(sweep, shippedParams(), "s.sweep", error));
    EXPECT_EQ(error, "s.sweep: korvane-sim refuses the setting Window_Width=1001, Gun_Width=1001:\n"
                     "--set: Gun_Width = 1001 must be less than Window_Width");
    EXPECT_EQ(CParams::Window_Width, 0) << "the parameters are left as before any loading";

    ASSERT_TRUE(sweep.parse("steps 10\nseeds 1\nWindow_Width 900 1000\nGun_Width 48 899\nAlien_MutationRate 5\n",
                            "s.sweep", error));
    EXPECT_TRUE(CSettingCheck::checkSettings(sweep, shippedParams(), "s.sweep", error)) << error;
}
