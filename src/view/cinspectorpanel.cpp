#include "view/cinspectorpanel.h"

#include <algorithm>
#include <sstream>

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
    std::ostringstream fitness;
    fitness << alien.getFitness();
    return {CInspector::name(alien), "state: " + CInspector::stateName(alien.getState()),
            "age: " + std::to_string(alien.getAge()) + " steps", "fitness so far: " + fitness.str(),
            "brain: " + CInspector::originName(alien.getBrain()->getOrigin())};
}

void CInspectorPanel::layout(const SPlace& place, int factRows, double lineHeight, bool withAttack)
{
    m_bAttack = withAttack;
    // Margins and padding shrink with a picture too small for them.
    const double width = place.dWidth;
    const double marginX = std::min(kMargin, width / 4);
    const double widest = width - 2 * marginX;
    const double panelWidth = std::min(std::clamp(0.34 * width, std::min(200.0, widest), 300.0), widest);
    const bool onTheLeft = place.dShipX >= width / 2;
    const double left = onTheLeft ? marginX : width - marginX - panelWidth;
    const double marginY = std::min(kMargin, place.dHeight / 4);
    const double panelBottom = std::clamp(place.dBottomRoom, marginY, place.dHeight - marginY);
    const double topRoom = onTheLeft ? std::max(place.dTopRoom, place.dLeftTopRoom) : place.dTopRoom;
    const double top = std::max(place.dHeight - topRoom, panelBottom);
    m_panel = SRect(left, top, left + panelWidth, panelBottom);

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
