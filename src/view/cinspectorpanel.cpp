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

std::vector<std::string> CInspectorPanel::facts(CAlien& alien)
{
    // Steps are whole; a red score to two decimals says all that its noise allows.
    const double value = alien.getFitness();
    char fitness[32];
    std::snprintf(fitness, sizeof fitness, value == std::floor(value) ? "%.0f" : "%.2f", value);
    return {CInspector::name(alien), "state: " + CInspector::stateName(alien.getState()),
            "age: " + std::to_string(alien.getAge()) + " steps", "fitness so far: " + std::string(fitness),
            "brain: " + CInspector::originName(alien.getBrain()->getOrigin())};
}

void CInspectorPanel::layout(const SRect& region, int factRows, double lineHeight, bool withAttack)
{
    m_bAttack = withAttack;
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
    m_movementCaption = takeTop(room, innerLeft, innerRight, caption);
    m_movementBox = takeTop(room, boxLeft, boxRight, boxes * movementShare);
    if (!withAttack)
        return;
    m_attackCaption = takeTop(room, innerLeft, innerRight, caption);
    m_attackBox = takeTop(room, boxLeft, boxRight, boxes * (1 - movementShare));
}
