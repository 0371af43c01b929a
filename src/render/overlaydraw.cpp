#include "render/overlaydraw.h"

#include <GL/gl.h>

#include <cmath>

#include "app/cparams.h"
#include "render/cglstate.h"

namespace
{
// GL takes vertices as floats in the end; a browser's GL takes nothing else.
void vertex(double x, double y)
{
    glVertex2f(static_cast<float>(x), static_cast<float>(y));
}

void setColour(const SColour& colour)
{
    glColor4f(colour.r, colour.g, colour.b, colour.a);
}

constexpr int kRingSegments = 48;
} // namespace

CPixelSpace::CPixelSpace()
{
    const int* viewport = CGlState::viewport();
    m_dWidth = viewport[2];
    m_dHeight = viewport[3];
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
    // The scene's own state, set again rather than saved and asked back of GL.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLineWidth(1.0f);
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
    glBegin(GL_QUADS);
    glVertex2f(static_cast<float>(box.left), static_cast<float>(box.bottom));
    glVertex2f(static_cast<float>(box.right), static_cast<float>(box.bottom));
    glVertex2f(static_cast<float>(box.right), static_cast<float>(box.top));
    glVertex2f(static_cast<float>(box.left), static_cast<float>(box.top));
    glEnd();
}

void outlineRect(const SRect& box, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINE_LOOP);
    vertex(box.left + 0.5, box.bottom + 0.5);
    vertex(box.right - 0.5, box.bottom + 0.5);
    vertex(box.right - 0.5, box.top - 0.5);
    vertex(box.left + 0.5, box.top - 0.5);
    glEnd();
}

void drawLine(SVector2D from, SVector2D to, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINES);
    vertex(from.x, from.y);
    vertex(to.x, to.y);
    glEnd();
}

void drawPolyline(const std::vector<SVector2D>& points, const SColour& colour, double width)
{
    setColour(colour);
    glLineWidth(static_cast<float>(width));
    glBegin(GL_LINE_STRIP);
    for (const SVector2D& point : points)
        vertex(point.x, point.y);
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
        vertex(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    glEnd();
}

void fillDisc(SVector2D centre, double radius, const SColour& colour)
{
    setColour(colour);
    glBegin(GL_TRIANGLE_FAN);
    vertex(centre.x, centre.y);
    for (int i = 0; i <= kRingSegments; ++i)
    {
        const double a = 2 * M_PI * i / kRingSegments;
        vertex(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    glEnd();
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
