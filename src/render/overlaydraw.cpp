#include "render/overlaydraw.h"

#include <GL/freeglut.h>

#include <cmath>

#include "app/cparams.h"

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

void setColour(const SColour& colour)
{
    glColor4f(colour.r, colour.g, colour.b, colour.a);
}

constexpr int kRingSegments = 48;
} // namespace

CPixelSpace::CPixelSpace()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    m_dWidth = viewport[2];
    m_dHeight = viewport[3];
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, m_dWidth, 0, m_dHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

CPixelSpace::~CPixelSpace()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

double CPixelSpace::scale() const
{
    return m_dWidth / CParams::Window_Width;
}

SVector2D CPixelSpace::fromWorld(SVector2D world) const
{
    return SVector2D(world.x * m_dWidth / CParams::Window_Width, world.y * m_dHeight / CParams::Window_Height);
}

SRect CPixelSpace::fromWorld(const SRect& world) const
{
    const SVector2D topLeft = fromWorld(SVector2D(world.left, world.top));
    const SVector2D bottomRight = fromWorld(SVector2D(world.right, world.bottom));
    return SRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

void fillRect(const SRect& box, const SColour& colour)
{
    setColour(colour);
    glRectd(box.left, box.bottom, box.right, box.top);
}

void outlineRect(const SRect& box, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINE_LOOP);
    glVertex2d(box.left + 0.5, box.bottom + 0.5);
    glVertex2d(box.right - 0.5, box.bottom + 0.5);
    glVertex2d(box.right - 0.5, box.top - 0.5);
    glVertex2d(box.left + 0.5, box.top - 0.5);
    glEnd();
}

void drawLine(SVector2D from, SVector2D to, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINES);
    glVertex2d(from.x, from.y);
    glVertex2d(to.x, to.y);
    glEnd();
}

void drawPolyline(const std::vector<SVector2D>& points, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINE_STRIP);
    for (const SVector2D& point : points)
        glVertex2d(point.x, point.y);
    glEnd();
}

void drawRing(SVector2D centre, double radius, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRingSegments; ++i)
    {
        const double a = 2 * M_PI * i / kRingSegments;
        glVertex2d(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    glEnd();
}

void fillDisc(SVector2D centre, double radius, const SColour& colour)
{
    setColour(colour);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(centre.x, centre.y);
    for (int i = 0; i <= kRingSegments; ++i)
    {
        const double a = 2 * M_PI * i / kRingSegments;
        glVertex2d(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    glEnd();
}

void drawText(double x, double y, int font, const std::string& text, const SColour& colour)
{
    // The raster position takes the colour that is current when it is set.
    setColour(colour);
    glRasterPos2d(x, y);
    for (char c : text)
        glutBitmapCharacter(glutFont(font), static_cast<unsigned char>(c));
}

double textWidth(int font, const std::string& text)
{
    return glutBitmapLength(glutFont(font), reinterpret_cast<const unsigned char*>(text.c_str()));
}

double lineHeight(int font)
{
    switch (font)
    {
    case FONT_SMALL: return 12;
    case FONT_MEDIUM: return 15;
    default: return 20;
    }
}

double textDescent(int font)
{
    return font == FONT_LARGE ? 4 : 3;
}
