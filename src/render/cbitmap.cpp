#include "render/cbitmap.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include <sys/stat.h>

#include "render/cpixelbudget.h"
#include "files/safefile.h"

namespace
{
constexpr int64_t kFileHeaderSize = 14;
constexpr int64_t kInfoHeaderSize = 40;
// The info-header sizes of the Windows bitmap family; all start with the same 40 bytes.
constexpr uint32_t kKnownInfoSizes[] = {40, 52, 56, 108, 124};
// Room for the largest headers and a gap before the pixels, beyond the pixel bytes.
constexpr long long kHeadersAllowance = 1024;
// The largest file we read: the largest picture, with room for a gap as large again.
constexpr long long kLargestFile =
    kHeadersAllowance + 2LL * CBitmap::MaxSide * CBitmap::MaxSide * 3;

uint32_t readU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t readI32(const unsigned char* p)
{
    return static_cast<int32_t>(readU32(p));
}

uint16_t readU16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void putU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putU16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

bool reject(std::string& error, const std::string& reason)
{
    error = reason;
    return false;
}

// The bytes a file of a picture of at most this many pixels can need: three per pixel and
// at most three of padding per row, besides the headers.
long long bytesFor(long long pixels)
{
    return kHeadersAllowance + 3 * pixels + 3LL * CBitmap::MaxSide;
}

std::string beyondBudget(const CPixelBudget& budget)
{
    return " than the " + std::to_string(budget.getLeft()) + " left of the budget of "
           + std::to_string(budget.getTotal()) + " pixels for all pictures";
}

// The size of a regular file, or -1 for anything the reader will refuse with the reason.
long long regularFileSize(const std::string& fileName)
{
    struct stat info;
    return stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : -1;
}

bool isKnownInfoSize(uint32_t size)
{
    for (uint32_t known : kKnownInfoSizes)
        if (size == known)
            return true;
    return false;
}

// Checks the headers; on success gives the sides and where the rows start.
bool checkHeaders(const unsigned char* data, int64_t size, int32_t& width, int32_t& height, int64_t& offset,
                  std::string& error)
{
    if (size < kFileHeaderSize + kInfoHeaderSize)
        return reject(error, "too short for the bitmap headers");
    if (data[0] != 'B' || data[1] != 'M')
        return reject(error, "not a bitmap (no BM signature)");
    const uint32_t infoSize = readU32(data + 14);
    if (!isKnownInfoSize(infoSize) || kFileHeaderSize + infoSize > size)
        return reject(error, "unknown or truncated info header");
    width = readI32(data + 18);
    height = readI32(data + 22);
    if (readU16(data + 26) != 1)
        return reject(error, "plane count is not 1");
    if (readU16(data + 28) != 24)
        return reject(error, "not 24 bits per pixel");
    if (readU32(data + 30) != 0)
        return reject(error, "compressed bitmaps are not supported");
    if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min())
        return reject(error, "width or height out of range");
    if (width > CBitmap::MaxSide || height > CBitmap::MaxSide || -height > CBitmap::MaxSide)
        return reject(error, "larger than 16384 pixels on a side");
    offset = readU32(data + 10);
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    if (offset < kFileHeaderSize + infoSize || offset + CBitmap::strideFor(width) * rows > size)
        return reject(error, "pixel data lies outside the file");
    return true;
}
} // namespace

CBitmap::CBitmap(int width, int height)
    : m_iWidth(width), m_iHeight(height), m_vPixels(static_cast<size_t>(strideFor(width)) * height, 0)
{
}

bool CBitmap::decode(const unsigned char* data, size_t size, std::string& error)
{
    return decodeWithin(data, size, error, nullptr);
}

bool CBitmap::decodeWithin(const unsigned char* data, size_t size, std::string& error, CPixelBudget* budget)
{
    int32_t width = 0, height = 0;
    int64_t offset = 0;
    if (!checkHeaders(data, static_cast<int64_t>(size), width, height, offset, error))
        return false;
    const bool topDown = height < 0;
    const int rows = topDown ? -height : height;
    const long long pixels = static_cast<long long>(width) * rows;
    if (budget && !budget->take(pixels))
        return reject(error, "its " + std::to_string(width) + " x " + std::to_string(rows) + " pixels are more"
                                 + beyondBudget(*budget));
    const size_t stride = strideFor(width);
    std::vector<unsigned char> pixelBytes(stride * rows);
    for (int y = 0; y < rows; ++y)
    {
        // Our rows run bottom first; a top-down file stores its top row first.
        const int source = topDown ? rows - 1 - y : y;
        std::memcpy(pixelBytes.data() + y * stride, data + offset + source * stride, stride);
    }
    m_iWidth = width;
    m_iHeight = rows;
    m_vPixels.swap(pixelBytes);
    return true;
}

bool CBitmap::readFile(const std::string& fileName, std::string& error)
{
    return readWithin(fileName, error, nullptr);
}

bool CBitmap::readFile(const std::string& fileName, std::string& error, CPixelBudget& budget)
{
    return readWithin(fileName, error, &budget);
}

bool CBitmap::readWithin(const std::string& fileName, std::string& error, CPixelBudget* budget)
{
    const long long size = regularFileSize(fileName);
    if (size > kLargestFile)
        return reject(error, "too large to be a picture we accept");
    const long long largest = budget ? std::min(kLargestFile, bytesFor(budget->getLeft())) : kLargestFile;
    if (size > largest)
        return reject(error, "its " + std::to_string(size) + " bytes could hold more pixels" + beyondBudget(*budget));
    std::string bytes;
    if (!readRegularFile(fileName, static_cast<size_t>(largest), bytes, error))
        return reject(error, "cannot be opened: " + error);
    return decodeWithin(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), error, budget);
}

std::string CBitmap::encode() const
{
    const uint32_t imageSize = static_cast<uint32_t>(m_vPixels.size());
    std::string out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
    out += "BM";
    putU32(out, imageSize + kFileHeaderSize + kInfoHeaderSize);
    putU16(out, 0);
    putU16(out, 0);
    putU32(out, kFileHeaderSize + kInfoHeaderSize);
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(m_iWidth));
    putU32(out, static_cast<uint32_t>(m_iHeight));
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, 0);
    putU32(out, imageSize);
    for (int i = 0; i < 4; ++i) // resolutions and colour counts
        putU32(out, 0);
    out.append(reinterpret_cast<const char*>(m_vPixels.data()), m_vPixels.size());
    return out;
}

void CBitmap::swapRedBlue()
{
    for (int y = 0; y < m_iHeight; ++y)
    {
        unsigned char* p = row(y);
        for (int x = 0; x < m_iWidth; ++x, p += 3)
            std::swap(p[0], p[2]);
    }
}
