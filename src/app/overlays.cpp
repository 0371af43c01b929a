#include <GL/freeglut.h>

#include <cmath>
#include <sstream>

#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "app/helppage.h"
#include "app/shell.h"
#include "brain/calien_population.h"
#include "world/cgun.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;

void drawText(float x, float y, void* font, const char* szText)
{
    // Untextured, so that the letters take the current colour (white) and not whatever
    // texel the raster position's texture coordinate lands on.
    glDisable(GL_TEXTURE_2D);
    glRasterPos2f(x, y);
    for (const char* c = szText; *c; ++c)
        glutBitmapCharacter(font, *c);
    glEnable(GL_TEXTURE_2D);
}

// Doubles as the default stream writes them: at most six significant digits.
template <typename T> std::string format(const T& value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

void drawSmall(double x, double y, const std::string& text)
{
    drawText(static_cast<float>(x), static_cast<float>(y), GLUT_BITMAP_HELVETICA_10, text.c_str());
}

void drawStats(int numDead, int bestAge, int worstAge)
{
    const double x = 0.02 * CParams::Window_Width;
    const double y = 0.85 * CParams::Window_Height;
    const std::string lines[] = {"Number Dead = " + std::to_string(numDead), "Best Age = " + std::to_string(bestAge),
                                 "Worst Age = " + std::to_string(worstAge)};
    for (int i = 0; i < 3; ++i)
        drawText(static_cast<float>(x), static_cast<float>(y - 25 * i), GLUT_BITMAP_HELVETICA_18, lines[i].c_str());
}

void drawGreenProbe(const CAlien& alien, SVector2D gunPos, const PopulationList& populations)
{
    const SVector2D p = alien.getPosition();
    const double W = CParams::Alien_Width;
    const double H = CParams::Alien_Height;
    const SVector2D toGun = alien.getVectorToGun(gunPos);
    const std::vector<double> sensors = alien.getSensorValues(populations);
    drawSmall(p.x - W / 2, p.y - 3 * H, "A-Age=" + std::to_string(alien.getPrevAge()));
    drawSmall(p.x - W / 2, p.y - 4 * H, "( " + format(toGun.x) + " ," + format(toGun.y) + " )");
    drawSmall(p.x - W / 2, p.y + 2 * H, format(sensors[0]));
    drawSmall(p.x - W / 2, p.y - 2 * H, format(sensors[2]));
    drawSmall(p.x - 2 * W, p.y + H / 2, format(sensors[3]));
    drawSmall(p.x + 2 * W, p.y + H / 2, format(sensors[1]));
}

void drawRedProbe(const CAlien_Red& red, SVector2D gunPos, const PopulationList& populations)
{
    const SVector2D p = red.getPosition();
    const double a = (90 - red.getTurretAngle()) * 3.14 / 180;
    const std::vector<double> values = red.getLookAheadValues(gunPos, populations, a);
    drawSmall(p.x + std::cos(a) * 2 * CParams::Alien_Diagonal, p.y + std::sin(a) * 2 * CParams::Alien_Diagonal,
              format(values[1]));
}
} // namespace

void toggleHelp()
{
    if (g_bShowHelp)
    {
        g_bShowHelp = false;
        return;
    }
    g_bShowHelp = true;
    if (!g_bHelpLoaded)
    {
        g_vHelpLines = readHelpLines("HelpPage.txt");
        g_bHelpLoaded = true;
    }
}

void drawHelpPage()
{
    const double x = 0.2 * CParams::Window_Width;
    double y = 0.8 * CParams::Window_Height;
    for (const std::string& line : g_vHelpLines)
    {
        drawText(static_cast<float>(x), static_cast<float>(y), GLUT_BITMAP_HELVETICA_18, line.c_str());
        y -= 20;
    }
}

void drawDebugOverlay()
{
    drawStats(g_iDeadInPeriod, static_cast<int>(g_dBestAge), static_cast<int>(g_dWorstAge));
    const PopulationList populations = g_gameController.getPopulations();
    const SVector2D gunPos = g_gameController.getGun()->getPosition();
    if (!populations[kGreen]->getAliens().empty())
        drawGreenProbe(*populations[kGreen]->getAliens().front(), gunPos, populations);
    if (!populations[kRed]->getAliens().empty())
        drawRedProbe(*static_cast<const CAlien_Red*>(populations[kRed]->getAliens().front()), gunPos, populations);
}
