// korvane-makefontatlas FONT.ttf OUT.cpp: bakes the overlays' three fonts (10, 12 and 18 pixels,
// the sizes of the window's bitmap fonts) from a TrueType font into one alpha picture and the
// source of g_fontAtlas, every Latin-1 letter of each, at once, twice and three times their size
// for screens of that many device pixels a pixel. The browser's GL has no bitmap fonts.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "render/sfontatlas.h"

namespace
{
constexpr int kSizes[3] = {10, 12, 18};
constexpr int kFaces = 3 * SFontAtlas::kScales;

// Face f: font f % 3 at scale f / 3 + 1.
int pixelSize(int face)
{
    return kSizes[face % 3] * (face / 3 + 1);
}
constexpr int kAtlasWidth = 512;

bool hasLetter(int code)
{
    return (code >= 0x20 && code < 0x7F) || code >= 0xA0;
}

struct SBaked
{
    SGlyph glyph;
    std::vector<unsigned char> vAlpha;
};

// Every letter of one size, rendered with hinting so that stems fall on whole pixels.
bool bake(FT_Face face, int size, std::vector<SBaked>& letters)
{
    if (FT_Set_Pixel_Sizes(face, 0, size) != 0)
        return false;
    letters.assign(256, SBaked{{0, 0, 0, 0, 0, 0, 0}, {}});
    for (int code = 0; code < 256; ++code)
    {
        if (!hasLetter(code) || FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        SBaked& baked = letters[code];
        baked.glyph = {0, 0, static_cast<short>(bitmap.width), static_cast<short>(bitmap.rows),
                       static_cast<short>(slot->bitmap_left), static_cast<short>(slot->bitmap_top),
                       static_cast<short>((slot->advance.x + 32) >> 6)};
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column)
                baked.vAlpha.push_back(bitmap.buffer[row * bitmap.pitch + column]);
    }
    return true;
}

// Shelves of letters from the top-left, a pixel apart so that filtering never mixes them.
int place(std::vector<std::vector<SBaked>>& faces)
{
    int x = 1, y = 1, shelf = 0;
    for (std::vector<SBaked>& letters : faces)
        for (SBaked& letter : letters)
        {
            if (letter.glyph.w == 0)
                continue;
            if (x + letter.glyph.w + 1 > kAtlasWidth)
            {
                x = 1;
                y += shelf + 1;
                shelf = 0;
            }
            letter.glyph.x = static_cast<short>(x);
            letter.glyph.y = static_cast<short>(y);
            x += letter.glyph.w + 1;
            shelf = std::max(shelf, static_cast<int>(letter.glyph.h));
        }
    int height = 1;
    while (height < y + shelf + 1) // a power of two, as every GL takes it
        height *= 2;
    return height;
}

std::string source(const std::vector<std::vector<SBaked>>& faces, int height, const char* fontName)
{
    std::vector<unsigned char> alpha(static_cast<size_t>(kAtlasWidth) * height, 0);
    for (const std::vector<SBaked>& letters : faces)
        for (const SBaked& letter : letters)
            for (int row = 0; row < letter.glyph.h; ++row)
                for (int column = 0; column < letter.glyph.w; ++column)
                    alpha[static_cast<size_t>(letter.glyph.y + row) * kAtlasWidth + letter.glyph.x + column] =
                        letter.vAlpha[static_cast<size_t>(row) * letter.glyph.w + column];
    std::ostringstream out;
    out << "// Made by korvane-makefontatlas from " << fontName << "; do not edit.\n"
        << "#include \"render/sfontatlas.h\"\n\nnamespace\n{\nconst unsigned char kAlpha[] = {";
    for (size_t i = 0; i < alpha.size(); ++i)
        out << (i % 32 == 0 ? "\n" : "") << static_cast<int>(alpha[i]) << ",";
    out << "\n};\n} // namespace\n\nconst SFontAtlas g_fontAtlas = {" << kAtlasWidth << ", " << height << ", kAlpha, {";
    for (size_t f = 0; f < faces.size(); ++f)
    {
        out << "\n    {" << pixelSize(static_cast<int>(f)) << ", {";
        for (const SBaked& letter : faces[f])
        {
            const SGlyph& g = letter.glyph;
            out << "{" << g.x << "," << g.y << "," << g.w << "," << g.h << "," << g.left << "," << g.top << ","
                << g.advance << "},";
        }
        out << "}},";
    }
    out << "}};\n";
    return out.str();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: " << argv[0] << " FONT.ttf OUT.cpp\n";
        return 2;
    }
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &face) != 0)
    {
        std::cerr << argv[1] << ": cannot be read as a font\n";
        return 1;
    }
    std::vector<std::vector<SBaked>> faces(kFaces);
    for (int f = 0; f < kFaces; ++f)
        if (!bake(face, pixelSize(f), faces[f]))
        {
            std::cerr << argv[1] << ": cannot be set to " << pixelSize(f) << " pixels\n";
            return 1;
        }
    const int height = place(faces);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    const char* slash = std::strrchr(argv[1], '/');
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << source(faces, height, slash ? slash + 1 : argv[1]);
    out.close();
    if (!out)
    {
        std::cerr << "Cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
