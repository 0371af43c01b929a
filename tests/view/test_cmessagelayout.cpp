#include "view/cmessagelayout.h"

#include <gtest/gtest.h>

#include "support/helveticawidths.h"

namespace
{
const CMessageLayout::SFont kFont{helvetica::width12, 15, 3};

bool overlaps(const SRect& a, const SRect& b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

std::vector<CMessageLine::SShown> threeMessages()
{
    return {{"Inspecting red alien 12", 1.0},
            {"Green pool saved to GreenAliens_saved.txt, every entry of it, with a long tail", 0.5},
            {"Paused", 1.0}};
}

// The inspector's panel reaches down the right half to the gun: the messages, stacked at the
// bottom, were drawn across it, over its labels. They now keep to the picture's other side,
// whichever side the panel takes, at the 800 x 600 window and at 320 x 240.
TEST(CMessageLayoutTest, MessagesOverTheInspectorsLabelsIsMended)
{
    for (const double width : {800.0, 320.0})
    {
        const double height = width * 0.75;
        for (const SRect& panel : {SRect(width / 2, height - 20, width - 4, 40), SRect(4, height - 20, width / 2, 40)})
        {
            const auto rows = CMessageLayout::layout(threeMessages(), kFont, width, 0.16 * height, 8, panel);
            ASSERT_GE(rows.size(), 3u) << width;
            for (const CMessageLayout::SRow& row : rows)
            {
                EXPECT_FALSE(overlaps(row.strip, panel)) << row.sText << " at " << width;
                EXPECT_GE(row.strip.left, 0);
                EXPECT_LE(row.strip.right, width);
            }
        }
    }
}

// Without a panel, or with one that keeps above them, the messages take the whole width,
// centred, the newest lowest, and an older one above its rows.
TEST(CMessageLayoutTest, MessagesAreCentredAcrossThePictureNewestLowest)
{
    for (const SRect& panel : {SRect(0, 0, 0, 0), SRect(400, 580, 796, 400)})
    {
        const auto rows = CMessageLayout::layout({{"older", 0.5}, {"newest", 1.0}}, kFont, 800, 96, 8, panel);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].sText, "newest");
        EXPECT_EQ(rows[0].dBaseline, 96);
        EXPECT_NEAR(rows[0].dX + kFont.width("newest") / 2, 400, 0.5);
        EXPECT_EQ(rows[1].dBaseline, 96 + 15 + CMessageLayout::kGap);
        EXPECT_EQ(rows[1].dOpacity, 0.5);
    }
}
} // namespace
