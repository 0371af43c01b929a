#include <GL/glut.h>

#include <chrono>
#include <iostream>

#include "aliens/calien.h"
#include "view/cletterbox.h"
#include "app/ccommands.h"
#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/shell.h"
#include "brain/animationtables.h"
#include "render/cglstate.h"
#include "render/cscissortoviewport.h"
#include "render/ctexture.h"
#include "render/scene.h"
#include "world/cgun.h"

std::string g_sWindowTitle = "Korvane Aliens";
CGameController g_gameController;
CControlWorld g_controlWorld;
bool g_bPaused = false;
bool g_bFastMode = false;
bool g_bGunAutoMode = false;
bool g_bBlankScreen = false;
bool g_bShowStats = false;
bool g_bShowHelp = false;
int g_iCaptureCounter = 0;
int g_iNextFrame = 0;
CStatsFile g_statsFile(std::cerr);
CGameStatistics g_statistics;
std::vector<std::string> g_vHelpLines;
bool g_bHelpLoaded = false;
bool g_bShowGraph = false;
CLearningGraph g_learningGraph;
bool g_bShowHud = true;
CWorldClock g_worldClock;
CMessageLine g_messages;
CInspector g_inspector;
CPlayerStake g_playerStake;
double g_dStartRealMs = 0.0;
CWatchMode g_watchMode;
bool g_bEvolvedStart = false;

namespace
{
constexpr double kPickTolerance = 6.0; // window pixels around a ship's box that still pick it
constexpr double kBlankRedrawMs = 1000.0; // a blanked screen's one line never changes: seldom is enough
CStepPacer g_pacer = CStepPacer::fastMode(); // fast mode's steps, and the redraws in every mode
double g_dPixelRatio = 1.0; // the window's device pixels a pixel of the overlays
long long g_llFramesShown = 0;

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
    g_bShowHud = true;
    // From the gun's own mode, so that every press of a toggles it.
    g_bGunAutoMode = g_gameController.getGun()->isAutoMode();
    g_iCaptureCounter = g_iNextFrame = 0;
}

} // namespace

// The picture as large as the window holds it, its proportions kept.
CLetterbox windowLetterbox()
{
    CLetterbox letterbox(CParams::Window_Width, CParams::Window_Height);
    letterbox.setWindow(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    return letterbox;
}

// Sets the viewport to the picture's part of the window, and gives that box as glViewport
// takes it.
namespace
{
void setViewport(int* box)
{
    const CLetterbox letterbox = windowLetterbox();
    box[0] = letterbox.viewportLeft();
    box[1] = letterbox.viewportBottom();
    box[2] = letterbox.viewportWidth();
    box[3] = letterbox.viewportHeight();
    CGlState::setViewport(box[0], box[1], box[2], box[3], g_dPixelRatio);
}

void reshape(int, int)
{
    windowResized(g_dPixelRatio);
}

void keyboard(unsigned char key, int, int)
{
    runCommand(CCommands::forKey(key));
}

// A left click inspects the ship under it, or clears the inspection on empty space; a right
// click clears it.
void mouse(int button, int state, int x, int y)
{
    if (state != GLUT_DOWN)
        return;
    if (button == GLUT_LEFT_BUTTON)
        inspectAt(x, y, kPickTolerance);
    else if (button == GLUT_RIGHT_BUTTON)
        runCommand(COMMAND_UNINSPECT);
}

void specialKeys(int key, int, int)
{
    static_assert(SPECIAL_KEY_F1 == GLUT_KEY_F1 && SPECIAL_KEY_LEFT == GLUT_KEY_LEFT &&
                      SPECIAL_KEY_RIGHT == GLUT_KEY_RIGHT,
                  "the commands' special keys are GLUT's codes");
    runCommand(CCommands::forSpecialKey(key));
}

// One world step, and what the player is told of it.
void stepWorld(double dt)
{
    const CGun& gun = *g_gameController.getGun();
    const int push = g_fingerDrive.push(gun.getPosition().x);
    if (!gun.isAutoMode() && push != ACTION_UNDEFINED && push != ACTION_NONE)
        g_gameController.setKeyEvent(push);
    g_gameController.update(dt);
    g_controlWorld.step(*g_gameController.getGun(), dt);
    g_worldClock.addStep(dt, realMs());
    const CWorldTally& tally = g_gameController.getTally();
    g_playerStake.observe(tally.gunKills(), tally.hitsOnGun(), g_worldClock.worldMs(), realMs());
    sampleStatistics();
    if (g_inspector.wasReborn())
    {
        const std::string message = CInspector::rebirthMessage(*g_inspector.selected());
        std::cerr << message << std::endl;
        postMessage(message);
    }
}

void display()
{
    // Set each time: a resize may reach a callback before its reshape has run.
    int box[4];
    setViewport(box);
    // The bars are cleared whole, and the picture is clipped to its box: the overlays' wide
    // lines near its edge would spill into them.
    glClear(GL_COLOR_BUFFER_BIT);
    {
        const CScissorToViewport clip(box);
        drawFrame();
    }
    glutSwapBuffers();
    ++g_llFramesShown;
}

// Fast mode is drawn at the normal frame rate, the steps running at their own pace; a blank
// screen's one line is redrawn once a second.
double shortestRedrawGap()
{
    if (g_bBlankScreen)
        return kBlankRedrawMs;
    return g_bFastMode ? stepLength() : 0.0;
}
} // namespace

void initGame()
{
    setProjection();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    loadTextures();
    buildAnimationTables();
    g_gameController.init();
    g_controlWorld.init(g_gameController.getSeed());
    openStatistics();
    resetRunState();
    g_dStartRealMs = realMs();
}

void runSteps(int steps)
{
    for (int i = 0; i < steps; ++i)
        stepWorld(stepLength());
    // While paused, only fading messages change the picture.
    const double now = realMs();
    if ((steps > 0 || !g_messages.isEmpty(now)) && g_pacer.redrawDue(now, shortestRedrawGap()))
        glutPostRedisplay();
}

void windowResized(double pixelRatio)
{
    if (pixelRatio > 0)
        g_dPixelRatio = pixelRatio;
    int box[4];
    setViewport(box);
    glutPostRedisplay();
}

double stepLength()
{
    return 1000.0 / CParams::Game_FramesPerSecond;
}

void quit()
{
    closeStatistics();
    endGame();
}

CStepPacer& fastPacer()
{
    return g_pacer;
}

long long framesShown()
{
    return g_llFramesShown;
}

void keyPressed(unsigned char key)
{
    keyboard(key, 0, 0);
}

void registerCallbacks()
{
    glutDisplayFunc(display);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialKeys);
    glutMouseFunc(mouse);
    glutReshapeFunc(reshape);
}

double realMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void postMessage(const std::string& text)
{
    g_messages.post(text, realMs());
}

void drawFrame()
{
    if (g_bBlankScreen)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawBlankedLine();
        return;
    }
    drawScene(g_gameController, nullptr, g_bShowStats ? drawDebugOverlay : nullptr);
    drawSelectionMarks();
    drawGunFlash();
    drawPlayerView();
}
