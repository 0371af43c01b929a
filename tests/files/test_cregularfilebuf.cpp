#include "files/cregularfilebuf.h"

#include <gtest/gtest.h>

#include <istream>
#include <iterator>

#include <sys/stat.h>

#include "support/scratchfile.h"
#include "support/scratchfolder.h"

namespace
{
TEST(CRegularFileBufTest, StreamsAFileLargerThanItsBufferWhole)
{
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += std::to_string(i) + " ";
    CScratchFile file("streamed.txt", text);
    CRegularFileBuf buf;
    ASSERT_TRUE(buf.open(file.path())) << buf.error();
    std::istream in(&buf);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
    EXPECT_EQ(buf.error(), "");
}

TEST(CRegularFileBufTest, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    CScratchFolder scratch;
    ASSERT_EQ(mkfifo((scratch / "fifo").c_str(), 0644), 0); // no writer: a blocking open would hang
    ASSERT_EQ(mkdir((scratch / "folder").c_str(), 0755), 0);
    CRegularFileBuf buf;
    EXPECT_FALSE(buf.open(scratch / "fifo"));
    EXPECT_EQ(buf.error(), "is not a regular file");
    EXPECT_FALSE(buf.open(scratch / "folder"));
    EXPECT_EQ(buf.error(), "is a folder");
    EXPECT_FALSE(buf.open(scratch / "missing"));
    EXPECT_EQ(buf.error(), "No such file or directory");
    std::istream in(&buf);
    EXPECT_EQ(in.get(), std::char_traits<char>::eof()); // a refused file reads as empty
}
} // namespace
