#include "sweep/csweepchart.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "view/cfitnessgraph.h"
#include "sweep/crunresult.h"
#include "sweep/csweepreport.h"

namespace
{
constexpr double kLeft = 80, kRight = 30, kTop = 100, kPanelHeight = 170, kPanelGap = 45;
constexpr double kCharWidth = 6.5; // of the 11-pixel labels, about
constexpr double kMinSlot = 60, kMinPlotWidth = 600;
constexpr const char* kColours[2] = {"#D03030", "#20A040"}; // red, green
constexpr int kShownOrder[2] = {CRunResult::Green, CRunResult::Red};

using Settings = std::vector<CSweepReport::SSetting>;

// A panel: its vertical axis, where it stands, and the settings' slots across it.
struct SPanel
{
    CFitnessGraph::SAxis axis;
    double dTop;
    double dSlot;
    double y(double value) const { return dTop + kPanelHeight * (1.0 - value / axis.dMax); }
    // The x of the setting's mark for the population (and run kind, where two are drawn).
    double x(size_t setting, int order, int kind, int kinds) const
    {
        const double offset = kinds == 1 ? (order == 0 ? -0.18 : 0.18) : -0.27 + 0.18 * (2 * order + kind);
        return kLeft + dSlot * (static_cast<double>(setting) + 0.5 + offset);
    }
};

void drawPanelFrame(std::ostringstream& svg, const SPanel& panel, double width, const std::string& title)
{
    svg << "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#333\">\n"
        << "<text x=\"" << kLeft << "\" y=\"" << panel.dTop - 10 << "\" font-size=\"14\">" << title << "</text>\n";
    for (int k = 0; k <= panel.axis.iTicks; ++k)
    {
        const double y = panel.y(panel.axis.tick(k));
        svg << "<line x1=\"" << kLeft - 5 << "\" y1=\"" << y << "\" x2=\"" << width - kRight << "\" y2=\"" << y
            << "\" stroke=\"" << (k == 0 ? "#888" : "#ddd") << "\"/>\n"
            << "<text x=\"" << kLeft - 8 << "\" y=\"" << y + 4 << "\" text-anchor=\"end\">"
            << CFitnessGraph::label(panel.axis.tick(k)) << "</text>\n";
    }
    svg << "<line x1=\"" << kLeft << "\" y1=\"" << panel.y(0) << "\" x2=\"" << kLeft << "\" y2=\""
        << panel.y(panel.axis.dMax) << "\" stroke=\"#888\"/>\n</g>\n";
}

void drawCircle(std::ostringstream& svg, double x, double y, int population, bool filled)
{
    svg << "<circle cx=\"" << x << "\" cy=\"" << y << "\" r=\"4\" stroke-width=\"1.5\" stroke=\""
        << kColours[population] << "\" fill=\"" << (filled ? kColours[population] : "white") << "\"/>\n";
}

// A circle at the value, if there is one that can be drawn (a score may be too large for a
// double).
void drawMark(std::ostringstream& svg, const SPanel& panel, double x, double value, int population, bool filled)
{
    if (std::isfinite(value))
        drawCircle(svg, x, panel.y(value), population, filled);
}

void drawScores(std::ostringstream& svg, const Settings& settings, const SPanel& panel, double width)
{
    const double one = panel.y(1.0);
    svg << "<line x1=\"" << kLeft << "\" y1=\"" << one << "\" x2=\"" << width - kRight << "\" y2=\"" << one
        << "\" stroke=\"#555\" stroke-dasharray=\"6 4\"/>\n"
        << "<text x=\"" << width - kRight << "\" y=\"" << one - 4
        << "\" text-anchor=\"end\" font-family=\"sans-serif\" font-size=\"11\" fill=\"#555\">1: no learning</text>\n";
    for (size_t s = 0; s < settings.size(); ++s)
        for (int order = 0; order < 2; ++order)
        {
            const int population = kShownOrder[order];
            const CStatistics::SEstimate& score = settings[s].asPopulations[population].sScore;
            const double x = panel.x(s, order, 0, 1);
            if (std::isfinite(score.dLow) && std::isfinite(score.dHigh))
                svg << "<path d=\"M" << x - 4 << " " << panel.y(score.dLow) << "h8M" << x << " "
                    << panel.y(score.dLow) << "V" << panel.y(score.dHigh) << "M" << x - 4 << " "
                    << panel.y(score.dHigh) << "h8\" stroke-width=\"1.5\" stroke=\"" << kColours[population]
                    << "\"/>\n";
            drawMark(svg, panel, x, score.dValue, population, true);
        }
}

// One figure of both kinds of run: member points to [evolution, control] of a population.
void drawPairs(std::ostringstream& svg, const Settings& settings, const SPanel& panel, double scale,
               const double (CSweepReport::SFigures::*member)[2])
{
    for (size_t s = 0; s < settings.size(); ++s)
        for (int order = 0; order < 2; ++order)
        {
            const int population = kShownOrder[order];
            const double(&values)[2] = settings[s].asPopulations[population].*member;
            for (int kind = 0; kind < 2; ++kind)
                drawMark(svg, panel, panel.x(s, order, kind, 2), scale * values[kind], population, kind == 0);
        }
}

double largest(const Settings& settings, const double (CSweepReport::SFigures::*member)[2])
{
    double most = 0.0;
    for (const CSweepReport::SSetting& setting : settings)
        for (const CSweepReport::SFigures& figures : setting.asPopulations)
            for (const double value : figures.*member)
                if (std::isfinite(value))
                    most = std::max(most, value);
    return most;
}

double largestScore(const Settings& settings)
{
    double most = 2.0;
    for (const CSweepReport::SSetting& setting : settings)
        for (const CSweepReport::SFigures& figures : setting.asPopulations)
            for (const double value : {figures.sScore.dValue, figures.sScore.dHigh})
                if (std::isfinite(value))
                    most = std::max(most, value);
    return most;
}

void drawLegend(std::ostringstream& svg)
{
    svg << "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#333\">\n";
    double x = kLeft;
    const double y = 56;
    for (int order = 0; order < 2; ++order)
    {
        const int population = kShownOrder[order];
        drawCircle(svg, x, y - 4, population, true);
        svg << "<text x=\"" << x + 10 << "\" y=\"" << y << "\">" << CRunResult::PopulationNames[population]
            << "</text>\n";
        x += 70;
    }
    svg << "<text x=\"" << x << "\" y=\"" << y
        << "\">filled: with evolution, hollow: with --control; bars: 95 % confidence interval over the seeds</text>\n"
        << "</g>\n";
}

// "s03: 10, 0.5": the setting's label and its values.
std::string nameOf(const CSweepReport::SSetting& setting)
{
    std::string name = setting.sLabel;
    for (size_t v = 0; v < setting.vValues.size(); ++v)
        name += (v ? ", " : ": ") + setting.vValues[v];
    return name;
}

bool isSlanted(const std::string& name, double slot)
{
    return kCharWidth * static_cast<double>(name.size()) > 0.9 * slot;
}

// The room below the last panel for the settings' names.
double labelRoom(const Settings& settings, double slot)
{
    double room = 30.0;
    for (const CSweepReport::SSetting& setting : settings)
        if (const std::string name = nameOf(setting); isSlanted(name, slot))
            room = std::max(room, 30.0 + 0.6 * kCharWidth * static_cast<double>(name.size()));
    return room;
}

void drawSettingNames(std::ostringstream& svg, const Settings& settings, const SPanel& panel)
{
    svg << "<g font-family=\"sans-serif\" font-size=\"11\" fill=\"#333\">\n";
    for (size_t s = 0; s < settings.size(); ++s)
    {
        const std::string name = nameOf(settings[s]);
        const double x = kLeft + panel.dSlot * (static_cast<double>(s) + 0.5);
        const double y = panel.y(0) + 18;
        // Slanted, ending below the setting, when it is wider than the setting's slot.
        const bool slanted = isSlanted(name, panel.dSlot);
        svg << "<text transform=\"translate(" << x << " " << y << ")" << (slanted ? " rotate(-35)" : "")
            << "\" text-anchor=\"" << (slanted ? "end" : "middle") << "\">" << name << "</text>\n";
    }
    svg << "</g>\n";
}
} // namespace

std::string CSweepChart::render(const CSweepReport& report)
{
    const Settings& settings = report.settings();
    const double count = static_cast<double>(std::max<size_t>(settings.size(), 1));
    const double slot = std::max(kMinSlot, kMinPlotWidth / count);
    const double width = kLeft + slot * count + kRight;
    const double height = kTop + 3 * kPanelHeight + 2 * kPanelGap + labelRoom(settings, slot);
    const SPanel scores{CFitnessGraph::axisFor(largestScore(settings)), kTop, slot};
    const SPanel alive{CFitnessGraph::axisFor(100.0), kTop + kPanelHeight + kPanelGap, slot};
    const SPanel lifetime{CFitnessGraph::axisFor(largest(settings, &CSweepReport::SFigures::adLifetimeSeconds)),
                          kTop + 2 * (kPanelHeight + kPanelGap), slot};
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << " " << height << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"" << kLeft << "\" y=\"28\" font-family=\"sans-serif\" font-size=\"16\" fill=\"#222\">"
        << "Learning score, alive share and lifetime per setting</text>\n";
    drawLegend(svg);
    drawPanelFrame(svg, scores, width, "learning score: last-third fitness of deaths, evolution / control");
    drawScores(svg, settings, scores, width);
    drawPanelFrame(svg, alive, width, "alien-steps spent alive (%)");
    drawPairs(svg, settings, alive, 100.0, &CSweepReport::SFigures::adAliveShare);
    drawPanelFrame(svg, lifetime, width, "mean lifetime (s of game time)");
    drawPairs(svg, settings, lifetime, 1.0, &CSweepReport::SFigures::adLifetimeSeconds);
    drawSettingNames(svg, settings, lifetime);
    svg << "</svg>\n";
    return svg.str();
}
