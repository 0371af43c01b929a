// What each command of the table (CCommands) does to the game, whichever key, button or touch
// asked for it.
#include <GL/glut.h>

#include <iostream>

#include "aliens/calien.h"
#include "app/ccommands.h"
#include "app/cfingerdrive.h"
#include "app/cparams.h"
#include "app/cquitconfirm.h"
#include "app/csteppacer.h"
#include "app/cstreamcapture.h"
#include "app/shell.h"
#include "view/ckeyfeedback.h"
#include "view/cletterbox.h"
#include "world/cgun.h"

bool g_bInBrowser = false;
CFingerDrive g_fingerDrive;

namespace
{
CQuitConfirm g_quitConfirm;

void toggleGunAutoMode()
{
    g_bGunAutoMode = !g_bGunAutoMode;
    g_gameController.getGun()->setAutoMode(g_bGunAutoMode);
}

void toggleFastMode()
{
    g_bFastMode = !g_bFastMode;
    if (g_bFastMode)
        fastPacer().start(realMs());
    for (const std::string& said : CKeyFeedback::fastMode(g_bFastMode, g_bPaused))
        postMessage(said);
}

// The game set up for watching the aliens learn, or back as it was.
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

// In a web page q ends the game only when pressed twice: a reflex press must not end it.
void askToQuit()
{
    if (!g_bInBrowser || g_quitConfirm.press(realMs()))
        quit();
    else
        postMessage("Press q again to end the game");
}

// Escape in a web page, a reflex key there: closes what is open, and never ends the game.
void escape()
{
    if (!g_bInBrowser)
        quit();
    else if (g_bShowHelp)
        toggleHelp();
    else if (g_inspector.selected())
        g_inspector.clear();
    else
        postMessage("Escape closes the help or the inspector; q twice ends the game");
}

void toggleFiring()
{
    g_gameController.setKeyEvent(ACTION_FIRE);
    postMessage(CKeyFeedback::toggled("Firing", g_gameController.getGun()->isFiring()));
}

void togglePause()
{
    g_bPaused = !g_bPaused;
    postMessage(CKeyFeedback::paused(g_bPaused, g_bFastMode));
}

// The commands that only flip a view's switch.
bool* viewSwitch(int command)
{
    switch (command)
    {
    case COMMAND_HUD: return &g_bShowHud;
    case COMMAND_STATS: return &g_bShowStats;
    case COMMAND_GRAPH: return &g_bShowGraph;
    case COMMAND_BLANK: return &g_bBlankScreen;
    default: return nullptr;
    }
}
} // namespace

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

void inspectAt(int x, int y, double tolerancePixels)
{
    const CLetterbox letterbox = windowLetterbox();
    if (!letterbox.isInside(x, y))
        g_inspector.clear();
    else if (const CAlien* alien = g_inspector.pick(g_gameController.getPopulations(), letterbox.toWorld(x, y),
                                                    tolerancePixels / letterbox.scale()))
    {
        const std::string message = CInspector::inspectingMessage(*alien);
        std::cerr << message << std::endl;
        postMessage(message);
    }
    glutPostRedisplay();
}

void touchAt(int x, int y, int phase, double tolerancePixels)
{
    const CLetterbox letterbox = windowLetterbox();
    const SVector2D world = letterbox.toWorld(x, y);
    if (phase == TOUCH_UP)
        g_fingerDrive.release();
    else if (phase == TOUCH_MOVE && g_fingerDrive.isHeld())
        g_fingerDrive.hold(world.x);
    else if (phase == TOUCH_DOWN && letterbox.isInside(x, y))
    {
        // A finger on a ship looks into it; anywhere else it takes the gun.
        if (CInspector::nearestAlien(g_gameController.getPopulations(), world, tolerancePixels / letterbox.scale()))
            inspectAt(x, y, tolerancePixels);
        else
            g_fingerDrive.hold(world.x);
    }
}

void runCommand(int command)
{
    if (bool* flag = viewSwitch(command))
        *flag = !*flag;
    switch (command)
    {
    case COMMAND_LEFT: g_gameController.setKeyEvent(ACTION_LEFT); break;
    case COMMAND_RIGHT: g_gameController.setKeyEvent(ACTION_RIGHT); break;
    case COMMAND_FIRE: toggleFiring(); break;
    case COMMAND_AUTO:
        toggleGunAutoMode();
        postMessage(CKeyFeedback::toggled("Automatic mode", g_gameController.getGun()->isAutoMode()));
        break;
    case COMMAND_PAUSE: togglePause(); break;
    case COMMAND_FAST: toggleFastMode(); break;
    case COMMAND_WATCH: toggleWatching(); break;
    case COMMAND_EVOLVED: startNewWorld(!g_bEvolvedStart); break;
    case COMMAND_SAVE:
        // A browser's storage answers later: the page says "saved" only then.
        poolKey(saveGreenBrains, g_bInBrowser ? std::string("Keeping the green pool in this browser...")
                                              : std::string("Green pool saved to ") + kGreenPoolFile);
        break;
    case COMMAND_LOAD: poolKey(loadGreenBrains, std::string("Green pool loaded from ") + kGreenPoolFile); break;
    case COMMAND_CAPTURE: postMessage(captureFrame()); break;
    case COMMAND_HELP: toggleHelp(); break;
    case COMMAND_QUIT: askToQuit(); break;
    case COMMAND_ESCAPE: escape(); break;
    case COMMAND_UNINSPECT: g_inspector.clear(); break;
    default: break;
    }
    // Whatever it changed shows at once, paused or not.
    glutPostRedisplay();
}
