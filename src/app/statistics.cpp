#include "app/statistics.h"

#include <ctime>
#include <iostream>

#include "app/cstatsfile.h"
#include "app/platform.h"
#include "app/statsfile.h"
#include "brain/calien_population.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
} // namespace

void openStatistics(CStatsFile& file, CShellState::SSession& session)
{
    file.create(statsFileName(std::time(nullptr)));
    session.statistics.reset();
    session.startLearning();
}

void sampleStatistics(double stepMs, CStatsFile& file, CShellState::SSession& session, const CGameController& game)
{
    if (session.statistics.afterStep(stepMs, *game.getPopulations()[kRed], file))
        fileWritten(file.name());
    session.sampleLearning(game);
}

void closeStatistics(CStatsFile& file, const CShellState::SSession& session)
{
    if (file.close(session.statistics.totalDead()))
        fileWritten(file.name());
}

void saveGreenBrains(const CGameController& game)
{
    if (game.getPopulations()[kGreen]->save(kGreenPoolFile))
        fileWritten(kGreenPoolFile);
}

void loadGreenBrains(const CGameController& game)
{
    // A kept pool the platform could not bring back is told as what it was, not as missing.
    if (const std::string problem = keptFileProblem(kGreenPoolFile); !problem.empty())
    {
        std::cerr << "Loading... Cannot load " << kGreenPoolFile << ": " << problem << std::endl;
        return;
    }
    game.getPopulations()[kGreen]->load(kGreenPoolFile);
}

bool loadEvolvedPools(const CGameController& game)
{
    const auto populations = game.getPopulations();
    return populations[kGreen]->load(kEvolvedGreenFile) && populations[kRed]->load(kEvolvedRedFile);
}
