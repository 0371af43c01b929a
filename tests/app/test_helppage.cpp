#include "app/helppage.h"

#include <gtest/gtest.h>

#include "support/scratchfile.h"

TEST(HelpPageTest, LinesComeWithoutTheirEndsAndEmptyLinesStay)
{
    CScratchFile file("help.txt", "Keys\n\nq quits\nlast line without end");
    EXPECT_EQ(readHelpLines(file.path()), (std::vector<std::string>{"Keys", "", "q quits", "last line without end"}));
}

TEST(HelpPageTest, MissingFileGivesAnEmptyPage)
{
    EXPECT_TRUE(readHelpLines("no_such_help_page.txt").empty());
}

TEST(HelpPageTest, HugeFilesAreCutToBounds)
{
    CScratchFile file("huge_help.txt", std::string(5000, 'x') + "\n" + std::string(100, '\n'));
    const std::vector<std::string> lines = readHelpLines(file.path(), 10, 80);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], std::string(80, 'x'));
    EXPECT_EQ(lines[1], "");
}
