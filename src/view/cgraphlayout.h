#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view/sfontmetrics.h"
#include "world/utils.h"

class CFitnessGraph;
class CLearningGraph;

// What a text of the graph is, so that a picture on a dark panel and one on white paper each
// choose its colour; a note and a legend's sample take their curve's colour.
constexpr int GRAPH_TITLE = 0;
constexpr int GRAPH_AXIS = 1;  // tick labels, and lines: axes and ticks
constexpr int GRAPH_LEGEND = 2;
constexpr int GRAPH_NOTE = 3;
constexpr int GRAPH_CURVE = 4; // lines in their curve's or level's colour

// The learning graph laid out in a box of pixels (y up): a panel per population stacked, red on
// top, and below them the player's panel when a run tells it and the box has room for three
// panels with a row of legend each; each with its title, its curves in a plot area scaled to its own data with ticks and
// labels on both axes (the last x label carries the unit: both panels share the x axis, so
// that they read alike), dashed curves as dashes, each curve's note beside its last point, and
// its legend in rows below. Guarantees: every line, point and text (by the widths given) lies
// inside the box; no curve crosses a note and no note another (a note with no free place
// is left out); a text too wide for its room is shortened with "..." or left out, tick
// labels that would overlap are thinned out, legend rows that do not fit are left out, and a
// panel too small for a plot shows its title alone.
class CGraphLayout
{
public:
    using TextWidth = std::function<double(const std::string&)>;
    using SFont = SFontMetrics;
    struct SText
    {
        double dX, dY; // where its baseline starts
        std::string sText;
        int iKind;
        unsigned uColour; // a note's or legend's curve, else unused
    };
    struct SLine
    {
        SVector2D from, to;
        int iKind; // GRAPH_AXIS or GRAPH_CURVE
        unsigned uColour;
        double dWidth;
    };
    struct SCurve
    {
        std::vector<SVector2D> vPoints;
        unsigned uColour;
        double dWidth;
    };
    struct SPanel
    {
        SRect box{0, 0, 0, 0};
        SRect plot{0, 0, 0, 0}; // empty when there was no room for one
        std::vector<SText> vTexts;
        std::vector<SLine> vLines;
        std::vector<SCurve> vCurves;
    };

    static constexpr double kPadding = 5.0;
    static constexpr double kTick = 3.0;
    static constexpr double kMinPlotHeight = 24.0;
    static constexpr double kSampleLength = 18.0; // a legend's sample line
    static constexpr double kDash = 6.0, kDashGap = 4.0;

    void layout(const CLearningGraph& graph, const SRect& box, const SFont& font);
    const std::vector<SPanel>& panels() const { return m_vPanels; }

    // A legend entry: a curve's name and line.
    struct SEntry
    {
        std::string sName;
        unsigned uColour;
        double dWidth;
        bool bDashed;
    };

private:
    using TLegendRow = std::vector<SEntry>;
    SPanel layoutPanel(const CFitnessGraph& graph, const SRect& box, double xMax) const;
    std::vector<TLegendRow> legendRows(const CFitnessGraph& graph, double left, double right) const;
    void placeLegend(SPanel& panel, const std::vector<TLegendRow>& rows, double bottom) const;
    void placeTicks(SPanel& panel, const CFitnessGraph& graph, double xMax) const;
    void placeCurves(SPanel& panel, const CFitnessGraph& graph, double xMax) const;
    void placeNote(SPanel& panel, const std::vector<SCurve>& curves, size_t index, const std::string& text,
                   std::vector<SRect>& placed) const;

    SFont m_font;
    std::vector<SPanel> m_vPanels;
};
