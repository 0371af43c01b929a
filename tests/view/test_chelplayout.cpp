#include "view/chelplayout.h"

#include <gtest/gtest.h>

#include <regex>

#include "app/helppage.h"
#include "support/helveticawidths.h"

namespace
{
// Ten pixels a letter, so that the tests read easily.
double tenEach(const std::string& text)
{
    return 10.0 * static_cast<double>(text.size());
}

const CHelpLayout::SFont kTen{tenEach, 20};

std::vector<std::string> texts(const CHelpLayout& layout)
{
    std::vector<std::string> list;
    for (const CHelpLayout::SRow& row : layout.rows())
        list.push_back(row.sText);
    return list;
}
} // namespace

TEST(CHelpLayoutTest, TabsSplitLinesIntoAlignedColumns)
{
    CHelpLayout layout;
    layout.layout({"Keys", "", "a\tauto mode", "Space\tfire", "F1\thelp"}, kTen, 400, 15);
    EXPECT_EQ(layout.rowCount(), 5); // the empty line keeps its row
    EXPECT_DOUBLE_EQ(layout.height(), 100);
    const std::vector<CHelpLayout::SRow>& rows = layout.rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].sText, "Keys");
    EXPECT_FALSE(rows[0].bKey);
    // Every text starts one gap beyond the widest key ("Space").
    for (size_t i = 1; i < rows.size(); i += 2)
    {
        EXPECT_TRUE(rows[i].bKey);
        EXPECT_EQ(rows[i].dX, 0);
        EXPECT_EQ(rows[i + 1].dX, 65);
        EXPECT_EQ(rows[i + 1].iRow, rows[i].iRow);
    }
    EXPECT_EQ(rows[2].sText, "auto mode");
    EXPECT_DOUBLE_EQ(layout.width(), 65 + 90);
}

TEST(CHelpLayoutTest, LinesTooWideWrapAtSpacesInTheirColumn)
{
    CHelpLayout layout;
    // Key column 30 + gap 10: the text column has 100 - 40 = 60 pixels, six letters.
    layout.layout({"abc\tone two three four", "a line that spans the panel"}, kTen, 100, 10);
    // A row exactly as wide as its room fits ("that spans": 100 pixels).
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"abc", "one", "two", "three", "four", "a line", "that spans",
                                                       "the panel"}));
    for (const CHelpLayout::SRow& row : layout.rows())
        EXPECT_LE(row.dX + tenEach(row.sText), 100) << row.sText;
    EXPECT_EQ(layout.rows()[4].dX, 40); // continuation rows stay in the text column
    EXPECT_EQ(layout.rows()[4].iRow, 3);
    EXPECT_EQ(layout.rowCount(), 7);
}

TEST(CHelpLayoutTest, WordsWiderThanTheRoomAreBrokenAndKeyColumnsCapped)
{
    EXPECT_EQ(CHelpLayout::wrap("GreenAliens_saved.txt", tenEach, 80),
              (std::vector<std::string>{"GreenAli", "ens_save", "d.txt"}));
    EXPECT_EQ(CHelpLayout::wrap("", tenEach, 80), (std::vector<std::string>{""}));
    EXPECT_EQ(CHelpLayout::wrap("x", tenEach, 3), (std::vector<std::string>{"x"})); // a letter stands alone
    CHelpLayout layout;
    layout.layout({"a very long key name\ttext"}, kTen, 100, 0);
    EXPECT_EQ(layout.rows().back().dX, 40); // the key column is capped at 40 % of the width
    for (const CHelpLayout::SRow& row : layout.rows())
        EXPECT_LE(row.dX + tenEach(row.sText), 100) << row.sText;
}

TEST(CHelpLayoutTest, FitTakesTheFirstFontWhoseRowsFit)
{
    const std::vector<std::string> lines(10, "line");
    CHelpLayout layout;
    const CHelpLayout::SFont small{tenEach, 10};
    EXPECT_EQ(layout.fit(lines, {kTen, small}, 400, 200, 10), 0);
    EXPECT_EQ(layout.fit(lines, {kTen, small}, 400, 199, 10), 1);
    EXPECT_EQ(layout.height(), 100);
    EXPECT_EQ(layout.fit(lines, {kTen, small}, 400, 50, 10), 1); // the last one when none fits
}

TEST(CHelpLayoutTest, ShippedHelpPageFitsTheWindowWithoutWrapping)
{
    const std::vector<std::string> lines = readHelpLines(KA_SOURCE_DIR "/HelpPage.txt");
    ASSERT_GT(lines.size(), 10u);
    CHelpLayout layout;
    // The panel's room in the shipped 800 × 600 window, in the large font: 90 % of the width,
    // the height between the heads-up line (its bottom 580 pixels up) and the newest
    // message's strip (its top 108 up), less the padding.
    const double height = 580 - 108 - 28;
    ASSERT_EQ(layout.fit(lines, {{helvetica::width18, 20}}, 0.9 * 800 - 28, height, 18), 0);
    EXPECT_EQ(layout.rowCount(), static_cast<int>(lines.size()));
    EXPECT_LE(layout.height(), height);
    // A key column may name several keys: "s, l".
    std::string keys;
    for (const std::string& line : lines)
        if (line.find('\t') != std::string::npos)
            keys += "[" + std::regex_replace(line.substr(0, line.find('\t')), std::regex(", "), "][") + "]";
    for (const char* key : {"[Space]", "[a]", "[p]", "[f]", "[h]", "[d]", "[g]", "[w]", "[e]", "[s]", "[l]", "[F1]",
                            "[left click]", "[right click]"})
        EXPECT_NE(keys.find(key), std::string::npos) << key;
}
