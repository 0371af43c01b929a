#include "common/svgplot.h"

#include <cstdio>
#include <sstream>

#include "view/cgraphlayout.h"
#include "view/clearninggraph.h"

namespace
{
constexpr double kWidth = 1000, kHeight = 640;
constexpr double kTitleRoom = 44;
// Sans-serif at 12 px: a generous mean letter width, so that texts laid out by it fit.
constexpr double kFontSize = 12, kLetterWidth = 6.8, kLineHeight = 17, kDescent = 4;

std::string colourOf(unsigned rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

// Markup escaped, and the model's Latin-1 letters (the × of a note) written as UTF-8.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (byte < 0x80)
                out += c;
            else
            {
                out += static_cast<char>(0xC0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
    }
    return out;
}

double flip(double y)
{
    return kHeight - y;
}

std::string textColour(const CGraphLayout::SText& text)
{
    switch (text.iKind)
    {
    case GRAPH_TITLE: return "#222";
    case GRAPH_AXIS:
    case GRAPH_LEGEND: return "#333";
    default: return colourOf(text.uColour);
    }
}

void drawPanel(std::ostringstream& svg, const CGraphLayout::SPanel& panel)
{
    svg << "<rect x=\"" << panel.box.left << "\" y=\"" << flip(panel.box.top) << "\" width=\""
        << panel.box.right - panel.box.left << "\" height=\"" << panel.box.top - panel.box.bottom
        << "\" fill=\"#fafafa\" stroke=\"#ddd\"/>\n";
    for (const CGraphLayout::SLine& line : panel.vLines)
        svg << "<line x1=\"" << line.from.x << "\" y1=\"" << flip(line.from.y) << "\" x2=\"" << line.to.x << "\" y2=\""
            << flip(line.to.y) << "\" stroke=\"" << (line.iKind == GRAPH_AXIS ? "#888" : colourOf(line.uColour))
            << "\" stroke-width=\"" << line.dWidth << "\"/>\n";
    for (const CGraphLayout::SCurve& curve : panel.vCurves)
    {
        svg << "<polyline fill=\"none\" stroke-width=\"" << curve.dWidth << "\" stroke=\"" << colourOf(curve.uColour)
            << "\" points=\"";
        for (const SVector2D& point : curve.vPoints)
            svg << point.x << "," << flip(point.y) << " ";
        svg << "\"/>\n";
    }
    for (const CGraphLayout::SText& text : panel.vTexts)
        svg << "<text x=\"" << text.dX << "\" y=\"" << flip(text.dY) << "\" font-family=\"sans-serif\" font-size=\""
            << kFontSize << "\" fill=\"" << textColour(text) << "\">" << escaped(text.sText) << "</text>\n";
}
} // namespace

std::string renderSvg(const CLearningGraph& graph, const std::string& title)
{
    CGraphLayout layout;
    layout.layout(graph, SRect(10, kHeight - kTitleRoom, kWidth - 10, 10),
                  {[](const std::string& text) { return kLetterWidth * static_cast<double>(text.size()); },
                   kLineHeight, kDescent});
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" viewBox=\"0 0 " << kWidth << " " << kHeight << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"" << kWidth / 2 << "\" y=\"28\" text-anchor=\"middle\" font-family=\"sans-serif\" "
        << "font-size=\"16\" fill=\"#222\">" << escaped(title) << "</text>\n";
    for (const CGraphLayout::SPanel& panel : layout.panels())
        drawPanel(svg, panel);
    svg << "</svg>\n";
    return svg.str();
}
