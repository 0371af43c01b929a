// korvane-stepbench [PARAMS] [STEPS]: how fast the world steps, the same code built natively and
// to WebAssembly (run under node), so that the two builds compare: the world of the parameter
// file from seed 1, the gun driving itself and firing, 20,000 steps unless told.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

int main(int argc, char** argv)
{
    const char* params = argc > 1 ? argv[1] : "params.ini";
    const long long steps = argc > 2 ? std::atoll(argv[2]) : 20000;
    if (steps <= 0 || !CParams::loadAndReport(params))
        return 1;
    buildAnimationTables();
    CGameController world;
    world.setSeed(1);
    world.init();
    world.getGun()->setAutoMode(true);
    world.getGun()->toggleFiring();
    const double stepMs = 1000.0 / CParams::Game_FramesPerSecond;
    const auto start = std::chrono::steady_clock::now();
    for (long long step = 0; step < steps; ++step)
        world.update(stepMs);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%lld steps in %.3f s: %.0f steps a second, %.2f microseconds a step\n", steps, seconds,
                steps / seconds, seconds / steps * 1e6);
    return 0;
}
