#include "brain/calien_population.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <csignal>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <streambuf>

#include "aliens/calien_green.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "support/devicenode.h"
#include "support/heapbytes.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"
#include "support/worldfixture.h"
#include "world/cgamecontroller.h"

namespace
{
// A brain whose first weight carries a marker, so that copies can be told apart.
CBrain* markedBrain(double marker)
{
    CBrain* brain = new CBrain({new CNeuralNet(2, 2, 1, 3)});
    std::vector<double> weights = brain->getNN(0)->getWeights();
    weights[0] = marker;
    brain->getNN(0)->putWeights(weights);
    return brain;
}

double markerOf(const CBrain* brain)
{
    return brain->getNN(0)->getWeights()[0];
}

// A brain bred from the full pool, in a brain of the pool's shapes.
std::unique_ptr<CBrain> bred(const CAlien_Population& pool)
{
    auto child = std::make_unique<CBrain>(*pool.getPool().begin()->second);
    pool.breedInto(*child);
    return child;
}

// Serves a text in small pieces, noting the most heap held at the start of any piece above
// what was held before the reading began.
class CHeapWatchingBuf : public std::streambuf
{
public:
    explicit CHeapWatchingBuf(const std::string& text) : m_sText(text), m_uBase(heapBytesInUse()), m_uPeak(m_uBase) {}
    size_t peakGrowth() const { return m_uPeak - m_uBase; }

protected:
    int_type underflow() override
    {
        if (m_uNext >= m_sText.size())
            return traits_type::eof();
        m_uPeak = std::max(m_uPeak, heapBytesInUse());
        char* start = m_sText.data() + m_uNext;
        const size_t n = std::min<size_t>(4096, m_sText.size() - m_uNext);
        m_uNext += n;
        setg(start, start, start + n);
        return traits_type::to_int_type(*start);
    }

private:
    std::string m_sText;
    size_t m_uBase;
    size_t m_uPeak;
    size_t m_uNext = 0;
};

// The given first weight in a copy of the brain, so that copies can be told apart.
CBrain* withMarker(const CBrain& brain, double marker)
{
    CBrain* copy = new CBrain(brain);
    std::vector<double> weights = copy->getNN(0)->getWeights();
    weights[0] = marker;
    copy->getNN(0)->putWeights(weights);
    return copy;
}

// A pool file of the given fitness values, each entry's brain a copy of the model marked
// with its position in the file.
std::string poolFile(const CBrain& model, const std::vector<double>& fitnesses)
{
    std::ostringstream text;
    text << fitnesses.size() << " ";
    ::testing::internal::CaptureStderr();
    for (size_t i = 0; i < fitnesses.size(); ++i)
    {
        std::unique_ptr<CBrain> brain(withMarker(model, static_cast<double>(i)));
        text << fitnesses[i] << " ";
        brain->save(text);
    }
    ::testing::internal::GetCapturedStderr();
    return text.str();
}

class CPopulationTest : public CWorldTest
{
protected:
    void SetUp() override
    {
        CWorldTest::SetUp();
        CParams::Alien_NumberInPool = 3;
        m_controller.setSeed(5);
        m_controller.init();
    }

    void TearDown() override
    {
        for (CBrain* brain : m_vBrains)
            delete brain;
        CWorldTest::TearDown();
    }

    // Offers a marked brain with the given fitness.
    void offer(CAlien_Population& population, double marker, double fitness)
    {
        m_vBrains.push_back(markedBrain(marker));
        population.addToPool(m_vBrains.back(), fitness);
    }

    static std::vector<std::pair<double, double>> contents(const CAlien_Population& population)
    {
        std::vector<std::pair<double, double>> entries;
        for (const auto& entry : population.getPool())
            entries.push_back({entry.first, markerOf(entry.second)});
        return entries;
    }

    // An initialised population over the controller, for breeding.
    CAlien_Population& freshPopulation()
    {
        m_population = std::make_unique<CAlien_Population>(&m_controller, 0, CParams::Alien_NumberInPool);
        m_population->initialize({});
        return *m_population;
    }

    CGameController m_controller;
    std::unique_ptr<CAlien_Population> m_population;
    std::vector<CBrain*> m_vBrains;
};

TEST_F(CPopulationTest, PoolIsBestFirstWithTiesOldestFirst)
{
    CAlien_Population& pool = freshPopulation();
    EXPECT_EQ(pool.getBestFitness(), 0.0);
    EXPECT_EQ(pool.getWorstFitness(), 0.0);
    offer(pool, 0.1, 5);
    offer(pool, 0.2, 7);
    offer(pool, 0.3, 5);
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(pool), (Entries{{7, 0.2}, {5, 0.1}, {5, 0.3}}));
    EXPECT_TRUE(pool.isPoolFull());

    offer(pool, 0.4, 5); // only equals the worst: turned away
    EXPECT_EQ(contents(pool), (Entries{{7, 0.2}, {5, 0.1}, {5, 0.3}}));
    offer(pool, 0.5, 6); // the newest of the worst goes
    EXPECT_EQ(contents(pool), (Entries{{7, 0.2}, {6, 0.5}, {5, 0.1}}));
    EXPECT_EQ(pool.getBestFitness(), 7);
    EXPECT_EQ(pool.getWorstFitness(), 5);
    EXPECT_EQ(pool.getNumDead(), 5);
}

// Known answers for a pool of three with a half-life of one game minute, and without one: the
// entries halve each minute in their order, a newcomer competes with the faded worst, and
// the pool counts the newcomers it took in and says what the next must beat.
TEST_F(CPopulationTest, PoolFitnessFadesByHalfEachHalfLifeAndNewcomersBeatTheFadedWorst)
{
    using Entries = std::vector<std::pair<double, double>>;
    struct SCase
    {
        double dHalfLife;
        Entries expected;
        long long llJoined;
    };
    for (const SCase& c : {SCase{1.0, {{2, 0.1}, {1.5, 0.2}, {1.5, 0.4}}, 4},
                           SCase{0.0, {{8, 0.1}, {3, 0.2}, {2, 0.3}}, 3}})
    {
        CAlien_Population& pool = freshPopulation();
        pool.setFade(CPoolFade(c.dHalfLife));
        EXPECT_TRUE(std::isnan(pool.getEntryBar())); // filling: anything joins
        offer(pool, 0.1, 8);
        pool.passTime(60000); // the first entry has halved when the second comes
        offer(pool, 0.2, 3);
        offer(pool, 0.3, 2);
        pool.passTime(60000);
        offer(pool, 0.4, 1.5); // beats only the faded worst, 1
        EXPECT_EQ(contents(pool), c.expected) << "half-life " << c.dHalfLife;
        EXPECT_EQ(pool.getTotalJoined(), c.llJoined);
        EXPECT_EQ(pool.getEntryBar(), c.expected.back().first);
        EXPECT_EQ(pool.getNumDead(), 4);
    }
}

// A pool with no aliens to serve (a tool's, a fuzzed file's) takes brains of any shape; a
// better brain of another shape than the worst entry's made the reuse of that entry's
// memory abort the program.
TEST_F(CPopulationTest, PoolOfMixedShapesAbortingOnAFullPoolIsMended)
{
    CParams::Alien_NumberInPool = 1;
    CAlien_Population& pool = freshPopulation();
    m_vBrains.push_back(new CBrain({new CNeuralNet(6, 2, 1, 8)}));
    pool.addToPool(m_vBrains.back(), 1.0);
    m_vBrains.push_back(new CBrain({new CNeuralNet(2, 1, 0, 0), new CNeuralNet(4, 1, 1, 6)}));
    pool.addToPool(m_vBrains.back(), 2.0);
    ASSERT_EQ(pool.getPool().size(), 1u);
    const CBrain& kept = *pool.getPool().begin()->second;
    ASSERT_EQ(kept.getNumberOfNN(), 2);
    EXPECT_EQ(kept.getNN(1)->getNumInputs(), 4);
    EXPECT_EQ(pool.getBestFitness(), 2.0);
}

TEST_F(CPopulationTest, PoolKeepsCopiesNotTheOfferedBrain)
{
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.25, 1);
    ASSERT_NE(pool.getPool().begin()->second, m_vBrains.back());
    m_vBrains.back()->randomize();
    EXPECT_EQ(markerOf(pool.getPool().begin()->second), 0.25);
}

TEST_F(CPopulationTest, CloneFollowsTheReplayedDraws)
{
    CParams::Alien_CrossoverRate = 0.5;
    CParams::Alien_ProbCloneFromBest = 0.5;
    CParams::Alien_PercentBestInPool = 34; // top = 1 of 3
    CAlien_Population& pool = freshPopulation();
    offer(pool, 1, 3); // marker = position + 1
    offer(pool, 2, 2);
    offer(pool, 3, 1);
    std::set<int> positionsSeen;
    for (unsigned seed = 1; seed < 40; ++seed)
    {
        std::srand(seed);
        if (RandFloat() < CParams::Alien_CrossoverRate)
            continue; // that seed breeds; crossover is replayed below
        const int top = RandFloat() < CParams::Alien_ProbCloneFromBest ? 1 : 2;
        const int k = RandInt(0, top);
        positionsSeen.insert(k);
        CBrain child(*pool.getPool().begin()->second);
        std::srand(seed);
        pool.breedInto(child);
        EXPECT_EQ(markerOf(&child), k + 1) << "seed " << seed;
    }
    EXPECT_EQ(positionsSeen.size(), 3u); // every position was replayed at least once
}

TEST_F(CPopulationTest, CrossoverFollowsTheReplayedDraws)
{
    CParams::Alien_CrossoverRate = 1.0;
    CParams::Alien_PercentBestInPool = 100; // top is capped at the last position
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.1, 3);
    offer(pool, 0.2, 2);
    offer(pool, 0.3, 1);
    std::vector<CBrain*> byPosition;
    for (const auto& entry : pool.getPool())
        byPosition.push_back(entry.second);
    std::set<std::pair<int, int>> parentsSeen;
    for (unsigned seed = 1; seed < 30; ++seed)
    {
        std::srand(seed);
        RandFloat();
        int a = 0, b = 0;
        do
        {
            a = RandInt(0, 2);
            b = RandInt(0, 2);
        } while (a == b);
        CBrain expected(*byPosition[a]);
        expected.crossover(byPosition[a], byPosition[b]);
        parentsSeen.insert({a, b});

        CBrain child(*pool.getPool().begin()->second);
        std::srand(seed);
        pool.breedInto(child);
        EXPECT_EQ(child.getNN(0)->getWeights(), expected.getNN(0)->getWeights()) << "seed " << seed;
    }
    EXPECT_GT(parentsSeen.size(), 3u); // the replay covered several pairs, not one
}

TEST_F(CPopulationTest, SinglePoolBrainIsClonedEvenWhenCrossoverIsDrawn)
{
    CParams::Alien_NumberInPool = 1;
    CParams::Alien_CrossoverRate = 1.0;
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.75, 1);
    for (int i = 0; i < 10; ++i)
    {
        std::unique_ptr<CBrain> child = bred(pool);
        EXPECT_EQ(child->getNN(0)->getWeights(), pool.getPool().begin()->second->getNN(0)->getWeights());
    }
}

TEST_F(CPopulationTest, HalfOfTenDrawsParentsFromTheBestSix)
{
    CParams::Alien_NumberInPool = 10;
    CParams::Alien_PercentBestInPool = 50;
    CParams::Alien_CrossoverRate = 0.0;
    CParams::Alien_ProbCloneFromBest = 1.0;
    CAlien_Population& pool = freshPopulation();
    for (int i = 0; i < 10; ++i)
        offer(pool, i, 10 - i); // marker = position
    std::set<double> drawn;
    for (int i = 0; i < 500; ++i)
    {
        std::unique_ptr<CBrain> child = bred(pool);
        drawn.insert(markerOf(child.get()));
    }
    EXPECT_EQ(drawn, (std::set<double>{0, 1, 2, 3, 4, 5}));
}

// A saved pool cut by a few bytes lost digits of its last weight, or its last space, and
// loaded anyway with that weight changed. Every cut is refused now, the pool left as it was.
TEST_F(CPopulationTest, PoolFileCutShortLoadsIsMended)
{
    CAlien_Population& saved = freshPopulation();
    offer(saved, 0.123456, 30);
    offer(saved, 0.2, 20.5);
    std::ostringstream whole;
    saved.save(whole);
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.7, 5);
    for (size_t cut = 1; cut <= 8; ++cut)
    {
        std::istringstream in(whole.str().substr(0, whole.str().size() - cut));
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(pool.load(in, "pool.txt")) << cut << " bytes cut";
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("Cannot load pool.txt: "), std::string::npos);
        EXPECT_EQ(contents(pool), (std::vector<std::pair<double, double>>{{5, 0.7}}));
    }
    std::istringstream in(whole.str());
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(pool.load(in, "pool.txt"));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(contents(pool).size(), 2u);
}

TEST_F(CPopulationTest, SaveWritesOneLineThatLoadsBack)
{
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.1, 30);
    offer(pool, 0.2, 20.5);
    offer(pool, 0.3, 10);
    const std::string name = std::to_string(getpid()) + "_pool.txt";
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(pool.save(name));
    const std::string nothing = "Nothing to see here .... move along!\n";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Saving... " + nothing + nothing + nothing + "done.\n");
    const std::string text = readWholeFile(name);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.substr(0, 8), "3 30 1 2");

    CAlien_Population& other = freshPopulation();
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(other.load(name));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Loading... " + nothing + nothing + nothing + "done.\n");
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(other), (Entries{{30, 0.1}, {20.5, 0.2}, {10, 0.3}}));
    std::remove(name.c_str());
}

TEST_F(CPopulationTest, LoadingAStreamNamesItInTheMessages)
{
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.4, 8);
    std::istringstream broken("1 five");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(pool.load(broken, "the stream"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Loading... Cannot load the stream: entry 1: the fitness is missing or not a number\n");
    EXPECT_EQ(pool.getBestFitness(), 8);

    std::ostringstream text;
    text << "1 9 ";
    std::unique_ptr<CBrain> brain(markedBrain(0.9));
    brain->save(text);
    std::istringstream good(text.str());
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(pool.load(good, "the stream"));
    const std::string nothing = "Nothing to see here .... move along!\n";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Loading... " + nothing + "done.\n");
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(pool), (Entries{{9, 0.9}}));
}

TEST_F(CPopulationTest, LoadingTheBrainPoolKeepsAtMostAFullPool)
{
    CParams::Alien_NumberInPool = 2;
    CAlien_Population& pool = freshPopulation();
    std::ostringstream text;
    text << "3 ";
    for (double fitness : {4.0, 9.0, 6.0})
    {
        text << fitness << " ";
        std::unique_ptr<CBrain> brain(markedBrain(fitness / 10));
        brain->save(text);
    }
    CScratchFile file("pool3.txt", text.str());
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(pool.load(file.path()));
    ::testing::internal::GetCapturedStderr();
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(pool), (Entries{{9, 0.9}, {6, 0.6}}));
}

// Every broken file leaves the pool and the aliens exactly as they were.
TEST_F(CPopulationTest, LoadingTheBrainPoolLosesItIsMended)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    CAlien* firstAlien = greens->getAliens()[0];
    offer(*greens, 0.5, 42);
    const CBrain* alienBrain = firstAlien->getBrain();
    const std::vector<double> alienWeights = alienBrain->getNN(0)->getWeights();

    std::ostringstream good;
    firstAlien->getBrain()->save(good);
    std::ostringstream wrongShape;
    std::unique_ptr<CBrain> small(markedBrain(0.1));
    small->save(wrongShape);
    const std::string record = good.str();
    const std::vector<std::pair<std::string, std::string>> broken{
        {"", "the entry count"},
        {"two 1 " + record, "the entry count"},
        {"-1", "the entry count"},
        {"2 5 " + record, "entry 2: the fitness"},
        {"1 five " + record, "entry 1: the fitness"},
        {"1 5 " + record.substr(0, record.size() / 2), "entry 1: "},
        {"1 5 " + wrongShape.str(), "entry 1: its networks do not fit this population's aliens: its movement network "
                                    "has 2 inputs where this game's have 8 (Alien_NN_Movement_NumInputs, with "
                                    "Alien_NN_Movement_UseSensors 1 and Alien_NN_Movement_GunBullets 1)"},
    };
    for (const auto& [text, reason] : broken)
    {
        CScratchFile file("broken_pool.txt", text);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(greens->load(file.path()));
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(std::string("Cannot load ") + file.path() + ": " + reason), std::string::npos)
            << message;
        ASSERT_EQ(greens->getPool().size(), 1u);
        EXPECT_EQ(greens->getBestFitness(), 42);
        EXPECT_EQ(markerOf(greens->getPool().begin()->second), 0.5);
        ASSERT_EQ(firstAlien->getBrain(), alienBrain);
        EXPECT_EQ(alienBrain->getNN(0)->getWeights(), alienWeights);
    }
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(greens->load("no_such_pool_file.txt"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Cannot load no_such_pool_file.txt: No such file or directory"),
              std::string::npos);
}

// A pool saved by aliens that saw no bullet of the gun does not fit aliens that see one, nor a
// green pool red aliens: each is refused, naming the member that sets what differs.
TEST_F(CPopulationTest, PoolOfTheOtherShapeIsRefusedNamingTheMember)
{
    CParams::Alien_NN_Movement_GunBullets = 0;
    CParams::Alien_NN_Movement_NumInputs = 6;
    CGameController blind;
    blind.setSeed(5);
    blind.init();
    CScratchFile greenFile("green_pool.txt", "");
    CAlien_Population& greens = *blind.getPopulations()[1];
    greens.addToPool(greens.getAliens()[0]->getBrain(), 12);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(greens.save(greenFile.path()));
    ::testing::internal::GetCapturedStderr();
    CParams::Alien_NN_Movement_GunBullets = 1;
    CParams::Alien_NN_Movement_NumInputs = 8;
    CGameController seeing;
    seeing.setSeed(5);
    seeing.init();
    for (const auto& [population, message] : std::vector<std::pair<int, std::string>>{
             {1, "entry 1: its networks do not fit this population's aliens: its movement network has 6 inputs where "
                 "this game's have 8 (Alien_NN_Movement_NumInputs, with Alien_NN_Movement_UseSensors 1 and "
                 "Alien_NN_Movement_GunBullets 1)"},
             {0, "entry 1: its networks do not fit this population's aliens: it holds 1 networks where this "
                 "population's aliens have 2"}})
    {
        CAlien_Population& aliens = *seeing.getPopulations()[population];
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(aliens.load(greenFile.path()));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Cannot load " + std::string(greenFile.path()) + ": " + message), std::string::npos) << said;
        EXPECT_TRUE(aliens.getPool().empty());
    }
}

TEST_F(CPopulationTest, LoadGivesAlienIACopyOfEntryI)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    std::ostringstream text;
    text << "1 77 ";
    greens->getAliens()[1]->getBrain()->save(text);
    CScratchFile file("one_entry.txt", text.str());
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(greens->load(file.path()));
    ::testing::internal::GetCapturedStderr();
    const CBrain* loaded = greens->getPool().begin()->second;
    EXPECT_NE(greens->getAliens()[0]->getBrain(), loaded);
    EXPECT_EQ(greens->getAliens()[0]->getBrain()->getNN(0)->getWeights(), loaded->getNN(0)->getWeights());
}

TEST_F(CPopulationTest, SavingReportsSuccessOnFailureIsMended)
{
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.5, 1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(pool.save("no_such_folder/pool.txt"));
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Cannot save no_such_folder/pool.txt: cannot open the folder no_such_folder: No such file"),
              std::string::npos)
        << message;
    EXPECT_EQ(message.find("done."), std::string::npos);

    // A folder nothing can be created in, not even by root.
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(pool.save("/proc/korvane_pool.txt"));
    message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Cannot save /proc/korvane_pool.txt: cannot create"), std::string::npos) << message;

    // A folder where the file should be is refused: it stays as it was.
    CScratchFolder scratch;
    const std::string folder = scratch / "pool_folder";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(pool.save(folder));
    message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Cannot save " + folder + ": " + folder + " is a folder"), std::string::npos) << message;
    EXPECT_EQ(scratch.listing(), "pool_folder"); // no temporary left behind
}

TEST_F(CPopulationTest, FailedSaveKeepsThePreviousFile)
{
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.5, 1);
    CScratchFolder scratch;
    const std::string name = scratch / "kept.txt";
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(pool.save(name));
    ::testing::internal::GetCapturedStderr();
    const std::string before = readWholeFile(name);
    // A file-size limit below the new contents makes the write fail, as a full disk would.
    offer(pool, 0.7, 2);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = before.size() / 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = pool.save(name); // its message is not captured: the capture is a file too
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWholeFile(name), before);
    EXPECT_EQ(scratch.listing(), "kept.txt");
}
// What the loader keeps while it reads follows the pool: a file of thousands of entries
// loaded into a pool of 3 never holds more than a few dozen brains at once.
TEST_F(CPopulationTest, LoadingAPoolFileKeepsEveryEntryInMemoryIsMended)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    const CBrain& model = *greens->getAliens()[0]->getBrain();
    std::vector<double> fitnesses;
    for (int i = 0; i < 5000; ++i)
        fitnesses.push_back(i);
    const std::string text = poolFile(model, fitnesses);

    const size_t before = heapBytesInUse();
    std::vector<std::unique_ptr<CBrain>> copies;
    for (int i = 0; i < 100; ++i)
        copies.emplace_back(new CBrain(model));
    const size_t brainBytes = (heapBytesInUse() - before) / 100;
    copies.clear();
    ASSERT_GT(brainBytes, 0u);

    CHeapWatchingBuf source(text);
    std::istream in(&source);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(greens->load(in, "many entries"));
    ::testing::internal::GetCapturedStderr();
    // The pool's 3 brains and the 20 aliens' new ones, with room to spare; keeping every
    // entry until the end would take 5,000.
    EXPECT_LT(source.peakGrowth(), 200 * brainBytes);
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(*greens), (Entries{{4999, 4999}, {4998, 4998}, {4997, 4997}}));
}

TEST_F(CPopulationTest, LoadGivesAlienIThePoolsEntryNotTheFilesIsMended)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    const CBrain& model = *greens->getAliens()[0]->getBrain();
    // Not written best first, and longer than the pool of 3.
    CScratchFile file("unordered_pool.txt", poolFile(model, {1, 9, 5, 7, 3}));
    const CBrain* sixth = greens->getAliens()[5]->getBrain();
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(greens->load(file.path()));
    ::testing::internal::GetCapturedStderr();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(markerOf(greens->getAliens()[i]->getBrain()), i) << "alien " << i;
    EXPECT_EQ(greens->getAliens()[5]->getBrain(), sixth); // no entry for it: it keeps its brain
    using Entries = std::vector<std::pair<double, double>>;
    EXPECT_EQ(contents(*greens), (Entries{{9, 1}, {7, 3}, {5, 2}}));
}

TEST_F(CPopulationTest, PoolFileThatIsAFifoOrAFolderHangsIsMended)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    offer(*greens, 0.5, 42);
    CScratchFolder scratch;
    ASSERT_EQ(mkfifo((scratch / "fifo").c_str(), 0644), 0); // no writer: a blocking open would hang
    ASSERT_EQ(mkdir((scratch / "folder").c_str(), 0755), 0);
    const std::vector<std::pair<std::string, std::string>> cases{{scratch / "fifo", "is not a regular file"},
                                                                 {scratch / "folder", "is a folder"}};
    for (const auto& [name, reason] : cases)
    {
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(greens->load(name));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Loading... Cannot load " + name + ": " + reason + "\n");
        EXPECT_EQ(greens->getBestFitness(), 42);
    }
}

TEST_F(CPopulationTest, PoolFileThatIsADeviceIsRefusedUnopened)
{
    CScratchFolder scratch;
    if (!makeDeviceNode(scratch / "zero", 5))
        GTEST_SKIP() << "this test may not make device nodes";
    CAlien_Population& pool = freshPopulation();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(pool.load(scratch / "zero"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Loading... Cannot load " + (scratch / "zero") + ": is not a regular file\n");
}

// The graph and the statistics scale fitness values up to 1e300; beyond, the file is refused.
TEST_F(CPopulationTest, LoadingAFitnessTheGraphCannotScaleIsMended)
{
    CAlien_Population* greens = m_controller.getPopulations()[1];
    const CBrain& model = *greens->getAliens()[0]->getBrain();
    offer(*greens, 0.5, 42);
    for (double fitness : {1.5e308, -1.5e308, 1.1e300, std::numeric_limits<double>::max()})
    {
        std::istringstream in(poolFile(model, {fitness}));
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(greens->load(in, "huge"));
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find("Cannot load huge: entry 1: the fitness "), std::string::npos) << message;
        EXPECT_NE(message.find(" is larger than 1e+300 in size"), std::string::npos) << message;
        EXPECT_EQ(greens->getBestFitness(), 42);
    }
    std::istringstream largest(poolFile(model, {-1e300, 1e300}));
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(greens->load(largest, "largest"));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(greens->getBestFitness(), 1e300);
}

// The game never writes a file it would refuse to read: the old file stays, no "done.".
TEST_F(CPopulationTest, SavingAPoolThatWouldNotLoadIsMended)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct SCase
    {
        double weight;
        double fitness;
        std::string reason;
    };
    const std::vector<SCase> cases{
        {inf, 1, "entry 1: network 0, weight 0 is inf, not a finite number"},
        {-nan, 1, "entry 1: network 0, weight 0 is "},
        {0.5, inf, "entry 1: the fitness inf is not a finite number"},
        {0.5, nan, "entry 1: the fitness nan is not a finite number"},
        {0.5, 1.5e308, "entry 1: the fitness 1.5e+308 is larger than 1e+300 in size"},
    };
    CScratchFolder scratch;
    const std::string name = scratch / "GreenAliens_saved.txt";
    for (const SCase& c : cases)
    {
        std::ofstream(name) << "old";
        CAlien_Population& pool = freshPopulation();
        offer(pool, c.weight, c.fitness);
        std::string reason;
        EXPECT_FALSE(pool.isSavable(reason));
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(pool.save(name));
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(message.rfind("Saving... Cannot save " + name + ": " + c.reason, 0), 0u) << message;
        EXPECT_EQ(message.find("done."), std::string::npos) << message;
        EXPECT_EQ(readWholeFile(name), "old");
        EXPECT_EQ(scratch.listing(), "GreenAliens_saved.txt");
    }
    // The largest fitness the loader takes is saved.
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.5, -1e300);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(pool.save(name));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("done."), std::string::npos);
}
} // namespace

TEST_F(CPopulationTest, BredBrainsSayWhetherTheyWereClonedOrCrossed)
{
    CParams::Alien_PercentBestInPool = 100;
    CAlien_Population& pool = freshPopulation();
    offer(pool, 0.1, 3);
    offer(pool, 0.2, 2);
    offer(pool, 0.3, 1);
    for (double rate : {0.0, 1.0})
    {
        CParams::Alien_CrossoverRate = rate;
        std::unique_ptr<CBrain> child = bred(pool);
        EXPECT_EQ(child->getOrigin(), rate == 0.0 ? BRAIN_CLONED : BRAIN_CROSSED);
    }
}

TEST_F(CPopulationTest, RebornAliensCarryTheirBrainsOrigin)
{
    CParams::Alien_DyingTime = 0;
    CParams::Alien_PercentBestInPool = 100; // two parents to cross from
    CAlien_Population* greens = m_controller.getPopulations()[1];
    CAlien* alien = greens->getAliens()[0];
    const auto rebirth = [&] {
        alien->setState(ALIEN_DYING);
        m_controller.update(1000.0 / CParams::Game_FramesPerSecond);
        return alien->getBrain()->getOrigin();
    };
    // It is the first green alien: no other green dies before it within a step.
    while (greens->getPool().size() + 1 < static_cast<size_t>(CParams::Alien_NumberInPool))
        EXPECT_EQ(rebirth(), BRAIN_RANDOM); // while the pool fills
    std::set<int> origins;
    for (int i = 0; i < 40; ++i)
        origins.insert(rebirth());
    EXPECT_EQ(origins, (std::set<int>{BRAIN_CLONED, BRAIN_CROSSED}));
    m_controller.setEvolution(false);
    EXPECT_EQ(rebirth(), BRAIN_RANDOM);
}
