// Times whole frames of the game in a real window: one world step, the scene drawn, and
// glFinish, so that the drawing is done and not merely queued. Run from the repository
// root (it loads params.ini and graphics/); prints the mean and the slowest frame.
// --one-by-one draws every frame as the game did before batching, for comparison.
// --fast-mode runs the game's fast mode for a few seconds instead: a 1 ms timer takes the
// steps its pacer says are due and redraws the scene and the heads-up line at the frame rate;
// prints the world steps and the frames a second.
#include <GL/freeglut.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/cparams.h"
#include "app/csteppacer.h"
#include "common/scenewindow.h"
#include "render/hudline.h"
#include "render/overlaydraw.h"
#include "render/scene.h"
#include "view/cworldclock.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kWarmUpFrames = 60;
constexpr int kTimedFrames = 600;
constexpr double kFastModeMs = 5000.0;

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

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The fast-mode run, for GLUT's callbacks.
struct SFastRun
{
    CGameController* pController = nullptr;
    CScene* pScene = nullptr;
    CStepPacer pacer = CStepPacer::fastMode();
    CWorldClock clock;
    double dStartMs = 0.0;
    long long llSteps = 0;
    int iFrames = 0;
};
SFastRun* g_pRun = nullptr;

void fastDisplay()
{
    g_pRun->pScene->draw(*g_pRun->pController, nullptr, nullptr);
    {
        const CPixelSpace space;
        drawHud(space, {g_pRun->clock.worldMs(), true, g_pRun->clock.multiple(nowMs()), false, false, false, 0, 0});
    }
    glutSwapBuffers();
    ++g_pRun->iFrames;
}

// As the game's world timer in fast mode.
void fastTimer(int)
{
    if (nowMs() - g_pRun->dStartMs >= kFastModeMs)
    {
        glutLeaveMainLoop();
        return;
    }
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    for (int i = g_pRun->pacer.stepsDue(nowMs()); i > 0; --i)
    {
        g_pRun->pController->update(dt);
        g_pRun->clock.addStep(dt, nowMs());
        ++g_pRun->llSteps;
    }
    if (g_pRun->pacer.redrawDue(nowMs(), dt))
        glutPostRedisplay();
    glutTimerFunc(CStepPacer::kFastStepMs, fastTimer, 1);
}

int runFastMode(CGameController& controller)
{
    CScene scene(SPRITES_BATCHED);
    SFastRun run;
    run.pController = &controller;
    run.pScene = &scene;
    g_pRun = &run;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutDisplayFunc(fastDisplay);
    run.dStartMs = nowMs();
    run.pacer.start(run.dStartMs);
    glutTimerFunc(CStepPacer::kFastStepMs, fastTimer, 1);
    glutMainLoop();
    const double seconds = (nowMs() - run.dStartMs) / 1000.0;
    std::printf("fast mode for %.1f s with %d aliens: %.0f world steps a second (x%.1f real time), %.1f frames a "
                "second\n",
                seconds, CParams::Alien_NumberOfGreen + CParams::Alien_NumberOfRed, run.llSteps / seconds,
                run.clock.worldMs() / 1000.0 / seconds, run.iFrames / seconds);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    const bool oneByOne = argc == 2 && std::strcmp(argv[1], "--one-by-one") == 0;
    const bool fastMode = argc == 2 && std::strcmp(argv[1], "--fast-mode") == 0;
    if (argc > 2 || (argc == 2 && !oneByOne && !fastMode))
    {
        std::fprintf(stderr, "usage: korvane-framebench [--one-by-one | --fast-mode]\n");
        return 2;
    }
    if (!openSceneWindow("Korvane Aliens frame benchmark"))
        return 1;
    CGameController controller;
    controller.setSeed(1);
    controller.init();
    if (fastMode)
        return runFastMode(controller);
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
