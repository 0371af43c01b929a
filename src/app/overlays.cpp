#include <GL/glut.h>

#include <cmath>
#include <sstream>

#include "aliens/calien_red.h"
#include "view/ckeyfeedback.h"
#include "view/clabelplacer.h"
#include "view/cstatslines.h"
#include "view/ctextfit.h"
#include "view/coverlaylayout.h"
#include "app/cparams.h"
#include "app/overlays.h"
#include "brain/calien_population.h"
#include "render/helppanel.h"
#include "render/hudline.h"
#include "render/inspectorview.h"
#include "render/overlaydraw.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
constexpr int kBlue = 2;
constexpr double kLabelMargin = 2.0;

// Doubles as the default stream writes them: at most six significant digits.
template <typename T> std::string format(const T& value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

constexpr double kStatsLineStep = 25.0;

// The statistics lines where they always stood, in pixels of the picture: the first one's
// baseline starts at the point; their block takes every letter, and each line is shortened to
// stay inside the picture.
class CStatsBlock
{
public:
    CStatsBlock(const CPixelSpace& space, const SFrameOverlays& overlays)
        : m_at(space.fromWorld(SVector2D(0.02 * CParams::Window_Width, 0.85 * CParams::Window_Height)))
    {
        const auto width = [](const std::string& text) { return textWidth(FONT_LARGE, text); };
        for (const std::string& line : CStatsLines::lines(overlays.iDeadInPeriod, CParams::Stats_UpdateInterval,
                                                          overlays.dBestFitness, overlays.dWorstFitness))
            m_vLines.push_back(CTextFit::fitted(line, width, space.width() - 2 * m_at.x));
    }

    SRect block() const
    {
        SRect box(m_at.x, m_at.y + lineHeight(FONT_LARGE), m_at.x,
                  m_at.y - kStatsLineStep * (m_vLines.size() - 1) - textDescent(FONT_LARGE));
        for (const std::string& line : m_vLines)
            box.right = std::max(box.right, m_at.x + textWidth(FONT_LARGE, line));
        return box;
    }

    void draw() const
    {
        for (size_t i = 0; i < m_vLines.size(); ++i)
            drawText(m_at.x, m_at.y - kStatsLineStep * i, FONT_LARGE, m_vLines[i], CViewColours::kPanelText);
    }

private:
    SVector2D m_at;
    std::vector<std::string> m_vLines;
};

// Where the panels lie in this frame; it remembers the side the inspector's panel took.
COverlayLayout g_overlayLayout;

const COverlayLayout& overlayLayout(const CPixelSpace& space, const SFrameOverlays& overlays)
{
    const double hudRoom = overlays.bHud ? space.height() - hudBox(space).bottom : 0.0;
    // The panels keep clear of the gun and of the room its bullets start in.
    const CGun& gun = *overlays.pWorld->getGun();
    const double gunRoom = space.fromWorld(SVector2D(0, gun.getPosition().y + CParams::Gun_Height)).y;
    const SRect stats = CStatsBlock(space, overlays).block();
    const CAlien* alien = overlays.pInspected;
    g_overlayLayout.layout({space.width(), space.height(), hudRoom, gunRoom, newestMessageTop(space),
                            overlays.bStats ? &stats : nullptr, overlays.bGraph, alien != nullptr,
                            alien ? space.fromWorld(alien->getPosition()).x : 0.0, overlays.bHelp});
    return g_overlayLayout;
}

// The statistics overlay's texts in pixels of the picture: the statistics lines, the probes'
// values beside their aliens, kept inside the picture and off the statistics lines, the
// heads-up line and the panels.
class CStatsOverlay
{
public:
    CStatsOverlay(const CPixelSpace& space, const SFrameOverlays& overlays) : m_space(space), m_overlays(overlays)
    {
        if (overlays.bHud)
            m_vKeepOut.push_back(hudBox(space));
        const COverlayLayout& layout = overlayLayout(space, overlays);
        for (const SRect* region : {&layout.graph(), &layout.inspector(), &layout.help()})
            if (region->right > region->left)
                m_vKeepOut.push_back(*region);
    }

    void drawStats()
    {
        const CStatsBlock lines(m_space, m_overlays);
        lines.draw();
        m_vKeepOut.push_back(lines.block());
    }

    // A probe's value whose baseline would start at the world point.
    void drawProbe(double x, double y, const std::string& text)
    {
        const SVector2D at = m_space.fromWorld(SVector2D(x, y));
        const double descent = textDescent(FONT_SMALL);
        const SRect wanted(at.x, at.y + lineHeight(FONT_SMALL) - descent, at.x + textWidth(FONT_SMALL, text),
                           at.y - descent);
        const SRect bounds(0, m_space.height(), m_space.width(), 0);
        const SRect placed = CLabelPlacer::place(wanted, bounds, m_vKeepOut, kLabelMargin);
        m_vKeepOut.push_back(placed); // the next probes keep off this one
        drawText(placed.left, placed.bottom + descent, FONT_SMALL, text, CViewColours::kPanelText);
    }

private:
    const CPixelSpace& m_space;
    const SFrameOverlays& m_overlays;
    std::vector<SRect> m_vKeepOut;
};

void drawGreenProbe(CStatsOverlay& overlay, const CAlien& alien, SVector2D gunPos, const PopulationList& populations)
{
    const SVector2D p = alien.getPosition();
    const double W = CParams::Alien_Width;
    const double H = CParams::Alien_Height;
    const SVector2D toGun = alien.getVectorToGun(gunPos);
    const std::vector<double> sensors = alien.getSensorValues(populations);
    overlay.drawProbe(p.x - W / 2, p.y - 3 * H, "A-Age=" + std::to_string(alien.getPrevAge()));
    overlay.drawProbe(p.x - W / 2, p.y - 4 * H, "( " + format(toGun.x) + " ," + format(toGun.y) + " )");
    overlay.drawProbe(p.x - W / 2, p.y + 2 * H, format(sensors[0]));
    overlay.drawProbe(p.x - W / 2, p.y - 2 * H, format(sensors[2]));
    overlay.drawProbe(p.x - 2 * W, p.y + H / 2, format(sensors[3]));
    overlay.drawProbe(p.x + 2 * W, p.y + H / 2, format(sensors[1]));
}

void drawRedProbe(CStatsOverlay& overlay, const CAlien_Red& red, SVector2D gunPos, const PopulationList& populations)
{
    const SVector2D p = red.getPosition();
    const double a = (90 - red.getTurretAngle()) * 3.14 / 180;
    const std::vector<double> values = red.getLookAheadValues(gunPos, populations, a);
    overlay.drawProbe(p.x + std::cos(a) * 2 * CParams::Alien_Diagonal, p.y + std::sin(a) * 2 * CParams::Alien_Diagonal,
                      format(values[1]));
}

} // namespace

void drawDebugOverlay(const SFrameOverlays& overlays)
{
    const CPixelSpace space;
    CStatsOverlay overlay(space, overlays);
    overlay.drawStats();
    const PopulationList populations = overlays.pWorld->getPopulations();
    const SVector2D gunPos = overlays.pWorld->getGun()->getPosition();
    if (!populations[kGreen]->getAliens().empty())
        drawGreenProbe(overlay, *populations[kGreen]->getAliens().front(), gunPos, populations);
    if (!populations[kRed]->getAliens().empty())
        drawRedProbe(overlay, *static_cast<const CAlien_Red*>(populations[kRed]->getAliens().front()), gunPos,
                     populations);
}

void drawSelectionMarks(const SFrameOverlays& overlays)
{
    const CAlien* alien = overlays.pInspected;
    if (!alien || !alien->isActive())
        return;
    const CPixelSpace space;
    drawInspectorMarks(space, *alien, overlays.pWorld->getGun()->getPosition(), overlays.pWorld->getPopulations());
}

void drawGunFlash(const SFrameOverlays& overlays)
{
    const double flash = overlays.dGunFlash;
    if (flash <= 0.0)
        return;
    const CPixelSpace space;
    const CGun& gun = *overlays.pWorld->getGun();
    const SVector2D at = gun.getPosition();
    const SRect box = space.fromWorld(rectAround(at.x, at.y, CParams::Gun_Width + 8, CParams::Gun_Height + 8));
    SColour glow = CViewColours::kGunHit;
    glow.a = static_cast<float>(0.45 * flash);
    fillRect(box, glow);
    glow.a = static_cast<float>(flash);
    outlineRect(box, glow, 2.0);
}

void drawPlayerView(const SFrameOverlays& overlays)
{
    const CPixelSpace space;
    const COverlayLayout& layout = overlayLayout(space, overlays);
    if (overlays.bGraph)
        drawLearningGraph(*overlays.pGraph, layout.graph());
    if (CAlien* alien = overlays.pInspected)
        drawInspectorPanel(*alien, layout.inspector(), !overlays.pWorld->getPopulations()[kBlue]->getAliens().empty());
    if (overlays.bHud)
        drawHud(space, overlays.hud);
    // The page the player asked for lies over the game's own overlays; only the keys' messages
    // lie over it.
    if (overlays.bHelp)
        drawHelpPanel(*overlays.pHelpLines, layout.help());
    // Never over the inspector's panel and its labels.
    drawMessages(space, overlays.vMessages, overlays.pInspected ? layout.inspector() : SRect(0, 0, 0, 0));
}

void drawBlankedLine()
{
    const CPixelSpace space;
    drawMessages(space, {{CKeyFeedback::blanked(), 1.0}});
}
