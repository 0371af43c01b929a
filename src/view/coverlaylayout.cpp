#include "view/coverlaylayout.h"

#include <algorithm>

namespace
{
const SRect kNone(0, 0, 0, 0);

// A box from left to right between top and bottom; empty where there is no room.
SRect box(double left, double top, double right, double bottom)
{
    if (right <= left || top <= bottom)
        return kNone;
    return SRect(left, top, right, bottom);
}
} // namespace

bool COverlayLayout::inspectorOnTheLeft(const SShown& shown)
{
    const double middle = shown.dWidth / 2;
    const double past = kSwitchShare * shown.dWidth;
    if (m_iInspectorSide == 0)
        m_iInspectorSide = shown.dShipX >= middle ? -1 : 1;
    else if (m_iInspectorSide < 0 && shown.dShipX < middle - past)
        m_iInspectorSide = 1;
    else if (m_iInspectorSide > 0 && shown.dShipX > middle + past)
        m_iInspectorSide = -1;
    return m_iInspectorSide < 0;
}

void COverlayLayout::layout(const SShown& shown)
{
    const double W = shown.dWidth;
    const double margin = std::min(8.0, W / 40);
    const double top = shown.dHeight - shown.dTopRoom - margin / 2;
    const double bottom = shown.dBottomRoom;
    const double leftEnd = W / 2 - margin / 2;
    const double rightStart = W / 2 + margin / 2;
    // Below the statistics lines in each half they reach into (in a narrow picture, both).
    const double belowStats = shown.pStats ? std::min(top, shown.pStats->bottom - margin) : top;
    const double leftTop = belowStats;
    const double rightStatsTop = shown.pStats && shown.pStats->right > rightStart ? belowStats : top;
    const double share = shown.bHelp || shown.bInspector ? kGraphShare : kGraphAloneShare;
    const double graphHeight = std::max(share * (rightStatsTop - bottom),
                                        std::min(kMinGraphHeight, rightStatsTop - bottom));
    m_graph = shown.bGraph ? box(rightStart, rightStatsTop, W - margin, rightStatsTop - graphHeight) : kNone;
    const double rightTop = shown.bGraph ? rightStatsTop - graphHeight - margin : rightStatsTop;

    m_inspector = kNone;
    bool inspectorLeft = false;
    if (shown.bInspector)
    {
        inspectorLeft = inspectorOnTheLeft(shown);
        const double width = std::min(kMaxInspectorWidth, leftEnd - margin);
        m_inspector = inspectorLeft ? box(margin, leftTop, margin + width, bottom)
                                    : box(W - margin - width, rightTop, W - margin, bottom);
    }
    else
        m_iInspectorSide = 0;

    m_help = kNone;
    if (!shown.bHelp)
        return;
    const double helpBottom = shown.dHelpBottomRoom;
    if (shown.bInspector)
        m_help = inspectorLeft ? box(rightStart, rightTop, W - margin, helpBottom)
                               : box(margin, leftTop, leftEnd, helpBottom);
    else
        m_help = box(margin, std::min(leftTop, rightTop), W - margin, helpBottom);
}
