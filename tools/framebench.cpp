// Times whole frames of the game in a real window: one world step, the scene drawn, and
// glFinish, so that the drawing is done and not merely queued. Run from the repository
// root (it loads params.ini and graphics/); prints the mean and the slowest frame.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "render/ctexture.h"
#include "render/scene.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kWarmUpFrames = 60;
constexpr int kTimedFrames = 600;

double msBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void setUpGl()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, CParams::Window_Width, 0, CParams::Window_Height, 0, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
}
} // namespace

int main(int argc, char** argv)
{
    if (!CParams::loadAndReport("params.ini"))
        return 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(CParams::Window_Width, CParams::Window_Height);
    glutCreateWindow("Korvane Aliens frame benchmark");
    setUpGl();
    loadTextures();
    buildAnimationTables();
    CGameController controller;
    controller.setSeed(1);
    controller.init();
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    // Milliseconds spent in the world step, in drawing (to glFinish) and in the buffer swap.
    double step = 0.0, draw = 0.0, swap = 0.0, slowest = 0.0;
    for (int frame = 0; frame < kWarmUpFrames + kTimedFrames; ++frame)
    {
        const auto t0 = std::chrono::steady_clock::now();
        controller.update(dt);
        const auto t1 = std::chrono::steady_clock::now();
        drawScene(controller, nullptr, nullptr);
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
    std::printf("%d frames with %d aliens, mean ms a frame: world step %.3f, drawing %.3f, buffer swap %.3f; "
                "slowest frame %.2f (step period %.1f)\n",
                kTimedFrames, CParams::Alien_NumberOfGreen + CParams::Alien_NumberOfRed, step / kTimedFrames,
                draw / kTimedFrames, swap / kTimedFrames, slowest, dt);
    return 0;
}
