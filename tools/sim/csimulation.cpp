#include "sim/csimulation.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "brain/calien_population.h"
#include "common/svgplot.h"
#include "world/cgun.h"
#include "world/safefile.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
constexpr double kProgressEverySeconds = 0.25;

double meanFitness(const CAlien_Population& population)
{
    const auto& pool = population.getPool();
    if (pool.empty())
        return 0.0;
    double sum = 0.0;
    for (const auto& entry : pool)
        sum += entry.first;
    return sum / pool.size();
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void printPool(const char* name, const CAlien_Population& population)
{
    std::cout << name << " pool: " << population.getPool().size() << " brains, best " << population.getBestFitness()
              << ", worst " << population.getWorstFitness() << ", mean " << meanFitness(population) << "\n";
}
} // namespace

CSimulation::CSimulation(const SSimOptions& options) : m_sOptions(options), m_iRedBest(0), m_iGreenBest(0)
{
    m_iRedBest = m_graph.addSeries("red best", 0xD03030);
    m_iGreenBest = m_graph.addSeries("green best", 0x20A040);
}

bool CSimulation::prepare()
{
    if (!CParams::loadAndReport(m_sOptions.sParams))
        return false;
    if (m_sOptions.dStatsEveryMs <= 0)
        m_sOptions.dStatsEveryMs = CParams::Stats_SaveInterval;
    if (!m_sOptions.bSeedGiven)
        m_sOptions.uSeed = static_cast<unsigned>(std::time(nullptr));
    std::cout << "seed " << m_sOptions.uSeed << std::endl;

    buildAnimationTables();
    m_controller.setSeed(m_sOptions.uSeed);
    m_controller.setEvolution(!m_sOptions.bControl);
    m_controller.init();
    if (m_sOptions.bGunAuto)
    {
        m_controller.getGun()->setAutoMode(true);
        m_controller.getGun()->toggleFiring();
    }
    const auto populations = m_controller.getPopulations();
    if (!m_sOptions.sLoadRed.empty() && !populations[kRed]->load(m_sOptions.sLoadRed))
        return false;
    if (!m_sOptions.sLoadGreen.empty() && !populations[kGreen]->load(m_sOptions.sLoadGreen))
        return false;
    if (!m_sOptions.sStatsFile.empty())
    {
        m_statsFile.open(m_sOptions.sStatsFile, std::ios::out | std::ios::trunc);
        if (!m_statsFile)
        {
            std::cerr << "Cannot write the statistics file " << m_sOptions.sStatsFile << std::endl;
            return false;
        }
        m_statsFile << "# minutes\tred_dead\tred_best\tred_worst\tgreen_dead\tgreen_best\tgreen_worst\tgreen_mean\n";
    }
    return true;
}

bool CSimulation::run()
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const auto start = std::chrono::steady_clock::now();
    const bool showProgress = isatty(STDERR_FILENO);
    double lastProgress = 0.0;
    double sinceSample = 0.0;
    for (long long step = 1; step <= m_sOptions.llSteps; ++step)
    {
        m_controller.update(dt);
        sinceSample += dt;
        if (sinceSample >= m_sOptions.dStatsEveryMs)
        {
            sinceSample -= m_sOptions.dStatsEveryMs;
            sample(step * dt / 60000.0);
        }
        if (showProgress && secondsSince(start) - lastProgress >= kProgressEverySeconds)
        {
            lastProgress = secondsSince(start);
            printProgress(step, lastProgress);
        }
    }
    if (showProgress)
        std::cerr << "\r" << std::string(72, ' ') << "\r";
    printSummary(secondsSince(start));
    return saveOutputs();
}

void CSimulation::sample(double minutes)
{
    const auto populations = m_controller.getPopulations();
    const CAlien_Population& reds = *populations[kRed];
    const CAlien_Population& greens = *populations[kGreen];
    if (m_statsFile.is_open())
        m_statsFile << minutes << "\t" << reds.getNumDead() << "\t" << reds.getBestFitness() << "\t"
                    << reds.getWorstFitness() << "\t" << greens.getNumDead() << "\t" << greens.getBestFitness()
                    << "\t" << greens.getWorstFitness() << "\t" << meanFitness(greens) << "\n";
    m_graph.addPoint(m_iRedBest, minutes, reds.getBestFitness());
    m_graph.addPoint(m_iGreenBest, minutes, greens.getBestFitness());
    populations[kRed]->setNumDead(0);
    populations[kGreen]->setNumDead(0);
}

void CSimulation::printProgress(long long step, double wallSeconds) const
{
    constexpr int kBarWidth = 30;
    const double done = static_cast<double>(step) / m_sOptions.llSteps;
    const double rate = step / wallSeconds;
    const int filled = static_cast<int>(done * kBarWidth);
    std::fprintf(stderr, "\r[%s%s] %3d%%  %8.0f steps/s  %5.0f s left ", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '.').c_str(), static_cast<int>(done * 100), rate,
                 (m_sOptions.llSteps - step) / rate);
}

void CSimulation::printSummary(double wallSeconds) const
{
    const auto populations = m_controller.getPopulations();
    std::cout << "steps " << m_sOptions.llSteps << ", wall time " << wallSeconds << " s, "
              << m_sOptions.llSteps / wallSeconds << " steps/s\n";
    printPool("red", *populations[kRed]);
    printPool("green", *populations[kGreen]);
    std::cout.flush();
}

bool CSimulation::saveOutputs()
{
    const auto populations = m_controller.getPopulations();
    bool ok = true;
    if (!m_sOptions.sSaveRed.empty())
        ok = populations[kRed]->save(m_sOptions.sSaveRed) && ok;
    if (!m_sOptions.sSaveGreen.empty())
        ok = populations[kGreen]->save(m_sOptions.sSaveGreen) && ok;
    if (!m_sOptions.sPlotFile.empty())
    {
        std::string error;
        if (!writeFileAtomically(m_sOptions.sPlotFile, renderSvg(m_graph, "Best pool fitness"), error))
        {
            std::cerr << "Cannot write the plot " << m_sOptions.sPlotFile << ": " << error << std::endl;
            ok = false;
        }
    }
    if (m_statsFile.is_open() && !m_statsFile.flush())
    {
        std::cerr << "Cannot write the statistics file " << m_sOptions.sStatsFile << std::endl;
        ok = false;
    }
    return ok;
}
