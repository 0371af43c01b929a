// The browser: no GLU, and WebGL 1 builds mipmaps only for sides that are powers of two. The
// picture is scaled to the nearest powers of two, as GLU picks them, and GL builds the levels.
#include "render/mipmapupload.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

namespace
{
// The power of two nearest the value (from 1.5 times a power on, the next one up), as GLU.
int nearestPower(int value)
{
    int power = 1;
    while (power * 2 <= value)
        power *= 2;
    return value >= power + power / 2 ? power * 2 : power;
}

// Where an output pixel of a row or column samples the picture: the two neighbours and the
// second one's weight in 256ths, as bilinear resampling of pixel centres takes them.
struct SSample
{
    int iLow, iHigh, iWeight;
};

std::vector<SSample> samples(int from, int to)
{
    std::vector<SSample> list(to);
    for (int i = 0; i < to; ++i)
    {
        const double f = std::clamp((i + 0.5) * from / to - 0.5, 0.0, from - 1.0);
        const int low = static_cast<int>(f);
        list[i] = {low, std::min(low + 1, from - 1), static_cast<int>((f - low) * 256 + 0.5)};
    }
    return list;
}

// Bilinear resampling of padded RGB rows into tight ones of the new size, in whole numbers:
// the start-up's largest picture (the background) is scaled in a few milliseconds.
std::vector<unsigned char> scaled(int width, int height, const unsigned char* rgb, int toWidth, int toHeight)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::vector<SSample> columns = samples(width, toWidth), rows = samples(height, toHeight);
    std::vector<unsigned char> out(static_cast<size_t>(toWidth) * toHeight * 3);
    unsigned char* pixel = out.data();
    for (const SSample& row : rows)
    {
        const unsigned char* top = rgb + static_cast<size_t>(row.iLow) * stride;
        const unsigned char* bottom = rgb + static_cast<size_t>(row.iHigh) * stride;
        for (const SSample& column : columns)
            for (int c = 0; c < 3; ++c)
            {
                const int a = column.iLow * 3 + c, b = column.iHigh * 3 + c;
                const int upper = top[a] * (256 - column.iWeight) + top[b] * column.iWeight;
                const int lower = bottom[a] * (256 - column.iWeight) + bottom[b] * column.iWeight;
                *pixel++ = static_cast<unsigned char>((upper * (256 - row.iWeight) + lower * row.iWeight + 32768) >> 16);
            }
    }
    return out;
}
} // namespace

void uploadMipmapped(int width, int height, const unsigned char* rgb)
{
    const int toWidth = nearestPower(width), toHeight = nearestPower(height);
    const std::vector<unsigned char> pixels = scaled(width, height, rgb, toWidth, toHeight);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, toWidth, toHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
