// The browser: WebGL has no bitmap fonts, so the overlays' text is drawn from the glyph atlas
// baked at build time (render/sfontatlas.h), a textured quad a letter on whole pixels.
#include <GL/gl.h>

#include <cmath>
#include <vector>

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
} // namespace

void drawText(double x, double y, int font, const std::string& text, const SColour& colour)
{
    const SFontFace& face = g_fontAtlas.aFaces[font];
    const float w = static_cast<float>(g_fontAtlas.iWidth), h = static_cast<float>(g_fontAtlas.iHeight);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlasTexture());
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glBegin(GL_QUADS);
    float pen = std::round(static_cast<float>(x));
    const float baseline = std::round(static_cast<float>(y));
    for (const char c : text)
    {
        const SGlyph& g = face.aGlyphs[static_cast<unsigned char>(c)];
        if (g.w > 0)
        {
            const float left = pen + g.left, top = baseline + g.top;
            const float u0 = g.x / w, u1 = (g.x + g.w) / w, v0 = g.y / h, v1 = (g.y + g.h) / h;
            glTexCoord2f(u0, v1);
            glVertex2f(left, top - g.h);
            glTexCoord2f(u1, v1);
            glVertex2f(left + g.w, top - g.h);
            glTexCoord2f(u1, v0);
            glVertex2f(left + g.w, top);
            glTexCoord2f(u0, v0);
            glVertex2f(left, top);
        }
        pen += g.advance;
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

double textWidth(int font, const std::string& text)
{
    return g_fontAtlas.width(font, text);
}
