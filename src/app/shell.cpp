#include <GL/glut.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "aliens/calien.h"
#include "view/ckeyfeedback.h"
#include "view/cletterbox.h"
#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/cstreamcapture.h"
#include "app/shell.h"
#include "brain/animationtables.h"
#include "render/cglstate.h"
#include "render/cscissortoviewport.h"
#include "render/ctexture.h"
#include "render/scene.h"
#include "world/cgun.h"
#include "files/cstoprequest.h"
#include "files/outofmemory.h"

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
constexpr int kKeyEscape = 27;
constexpr int kKeyGrave = 96;
constexpr double kPickTolerance = 6.0; // window pixels around a ship's box that still pick it
constexpr double kBlankRedrawMs = 1000.0; // a blanked screen's one line never changes: seldom is enough
CStepPacer g_pacer = CStepPacer::fastMode(); // fast mode's steps, and the redraws in every mode
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

void toggleGunAutoMode()
{
    g_bGunAutoMode = !g_bGunAutoMode;
    g_gameController.getGun()->setAutoMode(g_bGunAutoMode);
}

void toggleFastMode()
{
    g_bFastMode = !g_bFastMode;
    if (g_bFastMode)
        g_pacer.start(realMs());
    for (const std::string& said : CKeyFeedback::fastMode(g_bFastMode, g_bPaused))
        postMessage(said);
}

// Key w: the game set up for watching the aliens learn, or back as it was.
void toggleWatching()
{
    CGun& gun = *g_gameController.getGun();
    const CWatchMode::SState want = g_watchMode.toggle({gun.isAutoMode(), gun.isFiring(), g_bShowGraph, g_bFastMode});
    if (gun.isAutoMode() != want.bGunAuto)
        toggleGunAutoMode();
    if (gun.isFiring() != want.bFiring)
        gun.toggleFiring();
    g_bShowGraph = want.bGraph;
    if (g_bFastMode != want.bFast)
        toggleFastMode();
    postMessage(g_watchMode.isOn() ? "Watching evolution: the gun plays, fast, with the graph (w to stop)"
                                   : "Watching evolution ended");
}

// A new world in place of the old, from the same seed when one was given: the gun keeps its
// modes and the statistics file goes on; the clock, the tallies and the learning graph start
// again, and nothing points into the old world.
void startNewWorld(bool evolved)
{
    const bool autoMode = g_gameController.getGun()->isAutoMode();
    const bool firing = g_gameController.getGun()->isFiring();
    g_inspector.clear();
    g_gameController.init();
    std::string said;
    {
        const CStreamCapture terminal(std::cerr);
        g_bEvolvedStart = evolved && loadEvolvedPools();
        said = terminal.lastLine();
    }
    g_controlWorld.init(g_gameController.getSeed());
    CGun& gun = *g_gameController.getGun();
    gun.setAutoMode(autoMode);
    if (gun.isFiring() != firing)
        gun.toggleFiring();
    g_worldClock = CWorldClock();
    g_playerStake = CPlayerStake();
    startLearningGraph();
    if (evolved && !g_bEvolvedStart)
        postMessage(said + "; a fresh world instead");
    else
        postMessage(g_bEvolvedStart ? "A new world of evolved aliens (e: a fresh one)"
                                    : "A new world of fresh aliens (e: evolved ones)");
}

// Runs a pool key's action and shows what the terminal said of it.
void poolKey(void (*action)(), const std::string& doneText)
{
    std::string said;
    {
        const CStreamCapture terminal(std::cerr);
        action();
        said = terminal.lastLine();
    }
    postMessage(CKeyFeedback::poolAnswer(said, doneText));
}

// The picture as large as the window holds it, its proportions kept.
CLetterbox windowLetterbox()
{
    CLetterbox letterbox(CParams::Window_Width, CParams::Window_Height);
    letterbox.setWindow(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    return letterbox;
}

// Sets the viewport to the picture's part of the window, and gives that box as glViewport
// takes it.
void setViewport(int* box)
{
    const CLetterbox letterbox = windowLetterbox();
    box[0] = letterbox.viewportLeft();
    box[1] = letterbox.viewportBottom();
    box[2] = letterbox.viewportWidth();
    box[3] = letterbox.viewportHeight();
    CGlState::setViewport(box[0], box[1], box[2], box[3]);
}

void reshape(int, int)
{
    int box[4];
    setViewport(box);
    glutPostRedisplay();
}

void keyboard(unsigned char key, int, int)
{
    const CGun* gun = g_gameController.getGun();
    switch (key)
    {
    case kKeyEscape:
    case 'q': quit(); break;
    case ' ':
        g_gameController.setKeyEvent(ACTION_FIRE);
        postMessage(CKeyFeedback::toggled("Firing", gun->isFiring()));
        break;
    case 'C': postMessage(captureFrame()); break;
    case kKeyGrave: g_bBlankScreen = !g_bBlankScreen; break;
    case 'a':
        toggleGunAutoMode();
        postMessage(CKeyFeedback::toggled("Automatic mode", gun->isAutoMode()));
        break;
    case 'd': g_bShowStats = !g_bShowStats; break;
    case 'e': startNewWorld(!g_bEvolvedStart); break;
    case 'f': toggleFastMode(); break;
    case 'g': g_bShowGraph = !g_bShowGraph; break;
    case 'h': g_bShowHud = !g_bShowHud; break;
    case 'l': poolKey(loadGreenBrains, std::string("Green pool loaded from ") + kGreenPoolFile); break;
    case 'p':
        g_bPaused = !g_bPaused;
        postMessage(CKeyFeedback::paused(g_bPaused, g_bFastMode));
        break;
    case 's': poolKey(saveGreenBrains, std::string("Green pool saved to ") + kGreenPoolFile); break;
    case 'w': toggleWatching(); break;
    default: break;
    }
    glutPostRedisplay();
}

// A left click inspects the ship under it, or clears the inspection on empty space; a right
// click clears it.
void mouse(int button, int state, int x, int y)
{
    if (state != GLUT_DOWN || (button != GLUT_LEFT_BUTTON && button != GLUT_RIGHT_BUTTON))
        return;
    const CLetterbox letterbox = windowLetterbox();
    if (button == GLUT_RIGHT_BUTTON || !letterbox.isInside(x, y))
        g_inspector.clear();
    else if (const CAlien* alien = g_inspector.pick(g_gameController.getPopulations(), letterbox.toWorld(x, y),
                                                    kPickTolerance / letterbox.scale()))
    {
        const std::string message = CInspector::inspectingMessage(*alien);
        std::cerr << message << std::endl;
        postMessage(message);
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

// One world step, and what the player is told of it.
void stepWorld(double dt)
{
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
