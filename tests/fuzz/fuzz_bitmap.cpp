// Any bytes are decoded without a crash; an accepted picture has every row it claims and
// encodes to a file that decodes to the same picture.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzzsupport.h"
#include "render/cbitmap.h"

namespace
{
constexpr size_t kHeadersSize = 54;

// Reads every byte of every row, so that a pixel buffer shorter than the sides claim
// shows under AddressSanitizer.
unsigned long sumOfRows(const CBitmap& bitmap)
{
    unsigned long sum = 0;
    for (int y = 0; y < bitmap.getHeight(); ++y)
        for (int x = 0; x < bitmap.getStride(); ++x)
            sum += bitmap.row(y)[x];
    return sum;
}

unsigned long sumOfBytes(const std::string& bytes, size_t from)
{
    unsigned long sum = 0;
    for (size_t i = from; i < bytes.size(); ++i)
        sum += static_cast<unsigned char>(bytes[i]);
    return sum;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CBitmap bitmap;
    std::string error;
    if (!bitmap.decode(data, size, error))
    {
        fuzzCheck(!error.empty() && bitmap.getWidth() == 0 && bitmap.getHeight() == 0,
                  "a refused bitmap says why and stays empty");
        return 0;
    }
    const std::string encoded = bitmap.encode();
    fuzzCheck(encoded.size() == kHeadersSize + static_cast<size_t>(bitmap.getStride()) * bitmap.getHeight(),
              "the encoded file holds the headers and every row");
    fuzzCheck(sumOfRows(bitmap) == sumOfBytes(encoded, kHeadersSize), "the encoded rows are the decoded rows");

    CBitmap again;
    fuzzCheck(again.decode(reinterpret_cast<const unsigned char*>(encoded.data()), encoded.size(), error),
              "an encoded bitmap decodes");
    fuzzCheck(again.encode() == encoded, "decoding an encoded bitmap loses nothing");
    return 0;
}
