#include "view/clearninggraph.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr unsigned kBaselineColour = 0xA0A0A8;
constexpr double kBaselineWidth = 1.5;

struct SPanelWords
{
    const char* szTitle;
    const char* szFitness;
};
const SPanelWords kWords[2] = {{"Red aliens: the score of the dying (log scale)", "score"},
                               {"Green aliens: the steps the dying lived", "steps alive"}};
} // namespace

CLearningGraph::CLearningGraph()
{
    for (const int population : {Red, Green})
    {
        m_aPanels[population].setTitle(kWords[population].szTitle);
        m_aPanels[population].setLogScale(population == Red);
        m_aPanels[population].setAxisNames("minutes of game time", std::string("mean ") +
                                                                       kWords[population].szFitness);
    }
}

int CLearningGraph::addRun(const std::string& prefix, unsigned redColour, unsigned greenColour, bool deadMeans)
{
    const unsigned colours[2] = {redColour, greenColour};
    return addRun(prefix + (deadMeans ? "mean of the last minute's dying" : "best in the pool"), colours, deadMeans,
                  false);
}

int CLearningGraph::addBaseline()
{
    const unsigned colours[2] = {kBaselineColour, kBaselineColour};
    m_iBaseline = addRun(BaselineName, colours, true, true);
    return m_iBaseline;
}

int CLearningGraph::addRun(const std::string& name, const unsigned colours[2], bool deadMeans, bool dashed)
{
    SRun run{deadMeans, -std::numeric_limits<double>::infinity(), {}};
    for (const int population : {Red, Green})
    {
        const double width = dashed ? kBaselineWidth : deadMeans ? CFitnessGraph::ThickLine : CFitnessGraph::ThinLine;
        run.asCurves[population].iSeries = m_aPanels[population].addSeries(name, colours[population], width, dashed);
        run.asCurves[population].dLastMean = kNone;
    }
    m_vRuns.push_back(run);
    return static_cast<int>(m_vRuns.size()) - 1;
}

void CLearningGraph::addPeriod(int run, double gameMinutes, const SPeriod& red, const SPeriod& green)
{
    SRun& r = m_vRuns[run];
    if (!(gameMinutes > r.dLastMinutes))
        return;
    r.dLastMinutes = gameMinutes;
    if (addPoint(Red, r.asCurves[Red], r.bDeadMeans, gameMinutes, red))
        writeNotes(Red);
    if (addPoint(Green, r.asCurves[Green], r.bDeadMeans, gameMinutes, green))
        writeNotes(Green);
}

// True when the curve's newest mean changed.
bool CLearningGraph::addPoint(int population, SCurve& curve, bool deadMeans, double minutes, const SPeriod& period)
{
    CFitnessGraph& panel = m_aPanels[population];
    if (!deadMeans)
    {
        panel.addPoint(curve.iSeries, minutes, period.dPoolBest);
        return false;
    }
    if (period.llDeaths > 0 && std::isfinite(period.dDeadMean))
        curve.dqWindow.push_back({minutes, period.llDeaths, period.dDeadMean * period.llDeaths});
    while (!curve.dqWindow.empty() && curve.dqWindow.front().dMinutes <= minutes - RollingMinutes)
        curve.dqWindow.pop_front();
    // Summed anew rather than kept as a running sum, so that rounding never builds up.
    long long deaths = 0;
    double fitness = 0.0;
    for (const SPeriodSum& kept : curve.dqWindow)
    {
        deaths += kept.llDeaths;
        fitness += kept.dFitness;
    }
    if (deaths == 0)
        return false;
    curve.dLastMean = fitness / static_cast<double>(deaths);
    panel.addPoint(curve.iSeries, minutes, curve.dLastMean);
    return true;
}

// Each run's ratio of its newest mean to the random brains' newest.
void CLearningGraph::writeNotes(int population)
{
    const double baseline = m_iBaseline < 0 ? kNone : m_vRuns[m_iBaseline].asCurves[population].dLastMean;
    for (int run = 0; run < static_cast<int>(m_vRuns.size()); ++run)
    {
        const SCurve& curve = m_vRuns[run].asCurves[population];
        const bool known = run != m_iBaseline && m_vRuns[run].bDeadMeans && baseline > 0 &&
                           std::isfinite(baseline) && std::isfinite(curve.dLastMean);
        m_aPanels[population].setNote(curve.iSeries, known ? ratioNote(curve.dLastMean / baseline) : "");
    }
}

std::string CLearningGraph::ratioNote(double ratio)
{
    char text[64];
    std::snprintf(text, sizeof text, ratio < 10 ? "\xD7%.1f random brains" : "\xD7%.0f random brains", ratio);
    return text;
}
