// korvane-sim: the game's world without a window, for studying its evolution.
#include <CLI/CLI.hpp>

#include <climits>
#include <iostream>

#include "common/coutputcheck.h"
#include "sim/coptionvalidators.h"
#include "sim/csimulation.h"
#include "files/cstoprequest.h"
#include "files/outofmemory.h"

namespace
{
constexpr int kUsageError = 2;

// Every output checked against the others and the inputs before the run, not after it.
int checkFiles(const SSimOptions& options)
{
    COutputCheck files;
    files.addInput("--params", options.sParams);
    files.addInput("--load-green", options.sLoadGreen);
    files.addInput("--load-red", options.sLoadRed);
    files.addOutput("--stats", options.sStatsFile);
    files.addOutput("--learning", options.sLearningFile);
    files.addOutput("--save-green", options.sSaveGreen);
    files.addOutput("--save-red", options.sSaveRed);
    files.addOutput("--plot", options.sPlotFile);
    files.addOutput("--summary", options.sSummaryFile);
    return files.report();
}
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-sim");
    SSimOptions options;
    std::string gun = "auto";
    CLI::App app{"Runs the Korvane Aliens world headless and records how its aliens evolve."};
    app.footer("Exit status: 0 done; 1 a file could not be read or written; 2 a wrong command line (an option's "
               "value, an output that is the same file as another output or an input, or a --set that is "
               "malformed or breaks the parameters' rules); 130 or 143 stopped by "
               "SIGINT or SIGTERM after the current step, with every output written.");
    app.add_option("--params", options.sParams, "parameter file, checked as the game checks it")
        ->capture_default_str();
    app.add_option("--steps", options.llSteps, "world steps to run, each 1000/Game_FramesPerSecond ms long")
        ->capture_default_str()
        ->transform(COptionValidators::wholeNumber(1, LLONG_MAX));
    app.add_option("--seed", options.uSeed, "seed of the random sequence (default: the clock; printed either way)")
        ->transform(COptionValidators::wholeNumber(0, UINT_MAX));
    app.add_option("--stats", options.sStatsFile,
                   "statistics file: a # line naming the columns, then one tab-separated line per period");
    app.add_option("--learning", options.sLearningFile,
                   "learning curves' file, for korvane-plot: a # line naming the columns, then per statistics period "
                   "the minutes, and for red and for green the aliens that died, the mean fitness they carried "
                   "(nan when none died) and the best fitness in the pool; then for red and for green the "
                   "fitness a newcomer must beat to join the pool (its entry bar, nan while it fills) and "
                   "the newcomers it took in; then the player's side: the shots the gun fired, the aliens its "
                   "bullets struck down, the red bullets that hit the gun, a red alien and a green alien, and for "
                   "red and for green the alien-steps spent alive");
    app.add_option("--stats-every", options.dStatsEveryMs, "statistics and learning period in ms of simulated time "
                                                           "(default: Stats_SaveInterval)")
        ->check(COptionValidators::positiveNumber());
    app.add_option("--save-green", options.sSaveGreen, "write the green brain pool here at the end (game's format)");
    app.add_option("--load-green", options.sLoadGreen, "start from the green brain pool in this file");
    app.add_option("--save-red", options.sSaveRed, "write the red brain pool here at the end");
    app.add_option("--load-red", options.sLoadRed, "start from the red brain pool in this file");
    app.add_flag("--reference", options.bReference,
                 "answer the world's questions by walking every alien and bullet instead of through the "
                 "spatial index: slower, the same results (for checking the index)");
    app.add_flag("--control", options.bControl,
                 "no evolution: every dead alien is reborn with random weights (the baseline)");
    app.add_option("--gun", gun, "auto: the gun drives itself and fires, standing in for a player; "
                                 "still: it stays parked and silent")
        ->capture_default_str()
        ->check(COptionValidators::oneOf({"auto", "still"}));
    app.add_option("--plot", options.sPlotFile,
                   "write an SVG graph: over game minutes, the mean fitness of the red and green aliens that died "
                   "in each statistics period (thick) and each pool's best (thin)");
    app.add_option("--set", options.vSettings,
                   "Member=Value: a value of the parameter file changed for this run (repeatable), read as the "
                   "file's values are; the file is checked first, then the values with every --set applied")
        ->allow_extra_args(false);
    app.add_option("--summary", options.sSummaryFile,
                   "write what the run did as JSON: per population the deaths, the mean fitness of the aliens "
                   "that died in each third of the steps asked for, the share of alien-steps alive, the mean "
                   "lifetime of the dead and the pool; with the seed, steps run and every parameter");
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        return app.exit(error) == 0 ? 0 : kUsageError;
    }

    options.bSeedGiven = app.count("--seed") > 0;
    options.bGunAuto = gun == "auto";
    if (const int status = checkFiles(options); status != 0)
        return status;
    // Installed before the statistics file is opened: from then on a stop request saves it.
    CStopRequest stop;
    CSimulation simulation(options);
    if (const int status = simulation.prepare(); status != 0)
        return status;
    return simulation.run(stop);
}
