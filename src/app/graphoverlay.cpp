#include <GL/freeglut.h>

#include <algorithm>
#include <string>

#include "view/cfitnessgraph.h"
#include "app/cparams.h"
#include "app/shell.h"

namespace
{
// The panel, in window pixels.
struct SPanel
{
    double left, bottom, right, top;
    CFitnessGraph::SAxis x, y;
    double px(double v) const { return left + v / x.dMax * (right - left); }
    double py(double v) const { return bottom + v / y.dMax * (top - bottom); }
};

void setColour(unsigned rgb)
{
    glColor3ub((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void drawLabel(double x, double y, const std::string& text)
{
    glRasterPos2d(x, y);
    for (char c : text)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_10, c);
}

int textWidth(const std::string& text)
{
    return glutBitmapLength(GLUT_BITMAP_HELVETICA_10, reinterpret_cast<const unsigned char*>(text.c_str()));
}

// Room for the legend beside the plot: its longest name after the sample line.
double legendWidth(const CFitnessGraph& graph)
{
    int widest = 0;
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
        widest = std::max(widest, textWidth(series.sName));
    return 45.0 + widest;
}

void drawBackdrop(const SPanel& p, double legend)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.05f, 0.75f);
    glRectd(p.left - 50, p.bottom - 35, p.right + legend, p.top + 25);
    glDisable(GL_BLEND);
}

void drawAxes(const SPanel& p, const CFitnessGraph& graph)
{
    glColor3f(0.6f, 0.6f, 0.7f);
    glBegin(GL_LINES);
    glVertex2d(p.left, p.bottom);
    glVertex2d(p.right, p.bottom);
    glVertex2d(p.left, p.bottom);
    glVertex2d(p.left, p.top);
    for (int k = 1; k <= p.x.iTicks; ++k)
    {
        glVertex2d(p.px(p.x.tick(k)), p.bottom);
        glVertex2d(p.px(p.x.tick(k)), p.bottom - 4);
    }
    for (int k = 1; k <= p.y.iTicks; ++k)
    {
        glVertex2d(p.left, p.py(p.y.tick(k)));
        glVertex2d(p.left - 4, p.py(p.y.tick(k)));
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int k = 0; k <= p.x.iTicks; ++k)
        drawLabel(p.px(p.x.tick(k)) - 6, p.bottom - 16, CFitnessGraph::label(p.x.tick(k)));
    for (int k = 1; k <= p.y.iTicks; ++k)
        drawLabel(p.left - 40, p.py(p.y.tick(k)) - 3, CFitnessGraph::label(p.y.tick(k)));
    drawLabel((p.left + p.right - textWidth(graph.xName())) / 2, p.bottom - 30, graph.xName());
    drawLabel(p.left - 40, p.top + 12, graph.yName());
}

void drawCurves(const CFitnessGraph& graph, const SPanel& p)
{
    double legendY = p.top - 10;
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
    {
        setColour(series.uColour);
        glLineWidth(static_cast<GLfloat>(series.dLineWidth));
        glBegin(GL_LINE_STRIP);
        for (const CFitnessGraph::SPoint& point : series.vPoints)
            glVertex2d(p.px(point.x), p.py(point.y));
        glEnd();
        glBegin(GL_LINES);
        glVertex2d(p.right + 10, legendY + 4);
        glVertex2d(p.right + 30, legendY + 4);
        glEnd();
        glLineWidth(1.0f);
        drawLabel(p.right + 35, legendY, series.sName);
        legendY -= 15;
    }
}
} // namespace

void drawFitnessGraph()
{
    const double W = CParams::Window_Width;
    const double H = CParams::Window_Height;
    const SPanel panel{0.12 * W, 0.58 * H, 0.72 * W, 0.93 * H, g_fitnessGraph.xAxis(), g_fitnessGraph.yAxis()};
    // Plain coloured lines and letters: no texture, no depth test.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    drawBackdrop(panel, legendWidth(g_fitnessGraph));
    drawAxes(panel, g_fitnessGraph);
    drawCurves(g_fitnessGraph, panel);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}
