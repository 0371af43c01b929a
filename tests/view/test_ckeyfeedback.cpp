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
    EXPECT_EQ(CKeyFeedback::paused(true), "Paused");
    EXPECT_EQ(CKeyFeedback::paused(false), "Running");
    EXPECT_EQ(CKeyFeedback::frameWritten("frame    2.bmp"), "Frame saved to frame    2.bmp");
    EXPECT_NE(CKeyFeedback::frameSkipped().find("every second"), std::string::npos);
}
