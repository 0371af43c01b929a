#include "view/cgraphlayout.h"
#include "app/overlays.h"
#include "render/overlaydraw.h"

namespace
{
constexpr int kGraphFont = FONT_SMALL;
constexpr SColour kAxis{0.6f, 0.6f, 0.7f, 1.0f};
constexpr SColour kLegendText{0.85f, 0.85f, 0.9f, 1.0f};

SColour colourOf(unsigned rgb)
{
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

SColour textColour(const CGraphLayout::SText& text)
{
    switch (text.iKind)
    {
    case GRAPH_TITLE: return CViewColours::kPanelText;
    case GRAPH_AXIS: return kAxis;
    case GRAPH_LEGEND: return kLegendText;
    default: return colourOf(text.uColour);
    }
}

void drawPanel(const CGraphLayout::SPanel& panel)
{
    fillRect(panel.box, CViewColours::kPanel);
    for (const CGraphLayout::SLine& line : panel.vLines)
        drawLine(line.from, line.to, line.iKind == GRAPH_AXIS ? kAxis : colourOf(line.uColour), line.dWidth);
    for (const CGraphLayout::SCurve& curve : panel.vCurves)
        drawPolyline(curve.vPoints, colourOf(curve.uColour), curve.dWidth);
    for (const CGraphLayout::SText& text : panel.vTexts)
        drawText(text.dX, text.dY, kGraphFont, text.sText, textColour(text));
}
} // namespace

void drawLearningGraph(const CLearningGraph& graph, const SRect& region)
{
    CGraphLayout layout;
    layout.layout(graph, region,
                  {[](const std::string& text) { return textWidth(kGraphFont, text); }, lineHeight(kGraphFont),
                   textDescent(kGraphFont)});
    for (const CGraphLayout::SPanel& panel : layout.panels())
        drawPanel(panel);
}
