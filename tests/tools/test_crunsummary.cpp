#include "sim/crunsummary.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>

#include "aliens/calien_green.h"
#include "brain/calien_population.h"
#include "sim/csimulation.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"
#include "support/worldfixture.h"
#include "files/cstoprequest.h"

namespace
{
using Json = nlohmann::ordered_json; // keeps the order of the keys as written

// Green aliens in a population of their own, whose lives the test scripts step by step:
// each step updates every alien, then kills those named, as the world recycles the dead.
class CScriptedLives
{
public:
    explicit CScriptedLives(int aliens) : m_population(nullptr, 0, CParams::Alien_NumberInPool)
    {
        for (int i = 0; i < aliens; ++i)
        {
            m_vAliens.push_back(std::make_unique<CAlien_Green>(100.0, 200.0, CParams::Alien_Mass));
            m_vAliens.back()->reset();
            m_population.addAlien(m_vAliens.back().get());
        }
    }

    void step(const std::vector<int>& killed)
    {
        for (const auto& alien : m_vAliens)
            alien->update(SAction(ACTION_UP, ACTION_NONE), 1.0);
        for (int i : killed)
        {
            m_population.addToPool(m_vAliens[i]->getBrain(), m_vAliens[i]->getFitness());
            m_vAliens[i]->reset();
        }
    }

    const CAlien_Population& population() const { return m_population; }

private:
    CAlien_Population m_population;
    std::vector<std::unique_ptr<CAlien_Green>> m_vAliens; // the population does not own them
};

class CRunSummaryTest : public CWorldTest
{
protected:
    void SetUp() override
    {
        CWorldTest::SetUp();
        // Born in the update after the rebirth, so that every life is easy to follow.
        CParams::Alien_BeingBornTime = 0;
    }

    // The green population's part of the summary; the red one has no aliens here.
    static Json green(const CRunSummary& summary, long long stepsRun)
    {
        return Json::parse(summary.json(7, stepsRun, true))["populations"]["green"];
    }

    CWorldTally m_world; // of a world that struck nothing down
};

// Reads a korvane-sim statistics file's data lines as numbers.
std::vector<std::vector<double>> statisticsLines(const std::string& fileName)
{
    std::istringstream in(readWholeFile(fileName));
    std::vector<std::vector<double>> lines;
    std::string line;
    while (std::getline(in, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        lines.emplace_back();
        for (double value = 0; fields >> value;)
            lines.back().push_back(value);
    }
    return lines;
}
} // namespace

// Two aliens over six steps (thirds: steps 1-2, 3-4, 5-6). Both come alive in step 1; A dies
// in step 2 at age 1, B in step 4 at age 3, A again in step 6 at age 3. Alive after each
// step: 2, 1, 2, 1, 2, 1 of 2. A pool of two takes each in: the second fills it, so its bar
// is the worst entry from then on.
TEST_F(CRunSummaryTest, ScriptedLivesGiveTheThirdsTheAliveShareTheLifetimeAndThePool)
{
    CParams::Alien_NumberInPool = 2;
    CScriptedLives lives(2);
    CAlien_Population reds;
    CRunSummary summary(6, reds, lives.population(), m_world);
    const std::vector<std::vector<int>> deaths = {{}, {0}, {}, {1}, {}, {0}};
    for (size_t step = 1; step <= deaths.size(); ++step)
    {
        lives.step(deaths[step - 1]);
        summary.afterStep(static_cast<long long>(step));
    }
    const Json result = green(summary, 6);
    EXPECT_EQ(result["deaths"], 3);
    EXPECT_EQ(result["mean_fitness_of_deaths"], Json::parse("[1.0, 3.0, 3.0]"));
    EXPECT_EQ(result["alive_share"], 9.0 / 12.0);
    EXPECT_EQ(result["mean_lifetime_steps"], 7.0 / 3.0);
    EXPECT_EQ(result["pool_joined"], Json::parse("[1, 1, 1]"));
    EXPECT_EQ(result["pool_entry_bar"], Json::parse("[null, 1.0, 3.0]"));
    EXPECT_EQ(result["pool"]["best"], 3.0);
    EXPECT_EQ(result["pool"]["mean"], 3.0);
    EXPECT_EQ(result["pool"]["worst"], 3.0);
}

// Cut short after step 3 of 9 (thirds 1-3, 4-6, 7-9): the first third is whole, the second
// has not begun; with 10 asked the thirds are 1-3, 4-6 and 7-10.
TEST_F(CRunSummaryTest, AnInterruptedRunHasNullForTheThirdsItDidNotReach)
{
    for (long long asked : {9LL, 10LL})
    {
        CScriptedLives lives(1);
        CAlien_Population reds;
        CRunSummary summary(asked, reds, lives.population(), m_world);
        lives.step({});
        summary.afterStep(1);
        lives.step({0}); // dies at age 1
        summary.afterStep(2);
        lives.step({});
        summary.afterStep(3);
        EXPECT_EQ(green(summary, 3)["mean_fitness_of_deaths"], Json::parse("[1.0, null, null]")) << asked;
        lives.step({});
        summary.afterStep(4);
        lives.step({0}); // came alive in step 3, dies at age 2
        summary.afterStep(5);
        EXPECT_EQ(green(summary, 5)["mean_fitness_of_deaths"], Json::parse("[1.0, 2.0, null]")) << asked;
        EXPECT_EQ(green(summary, 5)["mean_lifetime_steps"], 1.5) << asked;
    }
}

// Of two steps the first third is empty; a death in step 1 is the second third's.
TEST_F(CRunSummaryTest, ThirdsOfTwoStepsAreNoStepThenOneThenOne)
{
    CScriptedLives lives(1);
    CAlien_Population reds;
    CRunSummary summary(2, reds, lives.population(), m_world);
    lives.step({0}); // born in this update, struck before it ever began alive
    summary.afterStep(1);
    lives.step({});
    summary.afterStep(2);
    const Json result = green(summary, 2);
    EXPECT_EQ(result["mean_fitness_of_deaths"], Json::parse("[null, 0.0, null]"));
    EXPECT_EQ(result["alive_share"], 0.5);
    EXPECT_EQ(result["mean_lifetime_steps"], 0.0);
}

TEST_F(CRunSummaryTest, APopulationWithoutAliensHasNullWhereNothingHappened)
{
    CAlien_Population reds, greens;
    CRunSummary summary(3, reds, greens, m_world);
    summary.afterStep(1);
    const Json result = Json::parse(summary.json(4294967295u, 1, false));
    EXPECT_EQ(result["seed"], 4294967295u);
    EXPECT_EQ(result["steps"], 1);
    EXPECT_EQ(result["evolution"], false);
    EXPECT_EQ(result["populations"]["red"],
              Json::parse(R"({"deaths": 0, "mean_fitness_of_deaths": [null, null, null], "pool_joined": [0, 0, null],
                             "pool_entry_bar": [null, null, null], "alive_steps": 0, "alive_share": null,
                             "mean_lifetime_steps": null, "pool": {"best": null, "mean": null, "worst": null},
                             "struck_down_by": {"gun_bullet": 0, "red_bullet": 0, "collision": 0, "edge": 0}})"));
    EXPECT_EQ(result["red_bullets_on_gun"], 0);
}

// In the real world a green alien's fitness is its alive steps, so the mean lifetime of the
// dead, counted from the aliens' states, is the mean fitness the pool was offered.
TEST_F(CRunSummaryTest, GreenLifetimesOfARealWorldAreTheirFitness)
{
    CGameController world;
    world.setSeed(5);
    world.init();
    const auto populations = world.getPopulations();
    CRunSummary summary(3000, *populations[0], *populations[1], world.getTally());
    for (long long step = 1; step <= 3000; ++step)
    {
        world.update(1000.0 / CParams::Game_FramesPerSecond);
        summary.afterStep(step);
    }
    const Json result = Json::parse(summary.json(5, 3000, true))["populations"];
    const CAlien_Population& greens = *populations[1];
    ASSERT_GT(greens.getTotalOffered(), 100);
    EXPECT_EQ(result["green"]["deaths"], greens.getTotalOffered());
    EXPECT_EQ(result["red"]["deaths"], populations[0]->getTotalOffered());
    EXPECT_EQ(result["green"]["mean_lifetime_steps"], greens.getTotalFitnessOffered() / greens.getTotalOffered());
    EXPECT_EQ(result["green"]["struck_down_by"]["edge"], world.getTally().deaths(1, CAUSE_EDGE));
    EXPECT_EQ(result["red"]["struck_down_by"]["collision"], world.getTally().deaths(0, CAUSE_COLLISION));
    for (const char* colour : {"red", "green"})
    {
        EXPECT_GT(result[colour]["alive_share"], 0.0) << colour;
        EXPECT_LE(result[colour]["alive_share"], 1.0) << colour;
        EXPECT_GT(result[colour]["mean_lifetime_steps"], 0.0) << colour;
    }
}

// A whole korvane-sim run with a sample after every step: the summary's deaths are the
// statistics file's dead columns summed, its pool the last line's, its parameters the file's
// with the settings applied.
TEST_F(CRunSummaryTest, TheSummaryAgreesWithTheStatisticsOfTheSameRun)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    SSimOptions options;
    options.sParams = KA_SOURCE_DIR "/params.ini";
    options.llSteps = 2400;
    options.bSeedGiven = true;
    options.uSeed = 3;
    options.dStatsEveryMs = 1; // shorter than a step: a line for every step
    options.sStatsFile = folder / "run.tsv";
    options.sSummaryFile = folder / "run.json";
    options.bControl = true;
    options.vSettings = {"Alien_NumberInPool=12", "Alien_Width=28"};
    {
        CStopRequest stop;
        CSimulation simulation(options);
        ASSERT_EQ(simulation.prepare(), 0);
        ASSERT_EQ(simulation.run(stop), 0);
    }
    const Json summary = Json::parse(readWholeFile(folder / "run.json"));
    const auto lines = statisticsLines(folder / "run.tsv");
    ASSERT_EQ(lines.size(), 2400u);
    double redDead = 0, greenDead = 0;
    for (const auto& line : lines)
    {
        redDead += line[1];
        greenDead += line[4];
    }
    EXPECT_EQ(summary["seed"], 3);
    EXPECT_EQ(summary["steps"], 2400);
    EXPECT_EQ(summary["evolution"], false);
    const Json& red = summary["populations"]["red"];
    const Json& green = summary["populations"]["green"];
    EXPECT_GT(green["deaths"], 0);
    EXPECT_EQ(red["deaths"], redDead);
    EXPECT_EQ(green["deaths"], greenDead);
    EXPECT_NEAR(red["pool"]["best"].get<double>(), lines.back()[2], 1e-4 * lines.back()[2]);
    // Faded pools hold fractions, which the statistics file gives to six digits.
    EXPECT_NEAR(green["pool"]["best"].get<double>(), lines.back()[5], 1e-4 * lines.back()[5]);
    EXPECT_NEAR(green["pool"]["worst"].get<double>(), lines.back()[6], 1e-4 * lines.back()[6]);
    for (const Json& third : green["mean_fitness_of_deaths"])
        EXPECT_GT(third.get<double>(), 0.0);
    ASSERT_EQ(summary["params"].size(), static_cast<size_t>(CParams::NumLoaded));
    EXPECT_EQ(summary["params"].begin().key(), "Window_Width");
    EXPECT_EQ(summary["params"]["Alien_NumberInPool"], 12);
    EXPECT_EQ(summary["params"]["Alien_Width"], 28.0);
    EXPECT_EQ(summary["params"]["Alien_Height"], 24.0);
    EXPECT_EQ(summary["populations"]["red"]["pool"].size(), 3u);
}

TEST_F(CRunSummaryTest, ASettingThatBreaksARuleIsACommandLineError)
{
    SSimOptions options;
    options.sParams = KA_SOURCE_DIR "/params.ini";
    options.vSettings = {"Gun_Width=900"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSimulation(options).prepare(), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "--set: Gun_Width = 900 must be less than Window_Width\n");
}
