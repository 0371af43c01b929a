#include "render/overlaydraw.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

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

// The widest line GL draws itself, asked once: a browser's WebGL draws only 1 pixel wide.
double widestLine()
{
    static const double widest = [] {
        GLfloat range[2] = {1.0f, 1.0f};
        glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, range);
        return static_cast<double>(range[1]);
    }();
    return widest;
}

// A line through the points, closed into a loop or not: GL's own where it draws that width,
// otherwise a quad for each segment.
void stroke(const std::vector<SVector2D>& points, bool closed, const SColour& colour, double width)
{
    setColour(colour);
    if (width * CGlState::pixelRatio() <= widestLine())
    {
        glLineWidth(static_cast<float>(width * CGlState::pixelRatio()));
        glBegin(closed ? GL_LINE_LOOP : GL_LINE_STRIP);
        for (const SVector2D& point : points)
            vertex(point.x, point.y);
        glEnd();
        return;
    }
    glBegin(GL_QUADS);
    const size_t segments = closed ? points.size() : points.size() - 1;
    for (size_t i = 0; i < segments && points.size() > 1; ++i)
    {
        const SVector2D& a = points[i];
        const SVector2D& b = points[(i + 1) % points.size()];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length == 0)
            continue;
        // Half the width across the segment, and as far again along it so that joins close.
        const double nx = -(b.y - a.y) / length * width / 2, ny = (b.x - a.x) / length * width / 2;
        const double ex = ny, ey = -nx;
        vertex(a.x - ex + nx, a.y - ey + ny);
        vertex(a.x - ex - nx, a.y - ey - ny);
        vertex(b.x + ex - nx, b.y + ey - ny);
        vertex(b.x + ex + nx, b.y + ey + ny);
    }
    glEnd();
}

constexpr int kRingSegments = 48;
} // namespace

CPixelSpace::CPixelSpace()
{
    // In the overlays' pixels: a screen of several device pixels a pixel shows them at the size
    // they have on any other, only sharper.
    const int* viewport = CGlState::viewport();
    m_dWidth = viewport[2] / CGlState::pixelRatio();
    m_dHeight = viewport[3] / CGlState::pixelRatio();
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
    stroke({SVector2D(box.left + 0.5, box.bottom + 0.5), SVector2D(box.right - 0.5, box.bottom + 0.5),
            SVector2D(box.right - 0.5, box.top - 0.5), SVector2D(box.left + 0.5, box.top - 0.5)},
           true, colour, width);
}

void drawLine(SVector2D from, SVector2D to, const SColour& colour, double width)
{
    stroke({from, to}, false, colour, width);
}

void drawPolyline(const std::vector<SVector2D>& points, const SColour& colour, double width)
{
    stroke(points, false, colour, width);
}

void drawRing(SVector2D centre, double radius, const SColour& colour, double width)
{
    std::vector<SVector2D> points;
    for (int i = 0; i < kRingSegments; ++i)
    {
        const double a = 2 * M_PI * i / kRingSegments;
        points.emplace_back(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    stroke(points, true, colour, width);
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
