#include <GL/freeglut.h>

#include <ctime>
#include <optional>

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

// The graph's curves, made when the game starts, and where each period's deaths begin.
std::optional<CLearningGraph> g_learningGraph;
CDeathsInPeriod g_redDeaths;
CDeathsInPeriod g_greenDeaths;

CLearningGraph::SPeriod periodOf(CDeathsInPeriod& deaths, const CAlien_Population& population)
{
    return {deaths.take(population).dMeanFitness, population.getBestFitness()};
}

void addGraphSample(const CAlien_Population& reds, const CAlien_Population& greens)
{
    g_learningGraph->addPeriod(g_worldClock.worldMs() / 60000.0, periodOf(g_redDeaths, reds), periodOf(g_greenDeaths, greens));
}
} // namespace

void openStatistics()
{
    g_statsFile.create(statsFileName(std::time(nullptr)));
    g_learningGraph.emplace(g_fitnessGraph, "", 0xFF5050, 0x50FF70, true);
}

void statsUpdateTimer(int)
{
    CAlien_Population* reds = g_gameController.getPopulations()[kRed];
    g_iDeadInPeriod = reds->getNumDead();
    g_iTotalDead += g_iDeadInPeriod;
    reds->setNumDead(0);
    g_dBestAge = reds->getBestFitness();
    g_dWorstAge = reds->getWorstFitness();
    addGraphSample(*reds, *g_gameController.getPopulations()[kGreen]);
    glutTimerFunc(CParams::Stats_UpdateInterval, statsUpdateTimer, 2);
}

void statsSaveTimer(int)
{
    g_dMinutesElapsed += CParams::Stats_SaveInterval / 60000.0;
    g_statsFile.saveLine(g_dMinutesElapsed, g_iDeadInPeriod, g_dBestAge, g_dWorstAge);
    glutTimerFunc(CParams::Stats_SaveInterval, statsSaveTimer, 3);
}

void closeStatistics()
{
    g_statsFile.close(g_iTotalDead);
}

void saveGreenBrains()
{
    g_gameController.getPopulations()[kGreen]->save(kGreenBrainFile);
}

void loadGreenBrains()
{
    g_gameController.getPopulations()[kGreen]->load(kGreenBrainFile);
}
