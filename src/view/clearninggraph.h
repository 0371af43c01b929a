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
// statistics file) has only its pool's best to show, in a thin line. A third panel shows the
// game from the player's side for every run whose periods tell it: the red bullets that hit
// the gun and the aliens the gun struck down, each a game minute over the same rolling
// window, with the random brains' dashed and the same ratios, so that the ships can be seen
// becoming more dangerous and harder to hit.
class CLearningGraph
{
public:
    static constexpr int Red = 0;
    static constexpr int Green = 1;
    static constexpr int Player = 2;
    static constexpr int NumPanels = 3;
    static constexpr double RollingMinutes = 1.0;

    // One period of one population: the aliens that died in it, the mean fitness they carried
    // (NaN when none died) and the best fitness in its pool at the period's end.
    struct SPeriod
    {
        long long llDeaths;
        double dDeadMean;
        double dPoolBest;
    };
    // One period of the player's side: the red bullets that hit the gun and the aliens the
    // gun's bullets struck down in it; negative when not known (a file that does not say).
    struct SPlayerPeriod
    {
        long long llHitsOnGun;
        long long llGunKills;
    };
    static constexpr SPlayerPeriod NotKnown = {-1, -1};

    CLearningGraph();
    // A run's curves, named after the prefix ("" or "run: "), in the given colours; returns
    // the run's number.
    int addRun(const std::string& prefix, unsigned redColour, unsigned greenColour, bool deadMeans);
    // The run of random brains, drawn dashed and named BaselineName, that every other run's
    // ratio is taken to; returns its number. One graph has one.
    int addBaseline();
    // The periods of the run that ended at this game time. One that ends no later than the
    // run's last (the game was paused throughout) adds nothing.
    void addPeriod(int run, double gameMinutes, const SPeriod& red, const SPeriod& green,
                   const SPlayerPeriod& player = NotKnown);
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
    // A count a game minute over the rolling window: the window's periods, and where it starts.
    struct SRate
    {
        int iSeries;
        std::deque<SPeriodSum> dqWindow; // llDeaths holds the period's count
        double dWindowStart;
        double dLast; // the newest point's, NaN before the first
    };
    struct SRun
    {
        bool bDeadMeans;
        double dLastMinutes;
        SCurve asCurves[2];
        SRate asRates[2]; // hits on the gun, the gun's kills
    };

    int addRun(const std::string& prefix, const std::string& name, const unsigned colours[4], bool deadMeans,
               bool dashed);
    bool addPoint(int population, SCurve& curve, bool deadMeans, double minutes, const SPeriod& period);
    void addRate(SRate& rate, double minutes, long long count);
    void writeNotes(int population);
    void writePlayerNotes();

    CFitnessGraph m_aPanels[NumPanels];
    std::vector<SRun> m_vRuns;
    int m_iBaseline = -1; // the random brains' run, once there is one
};
