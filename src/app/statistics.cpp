#include <GL/glut.h>

#include <ctime>

#include "view/cdeathsinperiod.h"
#include "view/clearninggraph.h"
#include "view/crandombaseline.h"
#include "app/cparams.h"
#include "app/shell.h"
#include "app/statsfile.h"
#include "brain/calien_population.h"

namespace
{
const char* const kGreenBrainFile = "GreenAliens_saved.txt";
constexpr int kRed = 0;
constexpr int kGreen = 1;

// The game's run in the learning graph, where each period's deaths begin, and when the
// period under way ends, in world time.
int g_iLearningRun = 0;
CDeathsInPeriod g_redDeaths;
CDeathsInPeriod g_greenDeaths;
double g_dNextPeriodMs = 0.0;

CLearningGraph::SPeriod periodOf(CDeathsInPeriod& deaths, const CAlien_Population& population)
{
    const CDeathsInPeriod::SPeriod period = deaths.take(population);
    return {period.llDeaths, period.dMeanFitness, population.getBestFitness()};
}
} // namespace

void openStatistics()
{
    g_statsFile.create(statsFileName(std::time(nullptr)));
    g_iLearningRun = g_learningGraph.addRun("", 0xFF5050, 0x50FF70, true);
    g_dNextPeriodMs = CParams::Stats_UpdateInterval;
}

void measureRandomBaseline()
{
    const CRandomBaseline::SMeans means = CRandomBaseline::measure(true);
    g_learningGraph.setBaseline(means.dRed, means.dGreen);
}

void sampleLearning()
{
    const double now = g_worldClock.worldMs();
    if (now < g_dNextPeriodMs)
        return;
    g_dNextPeriodMs = now + CParams::Stats_UpdateInterval;
    const auto populations = g_gameController.getPopulations();
    g_learningGraph.addPeriod(g_iLearningRun, now / 60000.0, periodOf(g_redDeaths, *populations[kRed]),
                              periodOf(g_greenDeaths, *populations[kGreen]));
}

void statsUpdateTimer(int)
{
    CAlien_Population* reds = g_gameController.getPopulations()[kRed];
    g_iDeadInPeriod = reds->getNumDead();
    g_iTotalDead += g_iDeadInPeriod;
    reds->setNumDead(0);
    g_dBestAge = reds->getBestFitness();
    g_dWorstAge = reds->getWorstFitness();
    glutTimerFunc(CParams::Stats_UpdateInterval, statsUpdateTimer, 2);
}

void statsSaveTimer(int)
{
    g_dMinutesElapsed += CParams::Stats_SaveInterval / 60000.0;
    if (g_statsFile.saveLine(g_dMinutesElapsed, g_iDeadInPeriod, g_dBestAge, g_dWorstAge))
        fileWritten(g_statsFile.name());
    glutTimerFunc(CParams::Stats_SaveInterval, statsSaveTimer, 3);
}

void closeStatistics()
{
    if (g_statsFile.close(g_iTotalDead))
        fileWritten(g_statsFile.name());
}

void saveGreenBrains()
{
    if (g_gameController.getPopulations()[kGreen]->save(kGreenBrainFile))
        fileWritten(kGreenBrainFile);
}

void loadGreenBrains()
{
    g_gameController.getPopulations()[kGreen]->load(kGreenBrainFile);
}
