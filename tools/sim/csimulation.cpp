#include "sim/csimulation.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <sstream>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "brain/calien_population.h"
#include "common/svgplot.h"
#include "world/cgun.h"
#include "files/cstoprequest.h"
#include "files/safefile.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
constexpr double kProgressEverySeconds = 0.25;
constexpr int kUsageError = 2;
constexpr unsigned kRedColour = 0xD03030;
constexpr unsigned kGreenColour = 0x20A040;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void printPool(const char* name, const CAlien_Population& population)
{
    std::cout << name << " pool: " << population.getPool().size() << " brains, best " << population.getBestFitness()
              << ", worst " << population.getWorstFitness() << ", mean " << CRunSummary::poolMean(population) << "\n";
}

} // namespace

CSimulation::CSimulation(const SSimOptions& options)
    : m_sOptions(options), m_iRun(m_learning.addRun("", kRedColour, kGreenColour, true)),
      m_iControlRun(m_learning.addBaseline())
{
}

int CSimulation::prepare()
{
    if (const int status = loadParameters(); status != 0)
        return status;
    if (m_sOptions.dStatsEveryMs <= 0)
        m_sOptions.dStatsEveryMs = CParams::Stats_SaveInterval;
    if (!m_sOptions.bSeedGiven)
        m_sOptions.uSeed = static_cast<unsigned>(std::time(nullptr));
    std::cout << "seed " << m_sOptions.uSeed << std::endl;

    buildAnimationTables();
    m_controller.setSeed(m_sOptions.uSeed);
    m_controller.setEvolution(!m_sOptions.bControl);
    m_controller.setReferenceQueries(m_sOptions.bReference);
    m_controller.init();
    if (m_sOptions.bGunAuto)
    {
        m_controller.getGun()->setAutoMode(true);
        m_controller.getGun()->toggleFiring();
    }
    if (!m_sOptions.sPlotFile.empty())
        m_control.init(m_sOptions.uSeed);
    const auto populations = m_controller.getPopulations();
    if (!m_sOptions.sLoadRed.empty() && !populations[kRed]->load(m_sOptions.sLoadRed))
        return 1;
    if (!m_sOptions.sLoadGreen.empty() && !populations[kGreen]->load(m_sOptions.sLoadGreen))
        return 1;
    if (!openTables())
        return 1;
    m_pSummary = std::make_unique<CRunSummary>(m_sOptions.llSteps, *populations[kRed], *populations[kGreen],
                                              m_controller.getTally());
    return 0;
}

// The file is checked as it stands, then the values with every setting applied: a rule
// that only the settings break is the command line's fault.
int CSimulation::loadParameters() const
{
    // A plot steps a control world beside the run.
    CParams::setWorldsAndMemory(m_sOptions.sPlotFile.empty() ? 1 : 2, CParams::MaxMemoryBytes);
    if (!CParams::loadAndReport(m_sOptions.sParams))
        return 1;
    bool applied = true;
    for (const std::string& setting : m_sOptions.vSettings)
    {
        std::string error;
        if (!CParams::setFromText(setting, error))
        {
            std::cerr << "--set: " << error << std::endl;
            applied = false;
        }
    }
    if (!applied)
        return kUsageError;
    if (m_sOptions.vSettings.empty())
        return 0;
    const std::vector<std::string> problems = CParams::validate("--set");
    for (const std::string& problem : problems)
        std::cerr << problem << std::endl;
    return problems.empty() ? 0 : kUsageError;
}

bool CSimulation::openTables()
{
    return m_statsFile.open(m_sOptions.sStatsFile, "minutes\tred_dead\tred_best\tred_worst\tgreen_dead\tgreen_best\t"
                                                   "green_worst\tgreen_mean") &&
           m_learningFile.open(m_sOptions.sLearningFile, "minutes\tred_dead\tred_dead_mean_fitness\tred_best\t"
                                                         "green_dead\tgreen_dead_mean_fitness\tgreen_best\t"
                                                         "red_entry_bar\tred_joined\tgreen_entry_bar\tgreen_joined\t"
                                                         "gun_shots\tgun_kills\tred_on_gun\tred_on_red\t"
                                                         "red_on_green\tred_alive_steps\tgreen_alive_steps");
}

int CSimulation::run(const CStopRequest& stop)
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const auto start = std::chrono::steady_clock::now();
    const bool showProgress = isatty(STDERR_FILENO);
    double lastProgress = 0.0;
    double sinceSample = 0.0;
    long long step = 0;
    // A stop request is heeded between steps, so that the outputs hold whole steps.
    while (step < m_sOptions.llSteps && stop.signalNumber() == 0)
    {
        ++step;
        m_controller.update(dt);
        if (m_control.isInitialized())
            m_control.step(*m_controller.getGun(), dt);
        m_pSummary->afterStep(step);
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
    const bool interrupted = step < m_sOptions.llSteps;
    if (interrupted)
        std::cerr << "Interrupted after " << step << " of " << m_sOptions.llSteps << " steps; "
                  << "the outputs hold the steps that ran." << std::endl;
    printSummary(step, secondsSince(start));
    if (!saveOutputs(step))
        return 1;
    return interrupted ? stop.exitStatus() : 0;
}

void CSimulation::sample(double minutes)
{
    const auto populations = m_controller.getPopulations();
    const CAlien_Population& reds = *populations[kRed];
    const CAlien_Population& greens = *populations[kGreen];
    const CLearningRecorder::SPeriod period = m_recorder.take(m_controller);
    if (m_statsFile.isOpen())
    {
        std::ostringstream line;
        line << minutes << "\t" << reds.getNumDead() << "\t" << reds.getBestFitness() << "\t"
             << reds.getWorstFitness() << "\t" << greens.getNumDead() << "\t" << greens.getBestFitness() << "\t"
             << greens.getWorstFitness() << "\t" << CRunSummary::poolMean(greens);
        m_statsFile.writeLine(line.str());
    }
    if (m_learningFile.isOpen())
        writeLearningLine(minutes, period);
    m_learning.addPeriod(m_iRun, minutes, period.redForGraph(), period.greenForGraph(), period.playerForGraph());
    if (m_control.isInitialized())
    {
        const CLearningRecorder::SPeriod control = m_controlRecorder.take(m_control.world());
        m_learning.addPeriod(m_iControlRun, minutes, control.redForGraph(), control.greenForGraph(),
                             control.playerForGraph());
    }
    populations[kRed]->setNumDead(0);
    populations[kGreen]->setNumDead(0);
}

// A period without deaths has the mean "nan", a pool still filling the entry bar "nan".
void CSimulation::writeLearningLine(double minutes, const CLearningRecorder::SPeriod& period)
{
    const auto populations = m_controller.getPopulations();
    long long aliveSteps[2];
    for (const int p : {kRed, kGreen})
    {
        aliveSteps[p] = m_pSummary->aliveSteps(p) - m_aLastAliveSteps[p];
        m_aLastAliveSteps[p] = m_pSummary->aliveSteps(p);
    }
    const CWorldTally& player = period.tally;
    std::ostringstream line;
    line << minutes << "\t" << period.red.llDeaths << "\t" << period.red.dMeanFitness << "\t" << period.dRedBest
         << "\t" << period.green.llDeaths << "\t" << period.green.dMeanFitness << "\t" << period.dGreenBest << "\t"
         << populations[kRed]->getEntryBar() << "\t" << period.red.llJoined << "\t"
         << populations[kGreen]->getEntryBar() << "\t" << period.green.llJoined << "\t" << player.gunShots() << "\t"
         << player.gunKills() << "\t" << player.hitsOnGun() << "\t" << player.deaths(kRed, CAUSE_RED_BULLET) << "\t"
         << player.deaths(kGreen, CAUSE_RED_BULLET) << "\t" << aliveSteps[kRed] << "\t" << aliveSteps[kGreen];
    m_learningFile.writeLine(line.str());
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

void CSimulation::printSummary(long long steps, double wallSeconds) const
{
    const auto populations = m_controller.getPopulations();
    std::cout << "steps " << steps << ", wall time " << wallSeconds << " s, " << steps / wallSeconds
              << " steps/s\n";
    printPool("red", *populations[kRed]);
    printPool("green", *populations[kGreen]);
    std::cout.flush();
}

bool CSimulation::saveOutputs(long long stepsRun)
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
        if (!writeFileAtomically(m_sOptions.sPlotFile, renderSvg(m_learning, CLearningGraph::Title), error))
        {
            std::cerr << "Cannot write the plot " << m_sOptions.sPlotFile << ": " << error << std::endl;
            ok = false;
        }
    }
    if (!m_sOptions.sSummaryFile.empty())
        ok = saveSummary(stepsRun) && ok;
    ok = m_statsFile.commit() && ok;
    return m_learningFile.commit() && ok;
}

bool CSimulation::saveSummary(long long stepsRun)
{
    std::string error;
    if (writeFileAtomically(m_sOptions.sSummaryFile,
                            m_pSummary->json(m_sOptions.uSeed, stepsRun, !m_sOptions.bControl), error))
        return true;
    std::cerr << "Cannot write the summary " << m_sOptions.sSummaryFile << ": " << error << std::endl;
    return false;
}
