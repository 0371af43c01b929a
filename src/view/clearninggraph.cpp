#include "view/clearninggraph.h"

#include <cmath>
#include <limits>

#include "view/cfitnessgraph.h"

CLearningGraph::CLearningGraph(CFitnessGraph& graph, const std::string& prefix, unsigned redColour,
                               unsigned greenColour, bool deadMeans)
    : m_graph(graph), m_sRed(addCurves(prefix + "red", "score", redColour, deadMeans)),
      m_sGreen(addCurves(prefix + "green", "steps alive", greenColour, deadMeans)),
      m_dLastMinutes(-std::numeric_limits<double>::infinity())
{
    graph.setAxisNames(XAxisName, YAxisName);
}

CLearningGraph::SCurves CLearningGraph::addCurves(const std::string& name, const std::string& fitness,
                                                  unsigned colour, bool deadMeans)
{
    SCurves curves{-1, -1};
    if (deadMeans)
        curves.iDeadMean = m_graph.addSeries(name + ", mean " + fitness + " of the dying", colour,
                                             CFitnessGraph::ThickLine);
    curves.iPoolBest = m_graph.addSeries(name + ", best " + fitness + " in the pool", colour, CFitnessGraph::ThinLine);
    return curves;
}

void CLearningGraph::addPeriod(double gameMinutes, const SPeriod& red, const SPeriod& green)
{
    if (!(gameMinutes > m_dLastMinutes))
        return;
    m_dLastMinutes = gameMinutes;
    addPoints(m_sRed, gameMinutes, red);
    addPoints(m_sGreen, gameMinutes, green);
}

void CLearningGraph::addPoints(const SCurves& curves, double gameMinutes, const SPeriod& period)
{
    if (curves.iDeadMean >= 0 && !std::isnan(period.dDeadMean))
        m_graph.addPoint(curves.iDeadMean, gameMinutes, period.dDeadMean);
    m_graph.addPoint(curves.iPoolBest, gameMinutes, period.dPoolBest);
}
