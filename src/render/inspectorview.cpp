#include "render/inspectorview.h"

#include <array>
#include <string>
#include <vector>

#include "aliens/calien_red.h"
#include "view/cbrainview.h"
#include "view/cinspectorpanel.h"
#include "view/ctextfit.h"
#include "app/cparams.h"
#include "brain/cbrain.h"
#include "render/overlaydraw.h"

namespace
{
constexpr int kFont = FONT_SMALL;
constexpr double kRingGap = 4.0; // pixels between the ship's corners and its ring

void drawNetwork(const CBrainView& view)
{
    const std::vector<CBrainView::SNode>& nodes = view.nodes();
    for (const CBrainView::SLink& link : view.links())
    {
        const CBrainView::SNode& from = nodes[link.iFrom];
        const CBrainView::SNode& to = nodes[link.iTo];
        drawLine(SVector2D(from.dX, from.dY), SVector2D(to.dX, to.dY), CViewColours::weight(link.dWeight),
                 CViewColours::weightWidth(link.dWeight));
    }
    const double r = view.nodeRadius();
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
    {
        const CBrainView::SNode& node = nodes[i];
        const SVector2D centre(node.dX, node.dY);
        fillDisc(centre, r, CViewColours::activation(node.dValue));
        if (node.bHighlighted)
            drawRing(centre, r + 2.5, CViewColours::kHighlight, 2.0);
        if (node.sLabel.empty())
            continue;
        const double baseline = node.dY - 3;
        const SColour colour = node.bHighlighted ? CViewColours::kHighlight : CViewColours::kPanelText;
        if (i < view.inputCount())
            drawText(node.dX - r - 4 - textWidth(kFont, node.sLabel), baseline, kFont, node.sLabel, colour);
        else
            drawText(node.dX + r + 5, baseline, kFont, node.sLabel, colour);
    }
}

void drawCaption(const SRect& band, const std::string& text)
{
    drawText(band.left, band.bottom + textDescent(kFont), kFont, text, CViewColours::kCaption);
}
} // namespace

void drawInspectorMarks(const CPixelSpace& space, const CAlien& alien, SVector2D gunPos,
                        const PopulationList& populations)
{
    const std::array<SRect, 4> boxes = alien.getSensorBoxes();
    const std::vector<double> values = alien.getSensorValues(populations);
    for (int i = 0; i < 4; ++i)
    {
        const SRect box = space.fromWorld(boxes[i]);
        const SColour tint = CViewColours::sensor(values[i]);
        fillRect(box, tint);
        outlineRect(box, SColour{tint.r, tint.g, tint.b, 1.0f}, 1.0);
    }
    const SVector2D centre = space.fromWorld(alien.getPosition());
    if (alien.getType() == TYPE_RED)
    {
        const CAlien_Red& red = static_cast<const CAlien_Red&>(alien);
        SVector2D end(0, 0);
        red.getLookAheadValues(gunPos, populations, red.getLookAheadAngle(), &end);
        drawLine(centre, space.fromWorld(end), CViewColours::kTurretLine, 1.5);
    }
    const double radius = CParams::Alien_Diagonal / 2 * space.scale() + kRingGap;
    drawRing(centre, radius, CViewColours::kRing, 2.0);
}

void drawInspectorPanel(CAlien& alien, const SRect& region, bool blueAliens)
{
    const bool red = alien.getType() == TYPE_RED;
    CInspectorPanel panel;
    panel.layout(region, static_cast<int>(CInspectorPanel::facts(alien).size()), lineHeight(kFont), red);
    fillRect(panel.panel(), CViewColours::kPanel);
    const std::vector<std::string> facts = CInspectorPanel::facts(alien, !panel.showsNetworks());
    double baseline = panel.factsTop();
    for (int row = 0; row < panel.factRows() && row < static_cast<int>(facts.size()); ++row)
    {
        baseline -= lineHeight(kFont);
        const std::string text = CTextFit::fitted(facts[row], [](const std::string& t) { return textWidth(kFont, t); },
                                                  panel.panel().right - panel.panel().left - 2 * CInspectorPanel::kPadding);
        drawText(panel.panel().left + CInspectorPanel::kPadding, baseline, kFont, text, CViewColours::kPanelText);
    }
    if (!panel.showsNetworks())
        return;

    const CBrain& brain = *alien.getBrain();
    CBrainView view;
    drawCaption(panel.movementCaption(), "movement network");
    const bool sensors = CParams::Alien_NN_Movement_UseSensors != 0;
    view.layout(*brain.getNN(0), CBrainView::movementShades(alien.getMovementInputs(), CParams::Window_Width, sensors),
                CBrainView::movementInputLabels(sensors, static_cast<int>(CParams::Alien_NN_Movement_GunBullets)),
                CBrainView::movementOutputLabels(alien.getLastAction().movement),
                CBrainView::pushOutput(alien.getLastAction().movement), panel.movementBox());
    drawNetwork(view);
    if (!red)
        return;
    const CAlien_Red& redAlien = static_cast<const CAlien_Red&>(alien);
    drawCaption(panel.attackCaption(), "attack network");
    const CNeuralNet& attack = *brain.getNN(1);
    const bool fires = CBrainView::decidesToFire(attack);
    view.layout(attack, redAlien.getAttackInputs(), CBrainView::attackInputLabels(blueAliens),
                CBrainView::attackOutputLabels(fires), fires ? 0 : -1, panel.attackBox());
    drawNetwork(view);
}
