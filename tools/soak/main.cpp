// korvane-soak: runs the world headless for many steps and fails when it leaves the bounds
// the rules give it or when its memory keeps growing.
// Usage: korvane-soak PARAMS STEPS [--reproduction]
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"
#include "files/outofmemory.h"
#include "world/worldbounds.h"

namespace
{
constexpr long long kBaselineStep = 10000;
constexpr long long kMemoryAllowanceKb = 4096; // a few megabytes of slack over the baseline

// The process's peak resident memory so far, as the kernel reports it.
long long peakMemoryKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key)
    {
        long long value = 0;
        if (key == "VmHWM:" && status >> value)
            return value;
        status.ignore(1 << 20, '\n');
    }
    return -1;
}

int fail(const std::string& why)
{
    std::cerr << "soak: " << why << std::endl;
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-soak");
    if (argc < 3)
        return fail(std::string("usage: ") + argv[0] + " PARAMS STEPS [--reproduction]");
    if (!CParams::loadAndReport(argv[1]))
        return fail(std::string("cannot use ") + argv[1]);
    const long long steps = std::atoll(argv[2]);
    const bool reproduction = argc > 3 && std::strcmp(argv[3], "--reproduction") == 0;
    CParams::Alien_ReproductionOn = reproduction ? 1 : 0;

    buildAnimationTables();
    CGameController controller;
    controller.setSeed(12345);
    controller.init();
    // The gun plays by itself and fires, so that aliens die, are reborn and are bred.
    controller.getGun()->setAutoMode(true);
    controller.getGun()->toggleFiring();
    const SWorldBounds bounds = worldBounds();
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const auto start = std::chrono::steady_clock::now();
    long long baselineKb = -1;
    for (long long step = 1; step <= steps; ++step)
    {
        controller.update(dt);
        if (const char* exceeded = exceededBound(controller, bounds))
            return fail(std::string("too many ") + exceeded + " at step " + std::to_string(step));
        if (step == kBaselineStep)
            baselineKb = peakMemoryKb();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long long peakKb = peakMemoryKb();
    std::cout << (reproduction ? "with offspring: " : "shipped params: ") << steps << " steps in " << seconds
              << " s; peak memory " << baselineKb << " kB after " << kBaselineStep << " steps, " << peakKb
              << " kB at the end" << std::endl;
    if (baselineKb < 0 || peakKb - baselineKb > kMemoryAllowanceKb)
        return fail("peak memory grew by " + std::to_string(peakKb - baselineKb) + " kB");
    return 0;
}
