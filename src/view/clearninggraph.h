#pragma once

#include <deque>
#include <string>
#include <vector>

#include "view/cfitnessgraph.h"

// The graph that shows whether the aliens learn (the game's key g, korvane-sim --plot,
// korvane-plot): a panel for each population, each scaled to its own data, against minutes of
// game time. In each, for every run drawn, a thick line: the mean fitness that the aliens
// dying over the last RollingMinutes of game time carried (a green alien's steps alive, a red
// alien's score), so that the noise of single periods does not hide the trend; a dashed line:
// the same mean over the same window for random brains (a control world's run beside the game,
// or a control run's file); and beside each run's line the ratio of its newest mean to the
// dashed line's newest ("×3.4 random brains"). A run from a file without the dying's means (a
// statistics file) has only its pool's best to show, in a thin line.
class CLearningGraph
{
public:
    static constexpr int Red = 0;
    static constexpr int Green = 1;
    static constexpr double RollingMinutes = 1.0;

    // One period of one population: the aliens that died in it, the mean fitness they carried
    // (NaN when none died) and the best fitness in its pool at the period's end.
    struct SPeriod
    {
        long long llDeaths;
        double dDeadMean;
        double dPoolBest;
    };

    CLearningGraph();
    // A run's curves, named after the prefix ("" or "run: "), in the given colours; returns
    // the run's number.
    int addRun(const std::string& prefix, unsigned redColour, unsigned greenColour, bool deadMeans);
    // The run of random brains, drawn dashed and named BaselineName, that every other run's
    // ratio is taken to; returns its number. One graph has one.
    int addBaseline();
    // The periods of the run that ended at this game time. One that ends no later than the
    // run's last (the game was paused throughout) adds nothing.
    void addPeriod(int run, double gameMinutes, const SPeriod& red, const SPeriod& green);
    const CFitnessGraph& panel(int population) const { return m_aPanels[population]; }

    // "×3.4 random brains" (Latin-1).
    static std::string ratioNote(double ratio);
    static constexpr const char* Title = "Learning: the mean fitness of the aliens dying over the last game minute, "
                                         "against random brains";
    static constexpr const char* BaselineName = "random brains";

private:
    struct SPeriodSum
    {
        double dMinutes;
        long long llDeaths;
        double dFitness;
    };
    // A run's curve in one panel, with the periods of its rolling window.
    struct SCurve
    {
        int iSeries;
        std::deque<SPeriodSum> dqWindow;
        double dLastMean; // the newest point's, NaN before the first
    };
    struct SRun
    {
        bool bDeadMeans;
        double dLastMinutes;
        SCurve asCurves[2];
    };

    int addRun(const std::string& prefix, const unsigned colours[2], bool deadMeans, bool dashed);
    bool addPoint(int population, SCurve& curve, bool deadMeans, double minutes, const SPeriod& period);
    void writeNotes(int population);

    CFitnessGraph m_aPanels[2];
    std::vector<SRun> m_vRuns;
    int m_iBaseline = -1; // the random brains' run, once there is one
};
