#include "app/framenames.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "support/scratchfolder.h"

namespace
{
TEST(FrameNamesTest, NumbersAreRightAlignedInFiveCharacters)
{
    EXPECT_EQ(frameFileName(0), "frame    0.bmp");
    EXPECT_EQ(frameFileName(24), "frame   24.bmp");
    EXPECT_EQ(frameFileName(123456), "frame123456.bmp");
}

TEST(FrameNamesTest, SecondRunOverwritesTheFirstRunsFramesIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    EXPECT_EQ(firstFreeFrame(folder.path(), 0), 0);
    std::ofstream(folder / frameFileName(0)) << "run 1";
    ASSERT_EQ(symlink("nowhere.bmp", (folder / frameFileName(2)).c_str()), 0);
    ASSERT_EQ(mkdir((folder / frameFileName(4)).c_str(), 0755), 0);
    EXPECT_EQ(firstFreeFrame(folder.path(), 0), 6);
    EXPECT_EQ(firstFreeFrame(folder.path(), 4), 6);
    EXPECT_EQ(firstFreeFrame(folder.path(), 8), 8);
}

TEST(FrameNamesTest, SearchEndsAtTheLargestNumber)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    EXPECT_EQ(firstFreeFrame(folder.path(), INT_MAX - 1), INT_MAX - 1);
    std::ofstream(folder / frameFileName(INT_MAX - 1)) << "last";
    EXPECT_EQ(firstFreeFrame(folder.path(), INT_MAX - 1), -1);
}
} // namespace
