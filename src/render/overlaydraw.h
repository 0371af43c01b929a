#pragma once

#include <string>
#include <vector>

#include "view/cviewcolours.h"
#include "world/utils.h"

// Drawing of the text and shapes laid over the scene, in pixels of the picture.

// The overlays' bitmap fonts.
constexpr int FONT_SMALL = 0;  // Helvetica 10
constexpr int FONT_MEDIUM = 1; // Helvetica 12
constexpr int FONT_LARGE = 2;  // Helvetica 18

// While it lives, drawing is in pixels of the current viewport from its bottom-left corner,
// untextured, without the depth test, translucent colours blended over what is there. The
// matrices come back as they were when it ends, and the scene's own state is set again
// (texturing, the depth test and face culling on, blending off, white, lines 1 pixel wide),
// so the scene's sprites draw on unchanged; nothing is asked of GL.
class CPixelSpace
{
public:
    CPixelSpace();
    ~CPixelSpace();
    CPixelSpace(const CPixelSpace&) = delete;
    CPixelSpace& operator=(const CPixelSpace&) = delete;

    double width() const { return m_dWidth; }
    double height() const { return m_dHeight; }
    // Pixels per world unit: the viewport shows the whole world.
    double scale() const;
    SVector2D fromWorld(SVector2D world) const;
    SRect fromWorld(const SRect& world) const;

private:
    double m_dWidth;
    double m_dHeight;
};

void fillRect(const SRect& box, const SColour& colour);
void outlineRect(const SRect& box, const SColour& colour, double width);
void drawLine(SVector2D from, SVector2D to, const SColour& colour, double width);
void drawPolyline(const std::vector<SVector2D>& points, const SColour& colour, double width);
void drawRing(SVector2D centre, double radius, const SColour& colour, double width);
void fillDisc(SVector2D centre, double radius, const SColour& colour);
// Text with its baseline starting at (x, y); the start must lie in the viewport or nothing
// is drawn, as GL drops a raster position outside it.
void drawText(double x, double y, int font, const std::string& text, const SColour& colour);
double textWidth(int font, const std::string& text);
// From one baseline to the next.
double lineHeight(int font);
// How far the letters reach below the baseline.
double textDescent(int font);
