#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CPixelBudget;

// An uncompressed 24-bit picture as BMP files hold it: rows bottom first, each padded to a
// multiple of 4 bytes, pixels in blue, green, red order. Reading checks every header field
// against the real size of the data, since bitmap files come from outside the program.
class CBitmap
{
public:
    static constexpr int MaxSide = 16384;

    CBitmap() : m_iWidth(0), m_iHeight(0) {}
    // An all-black picture.
    CBitmap(int width, int height);

    // False, with the reason in error and this bitmap unchanged, for anything but a
    // well-formed uncompressed 24-bit file; a top-down file is flipped to bottom-first rows.
    bool decode(const unsigned char* data, size_t size, std::string& error);
    // Reads the whole file and decodes it. Only a regular file is read, never blocking on
    // it: a folder, FIFO or device is refused with the reason, as is a file larger than any
    // picture we accept, before any of it is read.
    bool readFile(const std::string& fileName, std::string& error);
    // The same within a budget shared with other pictures: a file too large for the pixels
    // left is refused before it is read, a picture with more pixels before they are stored;
    // an accepted picture takes its pixels from the budget.
    bool readFile(const std::string& fileName, std::string& error, CPixelBudget& budget);
    // The complete file: the 14-byte file header, the 40-byte info header, the rows.
    std::string encode() const;

    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    int getStride() const { return strideFor(m_iWidth); }
    static int strideFor(int width) { return (width * 3 + 3) / 4 * 4; }

    // Bytes of row y (0 is the bottom row), getStride() of them.
    unsigned char* row(int y) { return m_vPixels.data() + static_cast<size_t>(y) * getStride(); }
    const unsigned char* row(int y) const { return m_vPixels.data() + static_cast<size_t>(y) * getStride(); }
    // Turns blue, green, red into red, green, blue (and back), leaving the row padding alone.
    void swapRedBlue();

private:
    bool readWithin(const std::string& fileName, std::string& error, CPixelBudget* budget);
    bool decodeWithin(const unsigned char* data, size_t size, std::string& error, CPixelBudget* budget);

    int m_iWidth;
    int m_iHeight;
    std::vector<unsigned char> m_vPixels; // height rows of getStride() bytes, bottom row first
};
