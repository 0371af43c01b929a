#include <GL/freeglut.h>

#include <ctime>

#include "app/cparams.h"
#include "app/shell.h"
#include "app/statsfile.h"
#include "brain/calien_population.h"

namespace
{
const char* const kGreenBrainFile = "GreenAliens_saved.txt";
constexpr int kRed = 0;
constexpr int kGreen = 1;

// The graph's curves, made with the first sample.
int g_iRedSeries = -1;
int g_iGreenSeries = -1;
int g_iSamples = 0;

void addGraphSample(double redBest, double greenBest)
{
    if (g_iRedSeries < 0)
    {
        g_iRedSeries = g_fitnessGraph.addSeries("red best", 0xFF5050);
        g_iGreenSeries = g_fitnessGraph.addSeries("green best", 0x50FF70);
    }
    // In double: an int product of the count and the period overflows in a long run.
    const double minutes = ++g_iSamples * static_cast<double>(CParams::Stats_UpdateInterval) / 60000.0;
    g_fitnessGraph.addPoint(g_iRedSeries, minutes, redBest);
    g_fitnessGraph.addPoint(g_iGreenSeries, minutes, greenBest);
}
} // namespace

void openStatistics()
{
    g_statsFile.create(statsFileName(std::time(nullptr)));
}

void statsUpdateTimer(int)
{
    CAlien_Population* reds = g_gameController.getPopulations()[kRed];
    g_iDeadInPeriod = reds->getNumDead();
    g_iTotalDead += g_iDeadInPeriod;
    reds->setNumDead(0);
    g_dBestAge = reds->getBestFitness();
    g_dWorstAge = reds->getWorstFitness();
    addGraphSample(g_dBestAge, g_gameController.getPopulations()[kGreen]->getBestFitness());
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
