// The overlays' text in GLUT's bitmap fonts, as the desktop window draws it.
#include <GL/freeglut.h>

#include "render/overlaydraw.h"

namespace
{
void* glutFont(int font)
{
    switch (font)
    {
    case FONT_SMALL: return GLUT_BITMAP_HELVETICA_10;
    case FONT_MEDIUM: return GLUT_BITMAP_HELVETICA_12;
    default: return GLUT_BITMAP_HELVETICA_18;
    }
}
} // namespace

void drawText(double x, double y, int font, const std::string& text, const SColour& colour)
{
    // The raster position takes the colour that is current when it is set.
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glRasterPos2d(x, y);
    for (char c : text)
        glutBitmapCharacter(glutFont(font), static_cast<unsigned char>(c));
}

double textWidth(int font, const std::string& text)
{
    return glutBitmapLength(glutFont(font), reinterpret_cast<const unsigned char*>(text.c_str()));
}
