#pragma once

#include <string>

#include "app/cfitnessgraph.h"
#include "world/catomicfile.h"
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
};

// The game's world without a window: steps it, samples both brain pools every period of
// simulated time into the statistics file and the fitness graph, and reports progress.
// Every output, the statistics file included, replaces an old file only once it is
// complete: a failed write leaves the old file as it was.
class CSimulation
{
public:
    explicit CSimulation(const SSimOptions& options);

    // Loads the parameters and pools and builds the world; false (with the problem
    // printed) when any of them cannot be used.
    bool prepare();
    // Runs the steps, or as many as come before a stop request, and writes every output.
    // Returns the exit status: 1 when an output cannot be written, else the stop
    // request's status when it cut the run short, else 0.
    int run(const CStopRequest& stop);

private:
    void sample(double minutes);
    void printProgress(long long step, double wallSeconds) const;
    void printSummary(long long steps, double wallSeconds) const;
    void reportStatsFailure() const;
    bool saveOutputs();

    SSimOptions m_sOptions;
    CGameController m_controller;
    CAtomicFile m_statsFile;
    CFitnessGraph m_graph;
    int m_iRedBest;   // the graph's series
    int m_iGreenBest;
};
