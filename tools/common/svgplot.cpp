#include "common/svgplot.h"

#include <cstdio>
#include <sstream>

#include "view/cfitnessgraph.h"

namespace
{
constexpr double kWidth = 1000, kHeight = 500;
constexpr double kLeft = 80, kRight = 340, kTop = 50, kBottom = 60; // margins around the plot area

std::string colourOf(unsigned rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Maps graph values to picture coordinates inside the plot area.
struct SFrame
{
    CFitnessGraph::SAxis x, y;
    double px(double v) const { return kLeft + v / x.dMax * (kWidth - kLeft - kRight); }
    double py(double v) const { return kHeight - kBottom - v / y.dMax * (kHeight - kTop - kBottom); }
};

void drawAxes(std::ostringstream& svg, const SFrame& f, const CFitnessGraph& graph)
{
    svg << "<g stroke=\"#888\" stroke-width=\"1\">\n";
    for (int k = 0; k <= f.x.iTicks; ++k)
        svg << "<line x1=\"" << f.px(f.x.tick(k)) << "\" y1=\"" << f.py(0) << "\" x2=\"" << f.px(f.x.tick(k)) << "\" y2=\"" << f.py(0) + 5
            << "\"/>\n";
    for (int k = 0; k <= f.y.iTicks; ++k)
        svg << "<line x1=\"" << f.px(0) - 5 << "\" y1=\"" << f.py(f.y.tick(k)) << "\" x2=\"" << f.px(f.x.dMax)
            << "\" y2=\"" << f.py(f.y.tick(k)) << "\" stroke=\"" << (k == 0 ? "#888" : "#ddd") << "\"/>\n";
    svg << "<line x1=\"" << f.px(0) << "\" y1=\"" << f.py(0) << "\" x2=\"" << f.px(0) << "\" y2=\"" << f.py(f.y.dMax)
        << "\"/>\n</g>\n<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#333\">\n";
    for (int k = 0; k <= f.x.iTicks; ++k)
        svg << "<text x=\"" << f.px(f.x.tick(k)) << "\" y=\"" << f.py(0) + 20 << "\" text-anchor=\"middle\">"
            << CFitnessGraph::label(f.x.tick(k)) << "</text>\n";
    for (int k = 0; k <= f.y.iTicks; ++k)
        svg << "<text x=\"" << f.px(0) - 8 << "\" y=\"" << f.py(f.y.tick(k)) + 4 << "\" text-anchor=\"end\">"
            << CFitnessGraph::label(f.y.tick(k)) << "</text>\n";
    svg << "<text x=\"" << f.px(f.x.dMax / 2) << "\" y=\"" << kHeight - 15 << "\" text-anchor=\"middle\">"
        << escaped(graph.xName()) << "</text>\n"
        << "<text transform=\"translate(20 " << f.py(f.y.dMax / 2) << ") rotate(-90)\" text-anchor=\"middle\">"
        << escaped(graph.yName()) << "</text>\n</g>\n";
}

void drawCurves(std::ostringstream& svg, const CFitnessGraph& graph, const SFrame& f)
{
    double legendY = kTop + 10;
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
    {
        svg << "<polyline fill=\"none\" stroke-width=\"" << series.dLineWidth << "\" stroke=\""
            << colourOf(series.uColour) << "\" points=\"";
        for (const CFitnessGraph::SPoint& p : series.vPoints)
            svg << f.px(p.x) << "," << f.py(p.y) << " ";
        svg << "\"/>\n";
        const double lx = kWidth - kRight + 20;
        svg << "<line x1=\"" << lx << "\" y1=\"" << legendY << "\" x2=\"" << lx + 25 << "\" y2=\"" << legendY
            << "\" stroke-width=\"" << series.dLineWidth << "\" stroke=\"" << colourOf(series.uColour) << "\"/>\n"
            << "<text x=\"" << lx + 32 << "\" y=\"" << legendY + 4
            << "\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#333\">" << escaped(series.sName) << "</text>\n";
        legendY += 20;
    }
}
} // namespace

std::string renderSvg(const CFitnessGraph& graph, const std::string& title)
{
    const SFrame frame{graph.xAxis(), graph.yAxis()};
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" viewBox=\"0 0 " << kWidth << " " << kHeight << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"" << kWidth / 2 << "\" y=\"28\" text-anchor=\"middle\" font-family=\"sans-serif\" "
        << "font-size=\"16\" fill=\"#222\">" << escaped(title) << "</text>\n";
    drawAxes(svg, frame, graph);
    drawCurves(svg, graph, frame);
    svg << "</svg>\n";
    return svg.str();
}
