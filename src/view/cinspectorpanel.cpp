#include "view/cinspectorpanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "aliens/calien.h"
#include "view/cinspector.h"
#include "brain/cbrain.h"

namespace
{
// A band of the given height taken off the top of the room left, which shrinks by it.
SRect takeTop(double& top, double left, double right, double height)
{
    const SRect band(left, top, right, top - height);
    top -= height;
    return band;
}
} // namespace

std::vector<std::string> CInspectorPanel::facts(CAlien& alien, bool brief)
{
    // Steps are whole; a red score to two decimals says all that its noise allows.
    const double value = alien.getFitness();
    char fitness[32];
    std::snprintf(fitness, sizeof fitness, value == std::floor(value) ? "%.0f" : "%.2f", value);
    const std::string name = CInspector::name(alien);
    const std::string state = "state: " + CInspector::stateName(alien.getState());
    if (brief)
        return {name, state, "fitness: " + std::string(fitness)};
    return {name, state, "age: " + std::to_string(alien.getAge()) + " steps", "fitness so far: " + std::string(fitness),
            "brain: " + CInspector::originName(alien.getBrain()->getOrigin())};
}

void CInspectorPanel::layout(const SRect& region, int factRows, double lineHeight, bool withAttack)
{
    m_bAttack = withAttack;
    m_bNetworks = true;
    m_iFactRows = factRows;
    m_panel = region;
    const double left = region.left;
    const double top = region.top;
    const double panelWidth = region.right - region.left;
    const double panelBottom = region.bottom;

    // From the top down, each part taking what it needs of what is left above the bottom.
    const double paddingX = std::min(kPadding, panelWidth / 2);
    const double paddingY = std::min(kPadding, (top - panelBottom) / 2);
    const double innerLeft = left + paddingX;
    const double innerRight = left + panelWidth - paddingX;
    const double bottom = panelBottom + paddingY;
    double room = top - paddingY;
    m_dFactsTop = room;
    takeTop(room, innerLeft, innerRight, std::min(factRows * lineHeight + kPadding, room - bottom));
    const double networks = room - bottom;
    const int parts = withAttack ? 2 : 1;
    const double caption = std::min(lineHeight, networks / parts);
    const double boxes = networks - parts * caption;
    const double movementShare = withAttack ? 0.55 : 1.0;
    const double boxLeft = std::min(innerLeft + kInputLabelRoom, innerRight);
    const double boxRight = std::max(innerRight - kOutputLabelRoom, boxLeft);
    if (boxRight - boxLeft < kMinNetworkWidth || boxes * (withAttack ? 1 - movementShare : 1.0) < kMinNetworkHeight)
    {
        layoutBrief(region, lineHeight);
        return;
    }
    m_movementCaption = takeTop(room, innerLeft, innerRight, caption);
    m_movementBox = takeTop(room, boxLeft, boxRight, boxes * movementShare);
    if (!withAttack)
        return;
    m_attackCaption = takeTop(room, innerLeft, innerRight, caption);
    m_attackBox = takeTop(room, boxLeft, boxRight, boxes * (1 - movementShare));
}

// The brief facts alone, as many rows as fit, in a panel just tall enough for them.
void CInspectorPanel::layoutBrief(const SRect& region, double lineHeight)
{
    m_bNetworks = m_bAttack = false;
    m_movementCaption = m_movementBox = m_attackCaption = m_attackBox = SRect(0, 0, 0, 0);
    const double height = region.top - region.bottom;
    const double paddingY = std::min(kPadding, height / 2);
    m_iFactRows = std::clamp(static_cast<int>((height - 2 * paddingY) / lineHeight), 0, kBriefFacts);
    const double panelHeight = std::min(height, m_iFactRows * lineHeight + 2 * paddingY + kPadding / 2);
    m_panel = SRect(region.left, region.top, region.right, region.top - panelHeight);
    m_dFactsTop = region.top - paddingY;
}
