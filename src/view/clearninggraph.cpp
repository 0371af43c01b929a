#include "view/clearninggraph.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr unsigned kBaselineColour = 0xA0A0A8;

struct SPanelWords
{
    const char* szTitle;
    const char* szFitness;
};
const SPanelWords kWords[2] = {{"Red aliens: the score of the dying (log scale)", "score"},
                               {"Green aliens: the steps the dying lived", "steps alive"}};
} // namespace

CLearningGraph::CLearningGraph() : m_adBaseline{kNone, kNone}
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
    SRun run{deadMeans, -std::numeric_limits<double>::infinity(), {}};
    const unsigned colours[2] = {redColour, greenColour};
    for (const int population : {Red, Green})
    {
        const std::string name = deadMeans ? "mean of the last minute's dying" : "best in the pool";
        run.asCurves[population].iSeries = m_aPanels[population].addSeries(
            prefix + name, colours[population], deadMeans ? CFitnessGraph::ThickLine : CFitnessGraph::ThinLine);
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
    addPoint(Red, r.asCurves[Red], r.bDeadMeans, gameMinutes, red);
    addPoint(Green, r.asCurves[Green], r.bDeadMeans, gameMinutes, green);
}

void CLearningGraph::addPoint(int population, SCurve& curve, bool deadMeans, double minutes, const SPeriod& period)
{
    CFitnessGraph& panel = m_aPanels[population];
    if (!deadMeans)
    {
        panel.addPoint(curve.iSeries, minutes, period.dPoolBest);
        return;
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
        return;
    curve.dLastMean = fitness / static_cast<double>(deaths);
    panel.addPoint(curve.iSeries, minutes, curve.dLastMean);
    writeNote(population, curve);
}

void CLearningGraph::setBaseline(double red, double green)
{
    m_adBaseline[Red] = red;
    m_adBaseline[Green] = green;
    for (const int population : {Red, Green})
    {
        m_aPanels[population].setLevel(BaselineName, kBaselineColour, m_adBaseline[population]);
        for (const SRun& run : m_vRuns)
            if (run.bDeadMeans)
                writeNote(population, run.asCurves[population]);
    }
}

void CLearningGraph::writeNote(int population, const SCurve& curve)
{
    const double baseline = m_adBaseline[population];
    const bool known = baseline > 0 && std::isfinite(baseline) && std::isfinite(curve.dLastMean);
    m_aPanels[population].setNote(curve.iSeries, known ? ratioNote(curve.dLastMean / baseline) : "");
}

std::string CLearningGraph::ratioNote(double ratio)
{
    char text[64];
    std::snprintf(text, sizeof text, ratio < 10 ? "\xD7%.1f random brains" : "\xD7%.0f random brains", ratio);
    return text;
}
