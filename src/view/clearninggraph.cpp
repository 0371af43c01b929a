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
    const char* szShortTitle;
    const char* szFitness;
};
const SPanelWords kWords[2] = {{"Red aliens: the score of the dying (log scale)", "Red: score of the dying (log)", "score"},
                               {"Green aliens: the steps the dying lived", "Green: steps the dying lived",
                                "steps alive"}};
// The player's side, in each run's two curves: its first, then its second.
const char* const kRateNames[2] = {"red hits on the gun", "the gun's kills"};
constexpr unsigned kHitsColour = 0xFF9030;
constexpr unsigned kKillsColour = 0x50B0FF;
} // namespace

CLearningGraph::CLearningGraph()
{
    for (const int population : {Red, Green})
    {
        m_aPanels[population].setTitle(kWords[population].szTitle, kWords[population].szShortTitle);
        m_aPanels[population].setLogScale(population == Red);
        m_aPanels[population].setAxisNames("minutes of game time", std::string("mean ") +
                                                                       kWords[population].szFitness);
    }
    m_aPanels[Player].setTitle("You: red hits on the gun and the gun's kills a game minute",
                               "You: hits on the gun, kills a minute");
    m_aPanels[Player].setAxisNames("minutes of game time", "a game minute");
}

int CLearningGraph::addRun(const std::string& prefix, unsigned redColour, unsigned greenColour, bool deadMeans)
{
    const unsigned colours[4] = {redColour, greenColour, kHitsColour, kKillsColour};
    return addRun(prefix, prefix + (deadMeans ? "mean of the last minute's dying" : "best in the pool"), colours,
                  deadMeans, false);
}

int CLearningGraph::addBaseline()
{
    const unsigned colours[4] = {kBaselineColour, kBaselineColour, kBaselineColour, kBaselineColour};
    m_iBaseline = addRun(std::string(BaselineName) + ": ", BaselineName, colours, true, true);
    return m_iBaseline;
}

// The player's curves are named by what they count, after the run's prefix.
int CLearningGraph::addRun(const std::string& prefix, const std::string& name, const unsigned colours[4],
                           bool deadMeans, bool dashed)
{
    SRun run{deadMeans, -std::numeric_limits<double>::infinity(), {}, {}};
    const double width = dashed ? kBaselineWidth : deadMeans ? CFitnessGraph::ThickLine : CFitnessGraph::ThinLine;
    for (const int population : {Red, Green})
    {
        run.asCurves[population].iSeries = m_aPanels[population].addSeries(name, colours[population], width, dashed);
        run.asCurves[population].dLastMean = kNone;
    }
    for (int k = 0; k < 2; ++k)
    {
        // Random brains' two counts are told apart by where they lie, as their colour is one.
        const std::string rateName = dashed ? name : prefix + kRateNames[k];
        run.asRates[k].iSeries = m_aPanels[Player].addSeries(rateName, colours[2 + k], width, dashed);
        run.asRates[k].dWindowStart = 0.0;
        run.asRates[k].dLast = kNone;
    }
    m_vRuns.push_back(run);
    return static_cast<int>(m_vRuns.size()) - 1;
}

void CLearningGraph::addPeriod(int run, double gameMinutes, const SPeriod& red, const SPeriod& green,
                               const SPlayerPeriod& player)
{
    SRun& r = m_vRuns[run];
    if (!(gameMinutes > r.dLastMinutes))
        return;
    r.dLastMinutes = gameMinutes;
    if (addPoint(Red, r.asCurves[Red], r.bDeadMeans, gameMinutes, red))
        writeNotes(Red);
    if (addPoint(Green, r.asCurves[Green], r.bDeadMeans, gameMinutes, green))
        writeNotes(Green);
    if (player.llHitsOnGun < 0 || player.llGunKills < 0)
        return;
    addRate(r.asRates[0], gameMinutes, player.llHitsOnGun);
    addRate(r.asRates[1], gameMinutes, player.llGunKills);
    writePlayerNotes();
}

// The count a game minute over the window that ends now: its periods' counts over the game
// time they cover, which is less than the window only while the run is young.
void CLearningGraph::addRate(SRate& rate, double minutes, long long count)
{
    rate.dqWindow.push_back({minutes, count, 0.0});
    while (rate.dqWindow.front().dMinutes <= minutes - RollingMinutes)
    {
        rate.dWindowStart = rate.dqWindow.front().dMinutes;
        rate.dqWindow.pop_front();
    }
    long long sum = 0;
    for (const SPeriodSum& kept : rate.dqWindow)
        sum += kept.llDeaths;
    const double covered = minutes - rate.dWindowStart;
    if (!(covered > 0))
        return;
    rate.dLast = static_cast<double>(sum) / covered;
    m_aPanels[Player].addPoint(rate.iSeries, minutes, rate.dLast);
}

void CLearningGraph::writePlayerNotes()
{
    for (int k = 0; k < 2; ++k)
    {
        const double baseline = m_iBaseline < 0 ? kNone : m_vRuns[m_iBaseline].asRates[k].dLast;
        for (int run = 0; run < static_cast<int>(m_vRuns.size()); ++run)
        {
            const SRate& rate = m_vRuns[run].asRates[k];
            const bool known = run != m_iBaseline && baseline > 0 && std::isfinite(baseline) && std::isfinite(rate.dLast);
            m_aPanels[Player].setNote(rate.iSeries, known ? ratioNote(rate.dLast / baseline) : "");
        }
    }
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
