// The world step at growing alien counts, with and without collision sensors, through the
// spatial index and (up to 3,000 aliens) by the straightforward walks, with the heap
// allocations a step makes; the most crowded worlds of 10,000 aliens the parameters accept;
// and one movement-network evaluation. The window grows with the
// count so that the aliens' density stays that of the shipped parameters. Every repetition
// builds the same seeded world and times the same 100 steps after the same 300, so that
// the sizes are compared over the same stretch of play and the work timed never changes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "allocationcounter.h"
#include "app/cparams.h"
#include "brain/animationtables.h"
#include "brain/calien_population.h"
#include "brain/cneuralnet.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
constexpr int kShippedAliens = 30;
constexpr int kWarmUpSteps = 300; // ten seconds of play: past the first births and deaths
constexpr int kTimedSteps = 100;

void loadShippedParams(int aliens, bool sensors)
{
    CParams::resetToInitialValues();
    if (!CParams().loadParameters(KA_SOURCE_DIR "/params.ini"))
        std::abort();
    const double scale = std::sqrt(static_cast<double>(aliens) / kShippedAliens);
    const int zone = CParams::Window_Height - CParams::Window_TopMargin - CParams::Window_BottomMargin;
    CParams::Window_Width = static_cast<int>(CParams::Window_Width * scale);
    CParams::Window_Height = CParams::Window_TopMargin + CParams::Window_BottomMargin + static_cast<int>(zone * scale);
    CParams::Alien_NumberOfRed = aliens / 3;
    CParams::Alien_NumberOfGreen = aliens - aliens / 3;
    CParams::Alien_NN_Movement_UseSensors = sensors ? 1 : 0;
    CParams::Alien_NN_Movement_NumInputs = sensors ? 6 : 2;
    CParams::updateDerived();
    buildAnimationTables();
}

int deaths(const CGameController& controller)
{
    int dead = 0;
    for (const CAlien_Population* population : controller.getPopulations())
        dead += population->getNumDead();
    return dead;
}

// One evaluation of the shipped movement network, in nanoseconds, timed here: the unit a
// world step's cost is told in ("network passes per alien"), so that the figure compares
// machines and builds.
double movementPassNs()
{
    CNeuralNet net(6, 2, 1, 8);
    const std::vector<double> inputs{300, 500, 0.5, 1, 0.25, 1};
    constexpr int kPasses = 200000;
    double sink = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < kPasses; ++i)
        sink += net.update(inputs)[0];
    benchmark::DoNotOptimize(sink);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - begin).count() / kPasses;
}

// Warms the seeded world up and times the state's steps of it.
void timeSteps(benchmark::State& state, int aliens, bool referenceQueries)
{
    CGameController controller;
    controller.setSeed(1);
    controller.setReferenceQueries(referenceQueries);
    controller.init();
    controller.getGun()->setAutoMode(true);
    controller.getGun()->toggleFiring();
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    for (int i = 0; i < kWarmUpSteps; ++i)
        controller.update(dt);
    const long long allocationsBefore = allocationCount();
    const int deathsBefore = deaths(controller);
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state)
        controller.update(dt);
    const double stepNs =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - begin).count() /
        static_cast<double>(state.iterations());
    const double steps = static_cast<double>(state.iterations());
    // A step's cost in evaluations of one movement network per alien: 1 would be the networks
    // alone; the rest is sensing, moving, colliding and breeding.
    state.counters["net passes/alien"] = stepNs / (aliens * movementPassNs());
    state.counters["alien-steps/s"] = benchmark::Counter(steps * aliens, benchmark::Counter::kIsRate);
    // The aliens' own work allocates nothing: what a step allocates comes with its deaths
    // (each reborn alien's brain is bred and copied) and its shots (a bullet each).
    state.counters["allocs/step"] = static_cast<double>(allocationCount() - allocationsBefore) / steps;
    state.counters["deaths/step"] = (deaths(controller) - deathsBefore) / steps;
}

void worldStep(benchmark::State& state)
{
    const int aliens = static_cast<int>(state.range(0));
    loadShippedParams(aliens, state.range(1) != 0);
    timeSteps(state, aliens, state.range(2) == 0);
}

// The most crowded worlds the parameters accept: green and red aliens, as many for each of
// the band's seats as its count allows (seats, the window sized to hold just that many), red
// aliens firing whenever they decide to.
void crowdedWorldStep(benchmark::State& state)
{
    const int greens = static_cast<int>(state.range(0));
    const int reds = static_cast<int>(state.range(1));
    loadShippedParams(kShippedAliens, true);
    const long long seats = (greens + reds + state.range(2) - 1) / state.range(2);
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(seats))));
    const int rows = static_cast<int>((seats + columns - 1) / columns);
    CParams::Window_Width = columns * 2 * static_cast<int>(CParams::Alien_Width);
    CParams::Window_Height =
        CParams::Window_TopMargin + CParams::Window_BottomMargin + rows * 2 * static_cast<int>(CParams::Alien_Height);
    CParams::Alien_NumberOfGreen = greens;
    CParams::Alien_NumberOfRed = reds;
    CParams::Alien_Red_FireDelay = 0;
    CParams::updateDerived();
    if (!CParams::validate("crowded world").empty())
        std::abort(); // the case must be one the game accepts
    timeSteps(state, greens + reds, false);
}

// index 1: through the spatial index; 0: the straightforward walks. Smaller worlds take more
// repetitions, the timed stretch being short.
void registerWorldSteps()
{
    struct SCase
    {
        int iAliens, iSensors, iIndex, iRepetitions;
    };
    struct SCrowd
    {
        int iGreen, iRed, iPerSeat;
    };
    const SCase cases[] = {{30, 1, 1, 200}, {300, 1, 1, 20}, {3000, 1, 1, 5}, {10000, 1, 1, 3},
                           {30, 0, 1, 200}, {300, 0, 1, 20}, {3000, 0, 1, 5}, {10000, 0, 1, 3},
                           {30, 1, 0, 100}, {300, 1, 0, 5},  {3000, 1, 0, 2}};
    for (const SCase& c : cases)
        benchmark::RegisterBenchmark("worldStep", worldStep)
            ->ArgNames({"aliens", "sensors", "index"})
            ->Args({c.iAliens, c.iSensors, c.iIndex})
            ->Iterations(kTimedSteps)
            ->Repetitions(c.iRepetitions)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    const SCrowd crowds[] = {{10000, 0, 2}, {0, 10000, 2}, {0, 10000, 1}, {5000, 5000, 2}};
    for (const SCrowd& c : crowds)
        benchmark::RegisterBenchmark("crowdedWorldStep", crowdedWorldStep)
            ->ArgNames({"green", "red", "perSeat"})
            ->Args({c.iGreen, c.iRed, c.iPerSeat})
            ->Iterations(kTimedSteps)
            ->Unit(benchmark::kMillisecond);
}

void movementNetwork(benchmark::State& state)
{
    loadShippedParams(kShippedAliens, true);
    CNeuralNet net(CParams::Alien_NN_Movement_NumInputs, CParams::Alien_NN_Movement_NumOutputs,
                   CParams::Alien_NN_Movement_NumHiddenLayers, CParams::Alien_NN_Movement_NeuronsPerHiddenLayer);
    const std::vector<double> inputs{300, 500, 0.5, 1, 0.25, 1};
    for (auto _ : state)
        benchmark::DoNotOptimize(net.update(inputs));
}
BENCHMARK(movementNetwork)->Unit(benchmark::kNanosecond);
} // namespace

int main(int argc, char** argv)
{
    registerWorldSteps();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
