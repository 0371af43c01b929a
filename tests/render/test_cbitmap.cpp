#include "render/cbitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "render/cpixelbudget.h"
#include "support/devicenode.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"

namespace
{
// A bitmap whose every byte differs from its neighbours, so that misplaced rows show.
CBitmap patterned(int width, int height)
{
    CBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            bitmap.row(y)[i] = static_cast<unsigned char>(1 + (y * 31 + i * 7) % 250);
    return bitmap;
}

std::vector<unsigned char> bytesOf(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

void putI32(std::vector<unsigned char>& bytes, size_t at, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::string decodeError(const std::vector<unsigned char>& bytes)
{
    CBitmap bitmap = patterned(2, 2);
    std::string error;
    EXPECT_FALSE(bitmap.decode(bytes.data(), bytes.size(), error));
    EXPECT_EQ(bitmap.getWidth(), 2); // a refused file leaves the bitmap as it was
    return error;
}

TEST(CBitmapTest, HeaderFollowsTheFileLayoutFieldByField)
{
    const std::string file = patterned(101, 2).encode();
    ASSERT_EQ(file.size(), 54u + 304 * 2); // a 101-pixel row pads 303 bytes to 304
    const auto* p = reinterpret_cast<const unsigned char*>(file.data());
    auto u32 = [p](int at) { return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (p[at + 3] << 24); };
    auto u16 = [p](int at) { return p[at] | (p[at + 1] << 8); };
    EXPECT_EQ(u16(0), 0x4D42);
    EXPECT_EQ(u32(2), 54 + 608);
    EXPECT_EQ(u16(6), 0);
    EXPECT_EQ(u16(8), 0);
    EXPECT_EQ(u32(10), 54);
    EXPECT_EQ(u32(14), 40);
    EXPECT_EQ(u32(18), 101);
    EXPECT_EQ(u32(22), 2);
    EXPECT_EQ(u16(26), 1);
    EXPECT_EQ(u16(28), 24);
    EXPECT_EQ(u32(30), 0);
    EXPECT_EQ(u32(34), 608);
    for (int at = 38; at < 54; at += 4)
        EXPECT_EQ(u32(at), 0);
}

TEST(CBitmapTest, EveryPaddingAmountRoundTrips)
{
    for (int width = 1; width <= 5; ++width)
    {
        const CBitmap original = patterned(width, 3);
        const std::vector<unsigned char> file = bytesOf(original.encode());
        CBitmap decoded;
        std::string error;
        ASSERT_TRUE(decoded.decode(file.data(), file.size(), error)) << error;
        ASSERT_EQ(decoded.getWidth(), width);
        ASSERT_EQ(decoded.getHeight(), 3);
        EXPECT_EQ(decoded.getStride() % 4, 0);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(std::memcmp(decoded.row(y), original.row(y), width * 3), 0) << "width " << width;
    }
}

TEST(CBitmapTest, TopDownFileIsFlippedToBottomFirstRows)
{
    const CBitmap original = patterned(3, 4);
    std::vector<unsigned char> file = bytesOf(original.encode());
    putI32(file, 22, -4);
    // Rewrite the rows top first.
    for (int y = 0; y < 4; ++y)
        std::memcpy(file.data() + 54 + y * 12, original.row(3 - y), 12);
    CBitmap decoded;
    std::string error;
    ASSERT_TRUE(decoded.decode(file.data(), file.size(), error)) << error;
    EXPECT_EQ(decoded.getHeight(), 4);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(std::memcmp(decoded.row(y), original.row(y), 9), 0);
}

TEST(CBitmapTest, SwapRedBlueTurnsEveryPixelAndLeavesPadding)
{
    CBitmap bitmap = patterned(3, 2); // 9 bytes of pixels, 3 of padding per row
    bitmap.row(0)[9] = 0xAA;
    const CBitmap before = bitmap;
    bitmap.swapRedBlue();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
        {
            EXPECT_EQ(bitmap.row(y)[3 * x], before.row(y)[3 * x + 2]);
            EXPECT_EQ(bitmap.row(y)[3 * x + 1], before.row(y)[3 * x + 1]);
            EXPECT_EQ(bitmap.row(y)[3 * x + 2], before.row(y)[3 * x]);
        }
    EXPECT_EQ(bitmap.row(0)[9], 0xAA);
}

TEST(CBitmapTest, MalformedFilesAreRefusedWithTheReason)
{
    const std::vector<unsigned char> good = bytesOf(patterned(4, 4).encode());
    auto with = [&good](size_t at, int32_t value, int bytes = 4)
    {
        std::vector<unsigned char> b = good;
        for (int i = 0; i < bytes; ++i)
            b[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
        return b;
    };
    EXPECT_EQ(decodeError({}), "too short for the bitmap headers");
    EXPECT_EQ(decodeError(std::vector<unsigned char>(good.begin(), good.begin() + 53)), "too short for the bitmap headers");
    EXPECT_EQ(decodeError(with(0, 'P' | ('K' << 8), 2)), "not a bitmap (no BM signature)");
    EXPECT_EQ(decodeError(with(14, 12)), "unknown or truncated info header");
    EXPECT_EQ(decodeError(with(14, 124)), "unknown or truncated info header"); // 138 bytes of header, 102 in the file
    EXPECT_EQ(decodeError(with(26, 2, 2)), "plane count is not 1");
    EXPECT_EQ(decodeError(with(28, 32, 2)), "not 24 bits per pixel");
    EXPECT_EQ(decodeError(with(30, 1)), "compressed bitmaps are not supported");
    EXPECT_EQ(decodeError(with(18, 0)), "width or height out of range");
    EXPECT_EQ(decodeError(with(18, -4)), "width or height out of range");
    EXPECT_EQ(decodeError(with(22, 0)), "width or height out of range");
    EXPECT_EQ(decodeError(with(22, INT32_MIN)), "width or height out of range");
    EXPECT_EQ(decodeError(with(18, 16385)), "larger than 16384 pixels on a side");
    EXPECT_EQ(decodeError(with(22, -16385)), "larger than 16384 pixels on a side");
    // Headers that claim more pixels than the file holds, or put them outside it.
    EXPECT_EQ(decodeError(with(22, 5)), "pixel data lies outside the file");
    EXPECT_EQ(decodeError(with(18, 16384)), "pixel data lies outside the file");
    EXPECT_EQ(decodeError(with(10, 55)), "pixel data lies outside the file");
    EXPECT_EQ(decodeError(with(10, 0xFFFFFFF0)), "pixel data lies outside the file");
    EXPECT_EQ(decodeError(with(10, 20)), "pixel data lies outside the file");
    EXPECT_EQ(decodeError(std::vector<unsigned char>(good.begin(), good.end() - 1)), "pixel data lies outside the file");
}

TEST(CBitmapTest, UntrustedSizeFieldsAreIgnored)
{
    std::vector<unsigned char> file = bytesOf(patterned(4, 4).encode());
    putI32(file, 2, 7);   // file size
    putI32(file, 34, -1); // image size
    putI32(file, 46, 999999); // colours used
    CBitmap decoded;
    std::string error;
    EXPECT_TRUE(decoded.decode(file.data(), file.size(), error)) << error;
}

TEST(CBitmapTest, HugeFileIsRefusedBeforeItIsRead)
{
    // Sparse: two gigabytes on paper, nothing on disk.
    CScratchFile file("huge.bmp", patterned(4, 4).encode());
    ASSERT_EQ(truncate(file.path(), 2LL << 30), 0);
    CBitmap bitmap;
    std::string error;
    EXPECT_FALSE(bitmap.readFile(file.path(), error));
    EXPECT_EQ(error, "too large to be a picture we accept");
}

TEST(CBitmapTest, ReadFileNamesMissingFiles)
{
    CBitmap bitmap;
    std::string error;
    EXPECT_FALSE(bitmap.readFile("no_such_picture.bmp", error));
    EXPECT_EQ(error, "cannot be opened: No such file or directory");
    CScratchFile file("picture.bmp", patterned(5, 2).encode());
    EXPECT_TRUE(bitmap.readFile(file.path(), error)) << error;
    EXPECT_EQ(bitmap.getWidth(), 5);
}
TEST(CBitmapTest, BitmapThatIsAFifoOrAFolderHangsIsMended)
{
    CScratchFolder scratch;
    ASSERT_EQ(mkfifo((scratch / "fifo.bmp").c_str(), 0644), 0); // no writer: a blocking open would hang
    ASSERT_EQ(mkdir((scratch / "folder.bmp").c_str(), 0755), 0);
    CBitmap bitmap = patterned(2, 2);
    std::string error;
    EXPECT_FALSE(bitmap.readFile(scratch / "fifo.bmp", error));
    EXPECT_EQ(error, "cannot be opened: is not a regular file");
    EXPECT_FALSE(bitmap.readFile(scratch / "folder.bmp", error));
    EXPECT_EQ(error, "cannot be opened: is a folder");
    EXPECT_EQ(bitmap.getWidth(), 2); // a refused file leaves the bitmap as it was
}

TEST(CBitmapTest, BitmapThatIsADeviceIsRefusedUnread)
{
    CScratchFolder scratch;
    if (!makeDeviceNode(scratch / "zero.bmp", 5))
        GTEST_SKIP() << "this test may not make device nodes";
    CBitmap bitmap;
    std::string error;
    EXPECT_FALSE(bitmap.readFile(scratch / "zero.bmp", error));
    EXPECT_EQ(error, "cannot be opened: is not a regular file");
}

// Each file may hold up to 16384 x 16384 pixels; pictures read through one budget share it.
TEST(CBitmapTest, PicturesTogetherHaveNoPixelBoundIsMended)
{
    CScratchFile small("small.bmp", patterned(8, 8).encode());
    CScratchFile wide("wide.bmp", patterned(200, 100).encode()); // 60,054 bytes
    CPixelBudget budget(100);
    CBitmap bitmap;
    std::string error;
    ASSERT_TRUE(bitmap.readFile(small.path(), error, budget)) << error;
    EXPECT_EQ(budget.getLeft(), 36);
    // Its pixels are read from the headers and refused before they are stored.
    EXPECT_FALSE(bitmap.readFile(small.path(), error, budget));
    EXPECT_EQ(error, "its 8 x 8 pixels are more than the 36 left of the budget of 100 pixels for all pictures");
    // Its size alone is too much: refused before it is read.
    EXPECT_FALSE(bitmap.readFile(wide.path(), error, budget));
    EXPECT_EQ(error, "its 60054 bytes could hold more pixels than the 36 left of the budget of 100 pixels for all "
                     "pictures");
    EXPECT_EQ(budget.getLeft(), 36); // refused pictures take nothing
    budget.giveBack(64);
    EXPECT_TRUE(bitmap.readFile(small.path(), error, budget)) << error;
    // Alone, a file is bounded only by its sides.
    EXPECT_TRUE(bitmap.readFile(wide.path(), error)) << error;
}

// Palette, run-length and bit-field files are refused with the reason; the longer headers
// of later Windows versions are read like the 40-byte one.
TEST(CBitmapTest, PaletteRleAndV5FilesAreHandled)
{
    const std::vector<unsigned char> plain = bytesOf(patterned(4, 3).encode());
    auto withFields = [](std::vector<unsigned char> file, uint16_t bits, uint32_t compression)
    {
        file[28] = static_cast<unsigned char>(bits);
        file[29] = 0;
        putI32(file, 30, static_cast<int32_t>(compression));
        return file;
    };
    // An 8-bit file with its 256-colour palette, then the same run-length encoded.
    std::vector<unsigned char> palette = withFields(plain, 8, 0);
    palette.insert(palette.begin() + 54, 1024, 0x80);
    putI32(palette, 10, 54 + 1024);
    EXPECT_EQ(decodeError(palette), "not 24 bits per pixel");
    EXPECT_EQ(decodeError(withFields(palette, 8, 1)), "not 24 bits per pixel");
    EXPECT_EQ(decodeError(withFields(plain, 4, 2)), "not 24 bits per pixel");
    EXPECT_EQ(decodeError(withFields(plain, 24, 3)), "compressed bitmaps are not supported");

    for (int32_t infoSize : {108, 124})
    {
        std::vector<unsigned char> longer = plain;
        longer.insert(longer.begin() + 54, infoSize - 40, 0);
        putI32(longer, 14, infoSize);
        putI32(longer, 10, 14 + infoSize);
        CBitmap decoded;
        std::string error;
        ASSERT_TRUE(decoded.decode(longer.data(), longer.size(), error)) << infoSize << ": " << error;
        EXPECT_EQ(decoded.encode(), patterned(4, 3).encode()) << infoSize;
    }
}
} // namespace
