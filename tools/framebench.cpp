// Times whole frames of the game in a real window: one world step, the scene drawn, and
// glFinish, so that the drawing is done and not merely queued. Run from the repository
// root (it loads params.ini and graphics/); prints the mean and the slowest frame.
// --one-by-one draws every frame as the game did before batching, for comparison.
#include <GL/freeglut.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/cparams.h"
#include "common/scenewindow.h"
#include "render/scene.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kWarmUpFrames = 60;
constexpr int kTimedFrames = 600;

// Processor time of all the program's threads, the renderer's included, in ms.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double msBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}
} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    const bool oneByOne = argc == 2 && std::strcmp(argv[1], "--one-by-one") == 0;
    if (argc > 2 || (argc == 2 && !oneByOne))
    {
        std::fprintf(stderr, "usage: korvane-framebench [--one-by-one]\n");
        return 2;
    }
    if (!openSceneWindow("Korvane Aliens frame benchmark"))
        return 1;
    CGameController controller;
    controller.setSeed(1);
    controller.init();
    CScene scene(oneByOne ? SPRITES_ONE_BY_ONE : SPRITES_BATCHED);
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    // Milliseconds spent in the world step, in drawing (to glFinish) and in the buffer swap.
    double step = 0.0, draw = 0.0, swap = 0.0, slowest = 0.0;
    long long sprites = 0, drawCalls = 0;
    double cpu = 0.0;
    for (int frame = 0; frame < kWarmUpFrames + kTimedFrames; ++frame)
    {
        const auto t0 = std::chrono::steady_clock::now();
        controller.update(dt);
        const auto t1 = std::chrono::steady_clock::now();
        if (frame == kWarmUpFrames)
        {
            sprites = scene.sprites().spriteCount();
            drawCalls = scene.sprites().drawCallCount();
            cpu = cpuMs();
        }
        scene.draw(controller, nullptr, nullptr);
        glFinish();
        const auto t2 = std::chrono::steady_clock::now();
        glutSwapBuffers();
        const auto t3 = std::chrono::steady_clock::now();
        if (frame < kWarmUpFrames)
            continue;
        step += msBetween(t0, t1);
        draw += msBetween(t1, t2);
        swap += msBetween(t2, t3);
        slowest = std::max(slowest, msBetween(t0, t3));
    }
    cpu = cpuMs() - cpu;
    sprites = scene.sprites().spriteCount() - sprites;
    drawCalls = scene.sprites().drawCallCount() - drawCalls;
    std::printf("%d frames with %d aliens, sprites %s, mean ms a frame: world step %.3f, drawing %.3f, buffer swap "
                "%.3f; slowest frame %.2f (step period %.1f); processor time of all threads %.3f; a frame's %.1f sprites "
                "took %.1f draw calls\n",
                kTimedFrames, CParams::Alien_NumberOfGreen + CParams::Alien_NumberOfRed,
                oneByOne ? "one by one" : "batched", step / kTimedFrames, draw / kTimedFrames, swap / kTimedFrames,
                slowest, dt, cpu / kTimedFrames, static_cast<double>(sprites) / kTimedFrames, static_cast<double>(drawCalls) / kTimedFrames);
    return 0;
}
