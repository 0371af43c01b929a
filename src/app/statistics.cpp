#include <GL/freeglut.h>

#include <ctime>
#include <iostream>

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
    const double minutes = ++g_iSamples * CParams::Stats_UpdateInterval / 60000.0;
    g_fitnessGraph.addPoint(g_iRedSeries, minutes, redBest);
    g_fitnessGraph.addPoint(g_iGreenSeries, minutes, greenBest);
}
} // namespace

void openStatistics()
{
    const std::string name = firstFreeName(statsFileName(std::time(nullptr)));
    g_statsFile.open(name, std::ios::out | std::ios::trunc);
    if (!g_statsFile)
    {
        std::cerr << "Warning. " << std::endl
                  << "Unable to open " << name << " to save the statistics." << std::endl
                  << "Statistics will not be saved for this run" << std::endl
                  << std::endl
                  << std::endl;
        return;
    }
    std::cerr << "Statistics go to " << name << std::endl;
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
    std::cerr << "Saving game stats..";
    g_dMinutesElapsed += CParams::Stats_SaveInterval / 60000.0;
    g_statsFile << g_dMinutesElapsed << "\t" << g_iDeadInPeriod << "\t" << g_dBestAge << "\t" << g_dWorstAge
                << "\n";
    g_statsFile.flush();
    std::cerr << "done." << std::endl;
    glutTimerFunc(CParams::Stats_SaveInterval, statsSaveTimer, 3);
}

void closeStatistics()
{
    g_statsFile << "\n\n\n\nOverall number of dead:" << g_iTotalDead << "\n";
    g_statsFile.close();
}

void saveGreenBrains()
{
    g_gameController.getPopulations()[kGreen]->save(kGreenBrainFile);
}

void loadGreenBrains()
{
    g_gameController.getPopulations()[kGreen]->load(kGreenBrainFile);
}
