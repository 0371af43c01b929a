#include "app/cwatchmode.h"

#include <gtest/gtest.h>

// Watching turns everything on; ending it gives back each setting as it stood before the
// watch began, whatever the player changed meanwhile, from any starting state.
TEST(CWatchModeTest, StartingTurnsEverythingOnAndEndingGivesTheStateBefore)
{
    const CWatchMode::SState on{true, true, true, true};
    for (int bits = 0; bits < 16; ++bits)
    {
        const CWatchMode::SState before{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
        CWatchMode watch;
        EXPECT_FALSE(watch.isOn());
        EXPECT_TRUE(watch.toggle(before) == on) << bits;
        EXPECT_TRUE(watch.isOn());
        // The player turned the graph off while watching: ending still restores the state before.
        EXPECT_TRUE(watch.toggle({true, true, false, true}) == before) << bits;
        EXPECT_FALSE(watch.isOn());
    }
}
