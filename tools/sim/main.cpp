// korvane-sim: the game's world without a window, for studying its evolution.
#include <CLI/CLI.hpp>

#include <iostream>

#include "sim/csimulation.h"
#include "world/outofmemory.h"

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-sim");
    SSimOptions options;
    std::string gun = "auto";
    CLI::App app{"Runs the Korvane Aliens world headless and records how its aliens evolve."};
    app.add_option("--params", options.sParams, "parameter file, checked as the game checks it")
        ->capture_default_str();
    app.add_option("--steps", options.llSteps, "world steps to run, each 1000/Game_FramesPerSecond ms long")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    app.add_option("--seed", options.uSeed, "seed of the random sequence (default: the clock; printed either way)");
    app.add_option("--stats", options.sStatsFile,
                   "statistics file: a # line naming the columns, then one tab-separated line per period");
    app.add_option("--stats-every", options.dStatsEveryMs, "statistics period in ms of simulated time "
                                                           "(default: Stats_SaveInterval)")
        ->check(CLI::PositiveNumber);
    app.add_option("--save-green", options.sSaveGreen, "write the green brain pool here at the end (game's format)");
    app.add_option("--load-green", options.sLoadGreen, "start from the green brain pool in this file");
    app.add_option("--save-red", options.sSaveRed, "write the red brain pool here at the end");
    app.add_option("--load-red", options.sLoadRed, "start from the red brain pool in this file");
    app.add_flag("--control", options.bControl,
                 "no evolution: every dead alien is reborn with random weights (the baseline)");
    app.add_option("--gun", gun, "auto: the gun drives itself and fires, standing in for a player; "
                                 "still: it stays parked and silent")
        ->capture_default_str()
        ->check(CLI::IsMember({"auto", "still"}));
    app.add_option("--plot", options.sPlotFile, "write the red and green best pool fitness as an SVG graph");
    CLI11_PARSE(app, argc, argv);

    options.bSeedGiven = app.count("--seed") > 0;
    options.bGunAuto = gun == "auto";
    CSimulation simulation(options);
    if (!simulation.prepare())
        return 1;
    return simulation.run() ? 0 : 1;
}
