#include "view/ckeyfeedback.h"

#include <gtest/gtest.h>

TEST(CKeyFeedbackTest, PoolKeysShowTheTerminalsFailureOrSayWhatWasDone)
{
    const std::string saved = "Green pool saved to GreenAliens_saved.txt";
    EXPECT_EQ(CKeyFeedback::poolAnswer("done.", saved), saved);
    EXPECT_EQ(CKeyFeedback::poolAnswer("Saving... done.", saved), saved);
    EXPECT_EQ(CKeyFeedback::poolAnswer("Saving... Cannot save GreenAliens_saved.txt: GreenAliens_saved.txt is not a "
                                       "regular file",
                                       saved),
              "Cannot save GreenAliens_saved.txt: GreenAliens_saved.txt is not a regular file");
    EXPECT_EQ(CKeyFeedback::poolAnswer("Cannot load GreenAliens_saved.txt: is a folder", "loaded"),
              "Cannot load GreenAliens_saved.txt: is a folder");
    EXPECT_EQ(CKeyFeedback::poolAnswer("something else", saved), "something else");
}

TEST(CKeyFeedbackTest, TogglesAndFramesSayWhatHappened)
{
    EXPECT_EQ(CKeyFeedback::toggled("Fast mode", true), "Fast mode on");
    EXPECT_EQ(CKeyFeedback::toggled("Firing", false), "Firing off");
    EXPECT_EQ(CKeyFeedback::frameWritten("frame    2.bmp"), "Frame saved to frame    2.bmp");
    EXPECT_NE(CKeyFeedback::frameSkipped().find("every second"), std::string::npos);
}

// Fast mode runs the world whatever p says: there a pause is pending, and f says what it does.
TEST(CKeyFeedbackTest, PauseInFastModeSaidPausedWhileTheWorldRanIsMended)
{
    struct SCase
    {
        bool bPaused, bFast;
        const char* szP;
        std::vector<std::string> vF;
    };
    const SCase cases[] = {
        {true, false, "Paused", {"Fast mode off", "Paused"}},
        {false, false, "Running", {"Fast mode off"}},
        {true, true, "Pause takes effect at normal speed", {"Fast mode on", "Pause takes effect at normal speed"}},
        {false, true, "Pause cancelled", {"Fast mode on"}},
    };
    for (const SCase& c : cases)
    {
        EXPECT_EQ(CKeyFeedback::paused(c.bPaused, c.bFast), c.szP);
        EXPECT_EQ(CKeyFeedback::fastMode(c.bFast, c.bPaused), c.vF) << c.szP;
    }
}
