#include <GL/freeglut.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "app/cparams.h"
#include "app/shell.h"
#include "brain/animationtables.h"
#include "render/ctexture.h"
#include "render/scene.h"
#include "world/cgun.h"
#include "world/cstoprequest.h"
#include "world/outofmemory.h"

std::string g_sWindowTitle = "Korvane Aliens";
CGameController g_gameController;
bool g_bPaused = false;
bool g_bFastMode = false;
bool g_bGunAutoMode = false;
bool g_bBlankScreen = false;
bool g_bShowStats = false;
bool g_bShowHelp = false;
int g_iDeadInPeriod = 0;
int g_iTotalDead = 0;
double g_dBestAge = 0.0;
double g_dWorstAge = 0.0;
int g_iCaptureCounter = 0;
int g_iNextFrame = 0;
double g_dMinutesElapsed = 0.0;
CStatsFile g_statsFile(std::cerr);
std::vector<std::string> g_vHelpLines;
bool g_bHelpLoaded = false;
bool g_bShowGraph = false;
CFitnessGraph g_fitnessGraph;

namespace
{
constexpr int kKeyEscape = 27;
constexpr int kKeyGrave = 96;
const CStopRequest* g_pStopRequest = nullptr; // main's: SIGINT, SIGTERM and SIGHUP end the game as q does

double stepLength()
{
    return 1000.0 / CParams::Game_FramesPerSecond;
}

void setProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, CParams::Window_Width, 0, CParams::Window_Height, 0, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void resetRunState()
{
    g_bPaused = g_bFastMode = g_bBlankScreen = g_bShowStats = g_bShowHelp = g_bShowGraph = false;
    // From the gun's own mode, so that every press of a toggles it.
    g_bGunAutoMode = g_gameController.getGun()->isAutoMode();
    g_iDeadInPeriod = g_iTotalDead = g_iCaptureCounter = g_iNextFrame = 0;
    g_dBestAge = g_dWorstAge = 0.0;
}

void init()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    setProjection();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    loadTextures();
    buildAnimationTables();
    g_gameController.init();
    openStatistics();
    resetRunState();
}

void quit()
{
    // GLUT destroys the window while the program exits and would call this once more.
    glutCloseFunc(nullptr);
    closeStatistics();
    std::exit(0);
}

void toggleBlankScreen()
{
    if (g_bBlankScreen)
    {
        g_bBlankScreen = false;
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    g_bBlankScreen = true;
}

void toggleGunAutoMode()
{
    g_bGunAutoMode = !g_bGunAutoMode;
    g_gameController.getGun()->setAutoMode(g_bGunAutoMode);
}

void display()
{
    if (g_bBlankScreen)
        return;
    drawFrame();
    glutSwapBuffers();
}

void keyboard(unsigned char key, int, int)
{
    switch (key)
    {
    case kKeyEscape:
    case 'q': quit(); break;
    case ' ': g_gameController.setKeyEvent(ACTION_FIRE); break;
    case 'C': captureFrame(); break;
    case kKeyGrave: toggleBlankScreen(); break;
    case 'a': toggleGunAutoMode(); break;
    case 'd': g_bShowStats = !g_bShowStats; break;
    case 'f': g_bFastMode = !g_bFastMode; break;
    case 'g': g_bShowGraph = !g_bShowGraph; break;
    case 'l': loadGreenBrains(); break;
    case 'p': g_bPaused = !g_bPaused; break;
    case 's': saveGreenBrains(); break;
    default: break;
    }
    glutPostRedisplay();
}

void specialKeys(int key, int, int)
{
    switch (key)
    {
    case GLUT_KEY_F1: toggleHelp(); break;
    case GLUT_KEY_UP: g_gameController.setKeyEvent(ACTION_UP); break;
    case GLUT_KEY_DOWN: g_gameController.setKeyEvent(ACTION_DOWN); break;
    case GLUT_KEY_LEFT: g_gameController.setKeyEvent(ACTION_LEFT); break;
    case GLUT_KEY_RIGHT: g_gameController.setKeyEvent(ACTION_RIGHT); break;
    default: break;
    }
}

void worldTimer(int)
{
    // The one place a stop signal is seen: this timer runs while paused too.
    if (g_pStopRequest->signalNumber() != 0)
        quit();
    const double dt = stepLength();
    if (g_bFastMode)
    {
        stepWorld(dt);
        glutTimerFunc(1, worldTimer, 1);
        glutPostRedisplay();
        return;
    }
    if (!g_bPaused)
    {
        stepWorld(dt);
        glutPostRedisplay();
    }
    glutTimerFunc(static_cast<unsigned>(dt), worldTimer, 1);
}
} // namespace

void drawFrame()
{
    if (g_bBlankScreen)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    drawScene(g_gameController, g_bShowHelp ? drawHelpPage : nullptr, g_bShowStats ? drawDebugOverlay : nullptr);
    if (g_bShowGraph)
        drawFitnessGraph();
}

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-aliens");
    if (!CParams::loadAndReport("params.ini"))
        return 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(CParams::Window_Width, CParams::Window_Height);
    glutCreateWindow(g_sWindowTitle.c_str());
    glutDisplayFunc(display);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialKeys);
    // A file-size limit then fails the write at hand, which is reported, instead of ending
    // the game on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
    // From here on a stop signal ends the game as q does, once the world timer runs.
    CStopRequest stopRequest{SIGINT, SIGTERM, SIGHUP};
    g_pStopRequest = &stopRequest;
    init();
    // Closing the window writes the statistics' closing lines, as q does. Registered only
    // now: a start-up that fails must keep its own exit status.
    glutCloseFunc(quit);
    glutTimerFunc(static_cast<unsigned>(stepLength()), worldTimer, 1);
    glutTimerFunc(CParams::Stats_UpdateInterval, statsUpdateTimer, 2);
    glutTimerFunc(CParams::Stats_SaveInterval, statsSaveTimer, 3);
    glutMainLoop();
    return 0;
}
