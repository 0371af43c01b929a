#include <ctime>
#include <iostream>

#include "view/cdeathsinperiod.h"
#include "view/clearninggraph.h"
#include "app/cparams.h"
#include "app/shell.h"
#include "app/statsfile.h"
#include "brain/calien_population.h"

namespace
{
const char* const kGreenBrainFile = "GreenAliens_saved.txt";
constexpr int kRed = 0;
constexpr int kGreen = 1;

// The game's and the control world's runs in the learning graph, where each period's deaths
// begin, and when the period under way ends, in world time.
int g_iLearningRun = 0;
int g_iControlRun = 0;
CDeathsInPeriod g_redDeaths;
CDeathsInPeriod g_greenDeaths;
CDeathsInPeriod g_controlRedDeaths;
CDeathsInPeriod g_controlGreenDeaths;
CGamePeriod g_learningPeriod{1.0};

CWorldTally g_learningTally; // the game's tally, and the control world's, at the last point
CWorldTally g_controlTally;

CLearningGraph::SPeriod periodOf(CDeathsInPeriod& deaths, const CAlien_Population& population)
{
    const CDeathsInPeriod::SPeriod period = deaths.take(population);
    return {period.llDeaths, period.dMeanFitness, population.getBestFitness()};
}

// The player's side of a world since the last point.
CLearningGraph::SPlayerPeriod playerPeriodOf(CWorldTally& last, const CGameController& world)
{
    const CWorldTally period = world.getTally().since(last);
    last = world.getTally();
    return {period.hitsOnGun(), period.gunKills()};
}
} // namespace

void openStatistics()
{
    g_statsFile.create(statsFileName(std::time(nullptr)));
    g_statistics.reset();
    startLearningGraph();
}

void startLearningGraph()
{
    g_learningGraph = CLearningGraph();
    g_iLearningRun = g_learningGraph.addRun("", 0xFF5050, 0x50FF70, true);
    g_iControlRun = g_learningGraph.addBaseline();
    g_learningPeriod = CGamePeriod(CParams::Stats_UpdateInterval);
    g_redDeaths = g_greenDeaths = g_controlRedDeaths = g_controlGreenDeaths = CDeathsInPeriod();
    g_learningTally = g_gameController.getTally();
    g_controlTally = g_controlWorld.world().getTally();
}

void sampleStatistics()
{
    if (g_statistics.afterStep(stepLength(), *g_gameController.getPopulations()[kRed], g_statsFile))
        fileWritten(g_statsFile.name());
    const double now = g_worldClock.worldMs();
    if (!g_learningPeriod.isDue(now))
        return;
    const auto populations = g_gameController.getPopulations();
    g_learningGraph.addPeriod(g_iLearningRun, now / 60000.0, periodOf(g_redDeaths, *populations[kRed]),
                              periodOf(g_greenDeaths, *populations[kGreen]),
                              playerPeriodOf(g_learningTally, g_gameController));
    const auto control = g_controlWorld.world().getPopulations();
    g_learningGraph.addPeriod(g_iControlRun, now / 60000.0, periodOf(g_controlRedDeaths, *control[kRed]),
                              periodOf(g_controlGreenDeaths, *control[kGreen]),
                              playerPeriodOf(g_controlTally, g_controlWorld.world()));
}

void closeStatistics()
{
    if (g_statsFile.close(g_statistics.totalDead()))
        fileWritten(g_statsFile.name());
}

void saveGreenBrains()
{
    if (g_gameController.getPopulations()[kGreen]->save(kGreenBrainFile))
        fileWritten(kGreenBrainFile);
}

void loadGreenBrains()
{
    // A kept pool the platform could not bring back is told as what it was, not as missing.
    if (const std::string problem = keptFileProblem(kGreenBrainFile); !problem.empty())
    {
        std::cerr << "Loading... Cannot load " << kGreenBrainFile << ": " << problem << std::endl;
        return;
    }
    g_gameController.getPopulations()[kGreen]->load(kGreenBrainFile);
}

bool loadEvolvedPools()
{
    const auto populations = g_gameController.getPopulations();
    return populations[kGreen]->load(kEvolvedGreenFile) && populations[kRed]->load(kEvolvedRedFile);
}
