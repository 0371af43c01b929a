#pragma once

#include <string>

// The overlays' three fonts (small, medium, large) baked into one alpha picture for a GL that
// has no bitmap fonts (WebGL): every Latin-1 letter of each, placed in the picture, with its
// offset from the pen and its advance, in device pixels, at one, two and three device pixels a
// pixel (kScales), so that text is sharp on any screen. Made by korvane-makefontatlas from a
// TrueType font.
struct SGlyph
{
    short x, y, w, h; // in the picture, rows from its top
    short left;       // from the pen to the glyph's left edge
    short top;        // from the baseline up to the glyph's top row
    short advance;    // from this pen position to the next
};

struct SFontFace
{
    int iPixelSize;
    SGlyph aGlyphs[256]; // by Latin-1 code; a code without a letter has nothing and no advance
};

struct SFontAtlas
{
    static constexpr int kScales = 3;

    int iWidth, iHeight;
    const unsigned char* pAlpha; // iWidth * iHeight coverage values, rows from the top
    // FONT_SMALL, FONT_MEDIUM, FONT_LARGE at scale 1, then at 2, then at 3.
    SFontFace aFaces[3 * kScales];

    static int face(int font, int scale) { return font + 3 * (scale - 1); }

    // The advance of the text in device pixels, as the pen moves through it.
    double width(int face, const std::string& text) const
    {
        double sum = 0;
        for (const char c : text)
            sum += aFaces[face].aGlyphs[static_cast<unsigned char>(c)].advance;
        return sum;
    }
};

// The baked atlas, in the builds that draw text with it.
extern const SFontAtlas g_fontAtlas;
