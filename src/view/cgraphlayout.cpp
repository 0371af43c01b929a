#include "view/cgraphlayout.h"

#include <algorithm>
#include <cmath>

#include "view/cfitnessgraph.h"
#include "view/clearninggraph.h"
#include "view/ctextfit.h"

namespace
{
constexpr int kMaxLegendRows = 3;
constexpr double kLabelGap = 4.0;

bool overlaps(const SRect& a, const SRect& b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// The legend's entries: the first curve, the dashed ones, then the other curves, so that what
// the first curve is measured against keeps its place when rows are left out.
std::vector<CGraphLayout::SEntry> legendEntries(const CFitnessGraph& graph)
{
    std::vector<CGraphLayout::SEntry> solid, dashed;
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
    {
        // Curves drawn alike under one name (random brains' two counts) need one entry.
        std::vector<CGraphLayout::SEntry>& kind = series.bDashed ? dashed : solid;
        const bool told = std::any_of(kind.begin(), kind.end(), [&](const CGraphLayout::SEntry& entry) {
            return entry.sName == series.sName && entry.uColour == series.uColour;
        });
        if (!told)
            kind.push_back({series.sName, series.uColour, series.dLineWidth, series.bDashed});
    }
    const auto after = solid.empty() ? solid.begin() : solid.begin() + 1;
    solid.insert(after, dashed.begin(), dashed.end());
    return solid;
}

// A dashed line along the points, as separate dashes: the pattern runs on over the corners.
void addDashes(std::vector<CGraphLayout::SLine>& lines, const std::vector<SVector2D>& points, unsigned colour,
               double width)
{
    constexpr double period = CGraphLayout::kDash + CGraphLayout::kDashGap;
    double phase = 0.0; // along the pattern where the segment starts
    for (size_t i = 1; i < points.size(); ++i)
    {
        const SVector2D from = points[i - 1], to = points[i];
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        const auto along = [&](double t) {
            return SVector2D(from.x + (to.x - from.x) * t / length, from.y + (to.y - from.y) * t / length);
        };
        for (double t = -phase; t < length; t += period)
            if (t + CGraphLayout::kDash > 0)
                lines.push_back({along(std::max(t, 0.0)), along(std::min(t + CGraphLayout::kDash, length)),
                                 GRAPH_CURVE, colour, width});
        phase = std::fmod(phase + length, period);
    }
}

// Does the segment pass through the box? Liang and Barsky's clipping.
bool crosses(const SVector2D& a, const SVector2D& b, const SRect& box)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.bottom, box.top - a.y};
    for (int i = 0; i < 4; ++i)
    {
        if (p[i] == 0)
        {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

// Is the box clear of the curve, widened by its line's half width? Only the segments within
// the box's reach are looked at: a curve's points go left to right.
bool clearOf(const SRect& box, const CGraphLayout::SCurve& curve)
{
    const double m = curve.dWidth / 2 + 1;
    const SRect wide(box.left - m, box.top + m, box.right + m, box.bottom - m);
    const std::vector<SVector2D>& points = curve.vPoints;
    const auto byX = [](const SVector2D& point, double x) { return point.x < x; };
    size_t i = std::lower_bound(points.begin(), points.end(), wide.left, byX) - points.begin();
    i = i > 0 ? i - 1 : 0;
    for (; i < points.size() && (i == 0 || points[i - 1].x <= wide.right); ++i)
        if (crosses(points[i > 0 ? i - 1 : 0], points[i], wide))
            return false;
    return true;
}
} // namespace

void CGraphLayout::layout(const CLearningGraph& graph, const SRect& box, const SFont& font)
{
    m_font = font;
    m_vPanels.clear();
    // The player's panel only where a run tells the player's side, and where three panels
    // each keep a row of legend: otherwise the two the graph has always shown.
    std::vector<const CFitnessGraph*> shown = {&graph.panel(CLearningGraph::Red), &graph.panel(CLearningGraph::Green)};
    const double lh = font.dLineHeight;
    const double roomyPanel = 2 * kPadding + 1.5 * lh + 1 + kMinPlotHeight + 2 * lh + kTick;
    if (!graph.panel(CLearningGraph::Player).isEmpty() && (box.top - box.bottom - 2 * kPadding) / 3 >= roomyPanel)
        shown.push_back(&graph.panel(CLearningGraph::Player));
    const double count = static_cast<double>(shown.size());
    const double height = (box.top - box.bottom - (count - 1) * kPadding) / count;
    if (height <= 0 || box.right <= box.left)
        return;
    double xMax = 0;
    for (const CFitnessGraph* panel : shown)
        xMax = std::max(xMax, panel->xAxis().dMax);
    for (size_t k = 0; k < shown.size(); ++k)
    {
        const double top = box.top - static_cast<double>(k) * (height + kPadding);
        m_vPanels.push_back(layoutPanel(*shown[k], SRect(box.left, top, box.right, top - height), xMax));
    }
}

CGraphLayout::SPanel CGraphLayout::layoutPanel(const CFitnessGraph& graph, const SRect& box, double xMax) const
{
    SPanel panel;
    panel.box = box;
    const double lh = m_font.dLineHeight;
    const double d = m_font.dDescent;
    const double left = box.left + kPadding, right = box.right - kPadding;
    const double top = box.top - kPadding, bottom = box.bottom + kPadding;
    if (top - lh < bottom || right <= left)
        return panel;
    // The whole title where it fits, else the short one, shortened only where that does not.
    const bool whole = m_font.width(graph.title()) <= right - left || graph.shortTitle().empty();
    const std::string title = CTextFit::fitted(whole ? graph.title() : graph.shortTitle(), m_font.width, right - left);
    if (!title.empty())
        panel.vTexts.push_back({left, top - lh + d, title, GRAPH_TITLE, 0});

    // The plot takes what the title, the x labels and the legend's rows leave; the legend gives
    // up its last rows before the plot gives up.
    const CFitnessGraph::SAxis xAxis = CFitnessGraph::axisFor(xMax);
    const std::string lastX = CFitnessGraph::label(xAxis.tick(xAxis.iTicks)) + " min";
    double yLabelRoom = 0;
    for (const double tick : graph.yScale().vTicks)
        yLabelRoom = std::max(yLabelRoom, m_font.width(CFitnessGraph::label(tick)));
    const SRect plot(left + yLabelRoom + kLabelGap + kTick, top - lh - lh / 2 - 1, right - m_font.width(lastX) / 2, 0);
    std::vector<TLegendRow> legend = legendRows(graph, left, right);
    if (legend.size() > kMaxLegendRows)
        legend.resize(kMaxLegendRows);
    for (;; legend.pop_back())
    {
        const double plotBottom = bottom + legend.size() * lh + lh + kTick;
        if (plot.top - plotBottom >= kMinPlotHeight && plot.right - plot.left >= kMinPlotHeight)
        {
            panel.plot = SRect(plot.left, plot.top, plot.right, plotBottom);
            placeLegend(panel, legend, bottom);
            placeTicks(panel, graph, xMax);
            placeCurves(panel, graph, xMax);
            return panel;
        }
        if (legend.empty())
            return panel;
    }
}

// The legend's entries in rows that fit between left and right; a name too long for what is
// left of its row is shortened.
std::vector<CGraphLayout::TLegendRow> CGraphLayout::legendRows(const CFitnessGraph& graph, double left,
                                                               double right) const
{
    std::vector<TLegendRow> rows(1);
    double x = left;
    for (const SEntry& entry : legendEntries(graph))
    {
        if (x > left && x + kSampleLength + kLabelGap + m_font.width(entry.sName) > right)
        {
            rows.emplace_back();
            x = left;
        }
        const std::string text = CTextFit::fitted(entry.sName, m_font.width, right - x - kSampleLength - kLabelGap);
        if (text.empty())
            continue;
        rows.back().push_back({entry.sName == text ? entry : SEntry{text, entry.uColour, entry.dWidth, entry.bDashed}});
        x += kSampleLength + kLabelGap + m_font.width(text) + 2 * kLabelGap;
    }
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The rows from the bottom up, the first row highest.
void CGraphLayout::placeLegend(SPanel& panel, const std::vector<TLegendRow>& rows, double bottom) const
{
    const double lh = m_font.dLineHeight;
    for (size_t row = 0; row < rows.size(); ++row)
    {
        const double baseline = bottom + (rows.size() - 1 - row) * lh + m_font.dDescent;
        const double middle = baseline + 0.3 * lh;
        double x = panel.box.left + kPadding;
        for (const SEntry& entry : rows[row])
        {
            if (entry.bDashed)
                addDashes(panel.vLines, {SVector2D(x, middle), SVector2D(x + kSampleLength, middle)}, entry.uColour,
                          entry.dWidth);
            else
                panel.vLines.push_back({SVector2D(x, middle), SVector2D(x + kSampleLength, middle), GRAPH_CURVE,
                                        entry.uColour, entry.dWidth});
            panel.vTexts.push_back({x + kSampleLength + kLabelGap, baseline, entry.sName, GRAPH_LEGEND, entry.uColour});
            x += kSampleLength + kLabelGap + m_font.width(entry.sName) + 2 * kLabelGap;
        }
    }
}

void CGraphLayout::placeTicks(SPanel& panel, const CFitnessGraph& graph, double xMax) const
{
    const SRect& p = panel.plot;
    const double lh = m_font.dLineHeight;
    const double d = m_font.dDescent;
    panel.vLines.push_back({SVector2D(p.left, p.bottom), SVector2D(p.right, p.bottom), GRAPH_AXIS, 0, 1.0});
    panel.vLines.push_back({SVector2D(p.left, p.bottom), SVector2D(p.left, p.top), GRAPH_AXIS, 0, 1.0});
    // y: every tick, and its label where it keeps a line's height from the one below.
    const CFitnessGraph::SScale y = graph.yScale();
    double lastLabel = -HUGE_VAL;
    for (const double tick : y.vTicks)
    {
        const double at = p.bottom + y.share(tick) * (p.top - p.bottom);
        panel.vLines.push_back({SVector2D(p.left - kTick, at), SVector2D(p.left, at), GRAPH_AXIS, 0, 1.0});
        if (at - lastLabel < lh)
            continue;
        lastLabel = at;
        const std::string label = CFitnessGraph::label(tick);
        panel.vTexts.push_back({p.left - kTick - kLabelGap - m_font.width(label), at - (lh - 2 * d) / 2, label,
                                GRAPH_AXIS, 0});
    }
    // x: from the last label, which carries the unit, leftwards; the origin is y's label.
    const CFitnessGraph::SAxis x = CFitnessGraph::axisFor(xMax);
    const double baseline = p.bottom - kTick - lh + d;
    double leftmost = panel.box.right;
    for (int k = x.iTicks; k >= 1; --k)
    {
        const double at = p.left + x.tick(k) / x.dMax * (p.right - p.left);
        panel.vLines.push_back({SVector2D(at, p.bottom), SVector2D(at, p.bottom - kTick), GRAPH_AXIS, 0, 1.0});
        const std::string label = CFitnessGraph::label(x.tick(k)) + (k == x.iTicks ? " min" : "");
        const double width = m_font.width(label);
        if (at + width / 2 > leftmost - kLabelGap || at - width / 2 < p.left)
            continue;
        panel.vTexts.push_back({at - width / 2, baseline, label, GRAPH_AXIS, 0});
        leftmost = at - width / 2;
    }
}

void CGraphLayout::placeCurves(SPanel& panel, const CFitnessGraph& graph, double xMax) const
{
    const SRect& p = panel.plot;
    const CFitnessGraph::SScale yScale = graph.yScale();
    const auto at = [&p, &yScale, xMax](double x, double y) {
        return SVector2D(p.left + std::clamp(x / xMax, 0.0, 1.0) * (p.right - p.left),
                         p.bottom + yScale.share(y) * (p.top - p.bottom));
    };
    // Every curve first, the dashed ones as dashes: the notes keep off all of them.
    std::vector<SCurve> all;
    std::vector<std::string> notes;
    for (const CFitnessGraph::SSeries& series : graph.getSeries())
    {
        SCurve curve{{}, series.uColour, series.dLineWidth};
        for (const CFitnessGraph::SPoint& point : series.vPoints)
            if (std::isfinite(point.x) && std::isfinite(point.y))
                curve.vPoints.push_back(at(point.x, point.y));
        if (curve.vPoints.empty())
            continue;
        all.push_back(curve);
        notes.push_back(series.sNote);
        if (series.bDashed)
            addDashes(panel.vLines, curve.vPoints, curve.uColour, curve.dWidth);
        else
            panel.vCurves.push_back(curve);
    }
    std::vector<SRect> placed;
    for (size_t i = 0; i < all.size(); ++i)
        placeNote(panel, all, i, notes[i], placed);
}

// The note beside its curve's last point in the first place, from just above that point
// outwards, that no curve crosses and no other note takes; where the plot has no such place,
// one that its own curve does not cross; left out when there is none either.
void CGraphLayout::placeNote(SPanel& panel, const std::vector<SCurve>& curves, size_t index, const std::string& text,
                             std::vector<SRect>& placed) const
{
    const SRect& p = panel.plot;
    const std::string note = CTextFit::fitted(text, m_font.width, p.right - p.left);
    if (note.empty())
        return;
    const double lh = m_font.dLineHeight, d = m_font.dDescent;
    const double width = m_font.width(note);
    const SVector2D last = curves[index].vPoints.back();
    const double lowest = p.bottom + d, highest = p.top - lh + d;
    const double first = std::clamp(last.y + kLabelGap + d, lowest, highest);
    for (const bool everyCurve : {true, false})
    {
        const auto free = [&](const SRect& box) {
            if (std::any_of(placed.begin(), placed.end(), [&box](const SRect& other) { return overlaps(box, other); }))
                return false;
            if (!everyCurve)
                return clearOf(box, curves[index]);
            return std::all_of(curves.begin(), curves.end(), [&box](const SCurve& curve) { return clearOf(box, curve); });
        };
        // Rightmost first, then leftwards by half a note; at each, above the point outwards in
        // steps of two pixels, then below it.
        for (double x = std::min(last.x + kLabelGap, p.right - width); x >= p.left; x -= width / 2)
            for (double step = 0; step <= p.top - p.bottom; step += 2)
                for (const double baseline : {first + step, first - step - 2})
                {
                    if (baseline < lowest || baseline > highest)
                        continue;
                    const SRect box(x, baseline + lh - d, x + width, baseline - d);
                    if (!free(box))
                        continue;
                    placed.push_back(box);
                    panel.vTexts.push_back({x, baseline, note, GRAPH_NOTE, curves[index].uColour});
                    return;
                }
    }
}
