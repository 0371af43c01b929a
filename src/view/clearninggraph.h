#pragma once

#include <string>

class CFitnessGraph;

// The graph that shows whether the aliens learn (the game's key g, korvane-sim --plot,
// korvane-plot): against minutes of game time, for red and for green, the mean fitness
// that the aliens dying in each sampling period carried, in thick lines (the population's
// real progress), and the best fitness in the pool, in thin lines of the same colour (the
// best brains ever seen, lucky ones included). A green alien's fitness is its alive steps,
// a red alien's its score; the axes and the legend say so.
class CLearningGraph
{
public:
    // One sampling period of one population; dDeadMean is NaN when no alien died in it.
    struct SPeriod
    {
        double dDeadMean;
        double dPoolBest;
    };

    // Adds the curves to the graph, their names after the prefix ("" or "run: "), and names
    // its axes. Without dead means (a statistics file, which has none) only the pools' best
    // is drawn.
    CLearningGraph(CFitnessGraph& graph, const std::string& prefix, unsigned redColour, unsigned greenColour,
                   bool deadMeans);

    // The points of a period that ended at this game time. A period without deaths adds no
    // point to its curve of the dead; one that ends no later than the last (the game was
    // paused throughout) adds nothing.
    void addPeriod(double gameMinutes, const SPeriod& red, const SPeriod& green);

    static constexpr const char* Title =
        "Learning: mean fitness of the aliens that died in each period (thick), best in the pool (thin)";
    static constexpr const char* XAxisName = "minutes of game time";
    static constexpr const char* YAxisName = "fitness (red: score, green: steps alive)";

private:
    struct SCurves
    {
        int iDeadMean; // -1 without dead means
        int iPoolBest;
    };
    SCurves addCurves(const std::string& name, const std::string& fitness, unsigned colour, bool deadMeans);
    void addPoints(const SCurves& curves, double gameMinutes, const SPeriod& period);

    CFitnessGraph& m_graph;
    SCurves m_sRed;
    SCurves m_sGreen;
    double m_dLastMinutes;
};
