#include "app/helppage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/devicenode.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"

namespace
{
// The lines read, with what was said about them on the standard error stream.
std::vector<std::string> readSaying(const std::string& fileName, std::string& said, size_t maxBytes = 1 << 20)
{
    ::testing::internal::CaptureStderr();
    std::vector<std::string> lines = readHelpLines(fileName, 1000, 1000, maxBytes);
    said = ::testing::internal::GetCapturedStderr();
    return lines;
}

TEST(HelpPageTest, LinesComeWithoutTheirEndsAndEmptyLinesStay)
{
    CScratchFile file("help.txt", "Keys\n\nq quits\nlast line without end");
    EXPECT_EQ(readHelpLines(file.path()), (std::vector<std::string>{"Keys", "", "q quits", "last line without end"}));
}

TEST(HelpPageTest, MissingFileGivesAnEmptyPageSilently)
{
    std::string said;
    EXPECT_TRUE(readSaying("no_such_help_page.txt", said).empty());
    EXPECT_EQ(said, "");
}

TEST(HelpPageTest, HugeFilesAreCutToBounds)
{
    CScratchFile file("huge_help.txt", std::string(5000, 'x') + "\n" + std::string(100, '\n'));
    const std::vector<std::string> lines = readHelpLines(file.path(), 10, 80);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], std::string(80, 'x'));
    EXPECT_EQ(lines[1], "");

    std::string said;
    EXPECT_TRUE(readSaying(file.path(), said, 1000).empty());
    EXPECT_EQ(said, std::string("Cannot read ") + file.path() + ": is larger than 1000 bytes\n");
}

TEST(HelpPageTest, HelpPageThatIsAFifoOrAFolderHangsIsMended)
{
    CScratchFolder scratch;
    ASSERT_EQ(mkfifo((scratch / "fifo").c_str(), 0644), 0); // no writer: a blocking open would hang
    ASSERT_EQ(mkdir((scratch / "folder").c_str(), 0755), 0);
    std::string said;
    EXPECT_TRUE(readSaying(scratch / "fifo", said).empty());
    EXPECT_EQ(said, "Cannot read " + (scratch / "fifo") + ": is not a regular file\n");
    EXPECT_TRUE(readSaying(scratch / "folder", said).empty());
    EXPECT_EQ(said, "Cannot read " + (scratch / "folder") + ": is a folder\n");
}

TEST(HelpPageTest, HelpPageThatIsADeviceIsRefusedUnread)
{
    CScratchFolder scratch;
    if (!makeDeviceNode(scratch / "zero", 5))
        GTEST_SKIP() << "this test may not make device nodes";
    std::string said;
    EXPECT_TRUE(readSaying(scratch / "zero", said).empty());
    EXPECT_EQ(said, "Cannot read " + (scratch / "zero") + ": is not a regular file\n");
}

// Their bytes are shown as they stand: the font draws what it has and skips the rest.
TEST(HelpPageTest, BinaryAndEmptyFilesAreHarmless)
{
    CScratchFile empty("empty_help.txt", "");
    std::string said;
    EXPECT_TRUE(readSaying(empty.path(), said).empty());
    EXPECT_EQ(said, "");
    const std::string binary("\x7F" "ELF\0\x01\xFF\r\n\x1B[2J\0", 14);
    CScratchFile file("binary_help.txt", binary);
    EXPECT_EQ(readSaying(file.path(), said),
              (std::vector<std::string>{std::string("\x7F" "ELF\0\x01\xFF\r", 8), std::string("\x1B[2J\0", 5)}));
    EXPECT_EQ(said, "");
}
} // namespace
