#include "view/cmessageline.h"

#include <gtest/gtest.h>

TEST(CMessageLineTest, AMessageShowsThenFadesAndGoes)
{
    CMessageLine line;
    EXPECT_TRUE(line.isEmpty(0));
    line.post("Paused", 1000);
    ASSERT_EQ(line.shown(1000).size(), 1u);
    EXPECT_EQ(line.shown(1000)[0].sText, "Paused");
    EXPECT_EQ(line.shown(1000)[0].dOpacity, 1.0);
    EXPECT_EQ(line.shown(3000)[0].dOpacity, 1.0);  // steady for two seconds
    EXPECT_DOUBLE_EQ(line.shown(3500)[0].dOpacity, 0.5); // then fading
    EXPECT_NEAR(line.shown(3999)[0].dOpacity, 0.001, 1e-9);
    EXPECT_FALSE(line.isEmpty(3999));
    EXPECT_TRUE(line.shown(4000).empty()); // gone after three
    EXPECT_TRUE(line.isEmpty(4000));
}

TEST(CMessageLineTest, NewestComeLastAndPushTheOldestOut)
{
    CMessageLine line;
    for (int i = 0; i < 10; ++i)
        line.post("message " + std::to_string(i), 100.0 * i);
    const std::vector<CMessageLine::SShown> shown = line.shown(1000);
    ASSERT_EQ(static_cast<int>(shown.size()), CMessageLine::kMaxShown);
    EXPECT_EQ(shown.front().sText, "message 7");
    EXPECT_EQ(shown.back().sText, "message 9");
    // Each fades on its own clock.
    const std::vector<CMessageLine::SShown> later = line.shown(2850);
    EXPECT_GT(later.back().dOpacity, later.front().dOpacity);
}
