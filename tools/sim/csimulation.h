#pragma once

#include <fstream>
#include <string>

#include "app/cfitnessgraph.h"
#include "world/cgamecontroller.h"

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
    bool bGunAuto = true;
    std::string sPlotFile;
};

// The game's world without a window: steps it, samples both brain pools every period of
// simulated time into the statistics file and the fitness graph, and reports progress.
class CSimulation
{
public:
    explicit CSimulation(const SSimOptions& options);

    // Loads the parameters and pools and builds the world; false (with the problem
    // printed) when any of them cannot be used.
    bool prepare();
    // Runs the steps; false when a statistics, pool or plot file cannot be written.
    bool run();

private:
    void sample(double minutes);
    void printProgress(long long step, double wallSeconds) const;
    void printSummary(double wallSeconds) const;
    bool saveOutputs();

    SSimOptions m_sOptions;
    CGameController m_controller;
    std::ofstream m_statsFile;
    CFitnessGraph m_graph;
    int m_iRedBest;   // the graph's series
    int m_iGreenBest;
};
