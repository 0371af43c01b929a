#pragma once

#include <memory>
#include <string>
#include <vector>

#include "view/clearninggraph.h"
#include "view/clearningrecorder.h"
#include "sim/crunsummary.h"
#include "sim/ctablefile.h"
#include "world/ccontrolworld.h"
#include "world/cgamecontroller.h"

class CStopRequest;

// What a headless run does; filled from the command line.
struct SSimOptions
{
    std::string sParams = "params.ini";
    long long llSteps = 100000;
    bool bSeedGiven = false;
    unsigned uSeed = 0;
    std::string sStatsFile;
    double dStatsEveryMs = 0; // 0: CParams::Stats_SaveInterval
    std::string sSaveGreen, sLoadGreen, sSaveRed, sLoadRed;
    bool bControl = false;
    bool bReference = false; // the straightforward walks instead of the spatial index
    bool bGunAuto = true;
    std::string sPlotFile;
    std::vector<std::string> vSettings; // "Member=Value", applied over the parameter file
    std::string sSummaryFile;
    std::string sLearningFile; // each period's deaths, their mean fitness and the pools' best
};

// The game's world without a window: steps it, samples both populations every period of
// game time into the statistics file, the learning curves' file and graph, tallies the
// run's summary, and reports progress. For a plot, a control world steps beside it with its
// gun replayed, as in the game, and gives the graph its random brains; it never changes the
// run's own seeded results.
// Every output, the statistics file included, replaces an old file only once it is
// complete: a failed write leaves the old file as it was.
class CSimulation
{
public:
    explicit CSimulation(const SSimOptions& options);

    // Loads the parameters, applies the settings and checks the values, loads the pools
    // and builds the world. Returns 0, or the exit status with the problem printed: 2 for
    // a setting that is malformed or breaks the parameters' rules, 1 when a file cannot be
    // used.
    int prepare();
    // Runs the steps, or as many as come before a stop request, and writes every output.
    // Returns the exit status: 1 when an output cannot be written, else the stop
    // request's status when it cut the run short, else 0.
    int run(const CStopRequest& stop);

private:
    int loadParameters() const;
    bool openTables();
    void sample(double minutes);
    void writeLearningLine(double minutes, const CLearningRecorder::SPeriod& period);
    void printProgress(long long step, double wallSeconds) const;
    void printSummary(long long steps, double wallSeconds) const;
    bool saveOutputs(long long stepsRun);
    bool saveSummary(long long stepsRun);

    SSimOptions m_sOptions;
    CGameController m_controller;
    CTableFile m_statsFile{"statistics"};
    CTableFile m_learningFile{"learning curves"};
    std::unique_ptr<CRunSummary> m_pSummary; // made with the world
    CLearningGraph m_learning; // the plot's curves: the run's, and the control world's
    int m_iRun = 0;            // the run's curves in it
    int m_iControlRun = 0;
    CLearningRecorder m_recorder;
    long long m_aLastAliveSteps[2] = {}; // red's and green's alive steps at the last period's end
    // Stepped beside the run only for a plot, whose dashed curves it draws.
    CControlWorld m_control;
    CLearningRecorder m_controlRecorder;
};
