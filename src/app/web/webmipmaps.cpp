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

// Bilinear resampling of padded RGB rows into tight ones of the new size.
std::vector<unsigned char> scaled(int width, int height, const unsigned char* rgb, int toWidth, int toHeight)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> out(static_cast<size_t>(toWidth) * toHeight * 3);
    for (int y = 0; y < toHeight; ++y)
    {
        const double fy = std::clamp((y + 0.5) * height / toHeight - 0.5, 0.0, height - 1.0);
        const int y0 = static_cast<int>(fy), y1 = std::min(y0 + 1, height - 1);
        for (int x = 0; x < toWidth; ++x)
        {
            const double fx = std::clamp((x + 0.5) * width / toWidth - 0.5, 0.0, width - 1.0);
            const int x0 = static_cast<int>(fx), x1 = std::min(x0 + 1, width - 1);
            for (int c = 0; c < 3; ++c)
            {
                const auto at = [&](int px, int py) { return rgb[py * stride + px * 3 + c]; };
                const double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * (fx - x0);
                const double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * (fx - x0);
                out[(static_cast<size_t>(y) * toWidth + x) * 3 + c] =
                    static_cast<unsigned char>(top + (bottom - top) * (fy - y0) + 0.5);
            }
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
