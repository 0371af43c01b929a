// The browser: WebGL has no bitmap fonts, so the overlays' text is drawn from the glyph atlas
// baked at build time (render/sfontatlas.h), a textured quad a letter on whole pixels.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/cglstate.h"
#include "render/overlaydraw.h"
#include "render/sfontatlas.h"

namespace
{
// The atlas as a texture, made at the first text: white letters whose alpha is their coverage,
// so that GL's modulation gives them the colour asked for.
unsigned atlasTexture()
{
    static unsigned name = 0;
    if (name != 0)
        return name;
    std::vector<unsigned char> texels(static_cast<size_t>(g_fontAtlas.iWidth) * g_fontAtlas.iHeight * 2, 255);
    for (size_t i = 0; i < texels.size() / 2; ++i)
        texels[2 * i + 1] = g_fontAtlas.pAlpha[i];
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, g_fontAtlas.iWidth, g_fontAtlas.iHeight, 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

// The atlas's scale nearest the screen's device pixels a pixel.
int atlasScale()
{
    return std::clamp(static_cast<int>(std::lround(CGlState::pixelRatio())), 1, SFontAtlas::kScales);
}
} // namespace

// The text in the overlays' pixels, from glyphs of the screen's scale laid on whole device
// pixels.
void drawText(double x, double y, int font, const std::string& text, const SColour& colour)
{
    const int scale = atlasScale();
    const SFontFace& face = g_fontAtlas.aFaces[SFontAtlas::face(font, scale)];
    const float w = static_cast<float>(g_fontAtlas.iWidth), h = static_cast<float>(g_fontAtlas.iHeight);
    const float s = static_cast<float>(scale);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlasTexture());
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glBegin(GL_QUADS);
    // In device pixels from here on, divided by the scale as each vertex is given.
    float pen = std::round(static_cast<float>(x) * s);
    const float baseline = std::round(static_cast<float>(y) * s);
    for (const char c : text)
    {
        const SGlyph& g = face.aGlyphs[static_cast<unsigned char>(c)];
        if (g.w > 0)
        {
            const float left = pen + g.left, top = baseline + g.top;
            const float u0 = g.x / w, u1 = (g.x + g.w) / w, v0 = g.y / h, v1 = (g.y + g.h) / h;
            glTexCoord2f(u0, v1);
            glVertex2f(left / s, (top - g.h) / s);
            glTexCoord2f(u1, v1);
            glVertex2f((left + g.w) / s, (top - g.h) / s);
            glTexCoord2f(u1, v0);
            glVertex2f((left + g.w) / s, top / s);
            glTexCoord2f(u0, v0);
            glVertex2f(left / s, top / s);
        }
        pen += g.advance;
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

double textWidth(int font, const std::string& text)
{
    const int scale = atlasScale();
    return g_fontAtlas.width(SFontAtlas::face(font, scale), text) / scale;
}
