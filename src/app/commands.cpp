// What each command of the table (CCommands) does to the game, whichever key, button, click or
// touch asked for it: runCommand is the one place they change the shell's state.
#include <GL/glut.h>

#include <iostream>

#include "aliens/calien.h"
#include "app/ccommands.h"
#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/cstreamcapture.h"
#include "app/helppage.h"
#include "app/shell.h"
#include "app/statistics.h"
#include "view/ckeyfeedback.h"
#include "view/cletterbox.h"
#include "world/cgun.h"

namespace
{
// What a command said it did, in the order it said it.
using Said = std::vector<std::string>;

Said toggleGunAutoMode()
{
    g_bGunAutoMode = !g_bGunAutoMode;
    g_gameController.getGun()->setAutoMode(g_bGunAutoMode);
    return {};
}

Said toggleFastMode()
{
    g_bFastMode = !g_bFastMode;
    if (g_bFastMode)
        fastPacer().start(realMs());
    return CKeyFeedback::fastMode(g_bFastMode, g_bPaused);
}

// The game set up for watching the aliens learn, or back as it was.
Said toggleWatching()
{
    CGun& gun = *g_gameController.getGun();
    CShellState::SShown& shown = g_shell.shown;
    CWatchMode& watchMode = g_shell.driving.watchMode;
    const CWatchMode::SState want = watchMode.toggle({gun.isAutoMode(), gun.isFiring(), shown.bGraph, g_bFastMode});
    if (gun.isAutoMode() != want.bGunAuto)
        toggleGunAutoMode();
    if (gun.isFiring() != want.bFiring)
        gun.toggleFiring();
    shown.bGraph = want.bGraph;
    Said said;
    if (g_bFastMode != want.bFast)
        said = toggleFastMode();
    said.push_back(watchMode.isOn() ? "Watching evolution: the gun plays, fast, with the graph (w to stop)"
                                    : "Watching evolution ended");
    return said;
}

// Sound off or on, the choice kept for the next run.
Said toggleSound()
{
    CSound& sound = g_shell.shown.sound;
    sound.setMuted(!sound.isMuted());
    if (sound.saveSettings())
        fileWritten(kSoundSettingsFile);
    const std::string said = CKeyFeedback::toggled("Sound", !sound.isMuted());
    return {sound.isSilent() && !sound.isMuted() ? said + ", but no sound device plays it" : said};
}

// Runs a pool key's action and says what the terminal said of it.
Said poolKey(void (*action)(const CGameController&), const std::string& doneText)
{
    std::string said;
    {
        const CStreamCapture terminal(std::cerr);
        action(g_gameController);
        said = terminal.lastLine();
    }
    return {CKeyFeedback::poolAnswer(said, doneText)};
}

// In a web page q ends the game only when pressed twice: a reflex press must not end it.
Said askToQuit()
{
    if (!g_shell.driving.bInBrowser || g_shell.driving.quitConfirm.press(realMs()))
    {
        quit();
        return {};
    }
    return {"Press q again to end the game"};
}

// Escape, a reflex key, first closes what is open: q's question, a challenge's result (back to
// free play), the help page, then the inspector. With nothing open it quits a desktop game; a
// web page's game it never ends.
Said escape()
{
    if (g_shell.driving.quitConfirm.withdraw(realMs()))
        return {"The game goes on"};
    if (g_shell.session.challenge.isOver())
    {
        g_shell.session.challenge.stop();
        g_bPaused = false;
        return {"Free play (n: a challenge)"};
    }
    if (g_bShowHelp)
        toggleHelp();
    else if (g_shell.shown.inspector.selected())
        g_shell.shown.inspector.clear();
    else if (!g_shell.driving.bInBrowser)
        quit();
    else
        return {"Escape closes the help or the inspector; q twice ends the game"};
    return {};
}

// A challenge from now, against the aliens as they have evolved: the gun the player's again,
// at normal speed and running.
Said startChallenge()
{
    Said said;
    if (g_shell.driving.watchMode.isOn())
        said = toggleWatching();
    if (g_bFastMode)
    {
        const Said fast = toggleFastMode();
        said.insert(said.end(), fast.begin(), fast.end());
    }
    g_bPaused = false;
    CShellState::SSession& session = g_shell.session;
    session.challenge.start(g_gameController.getTally(), session.worldClock.worldMs());
    said.push_back("A challenge: " + std::to_string(CChallenge::Lives) + " lives of " +
                   std::to_string(CChallenge::HitsPerLife) + " red hits each; kills score (n: start again)");
    return said;
}

Said toggleFiring()
{
    g_gameController.setKeyEvent(ACTION_FIRE);
    return {CKeyFeedback::toggled("Firing", g_gameController.getGun()->isFiring())};
}

Said togglePause()
{
    g_bPaused = !g_bPaused;
    // Resumed after a challenge's end: free play again.
    if (!g_bPaused && g_shell.session.challenge.isOver())
        g_shell.session.challenge.stop();
    return {CKeyFeedback::paused(g_bPaused, g_bFastMode)};
}

// Looks into the ship at the point of the window, or clears the inspection on empty space.
Said inspect(const SCommandCall& call)
{
    CInspector& inspector = g_shell.shown.inspector;
    const CLetterbox letterbox = windowLetterbox();
    if (!letterbox.isInside(call.iX, call.iY))
        inspector.clear();
    else if (const CAlien* alien = inspector.pick(g_gameController.getPopulations(),
                                                  letterbox.toWorld(call.iX, call.iY),
                                                  call.dTolerance / letterbox.scale()))
    {
        const std::string message = CInspector::inspectingMessage(*alien);
        std::cerr << message << std::endl;
        return {message};
    }
    return {};
}

// A finger taking the gun, moving with it or lifted.
Said drive(const SCommandCall& call)
{
    CFingerDrive& finger = g_shell.driving.fingerDrive;
    const CLetterbox letterbox = windowLetterbox();
    if (call.iPhase == TOUCH_UP)
        finger.release();
    else if (call.iPhase == TOUCH_DOWN ? letterbox.isInside(call.iX, call.iY) : finger.isHeld())
        finger.hold(letterbox.toWorld(call.iX, call.iY).x);
    return {};
}

// The commands that only flip a view's switch.
bool* viewSwitch(int command)
{
    switch (command)
    {
    case COMMAND_HUD: return &g_shell.shown.bHud;
    case COMMAND_STATS: return &g_bShowStats;
    case COMMAND_GRAPH: return &g_shell.shown.bGraph;
    case COMMAND_BLANK: return &g_bBlankScreen;
    default: return nullptr;
    }
}

Said run(const SCommandCall& call)
{
    switch (call.iCommand)
    {
    case COMMAND_LEFT: g_gameController.setKeyEvent(ACTION_LEFT); return {};
    case COMMAND_RIGHT: g_gameController.setKeyEvent(ACTION_RIGHT); return {};
    case COMMAND_FIRE: return toggleFiring();
    case COMMAND_AUTO:
        toggleGunAutoMode();
        return {CKeyFeedback::toggled("Automatic mode", g_gameController.getGun()->isAutoMode())};
    case COMMAND_PAUSE: return togglePause();
    case COMMAND_FAST: return toggleFastMode();
    case COMMAND_WATCH: return toggleWatching();
    case COMMAND_EVOLVED: startNewWorld(!g_shell.session.bEvolvedStart); return {};
    case COMMAND_SAVE:
        // A browser's storage answers later: the page says "saved" only then.
        return poolKey(saveGreenBrains, g_shell.driving.bInBrowser
                                            ? std::string("Keeping the green pool in this browser...")
                                            : std::string("Green pool saved to ") + kGreenPoolFile);
    case COMMAND_LOAD: return poolKey(loadGreenBrains, std::string("Green pool loaded from ") + kGreenPoolFile);
    case COMMAND_CAPTURE: return {captureFrame()};
    case COMMAND_HELP: toggleHelp(); return {};
    case COMMAND_QUIT: return askToQuit();
    case COMMAND_ESCAPE: return escape();
    case COMMAND_INSPECT: return inspect(call);
    case COMMAND_UNINSPECT: g_shell.shown.inspector.clear(); return {};
    case COMMAND_DRIVE: return drive(call);
    case COMMAND_CHALLENGE: return startChallenge();
    case COMMAND_MUTE: return toggleSound();
    default: return {};
    }
}
} // namespace

std::string runCommand(const SCommandCall& call)
{
    if (bool* flag = viewSwitch(call.iCommand))
        *flag = !*flag;
    std::string told;
    for (const std::string& line : run(call))
    {
        postMessage(line);
        told += (told.empty() ? "" : "\n") + line;
    }
    // Whatever it changed shows at once, paused or not.
    glutPostRedisplay();
    return told;
}

void touchAt(int finger, int x, int y, int phase, double tolerancePixels)
{
    // A finger held drives the gun wherever it was put down; only a short tap that barely
    // moved looks into a ship.
    CTouchGesture& touches = g_shell.driving.touches;
    std::vector<CTouchGesture::SAction> actions;
    if (phase == TOUCH_DOWN)
        actions = touches.down(finger, x, y, realMs());
    else if (phase == TOUCH_MOVE)
        actions = touches.move(finger, x, y, tolerancePixels / 2);
    else
        actions = touches.up(finger, realMs(), phase == TOUCH_CANCEL);
    for (const CTouchGesture::SAction& action : actions)
    {
        const int ax = static_cast<int>(action.dX), ay = static_cast<int>(action.dY);
        if (action.iKind == CTouchGesture::TAP)
            runCommand({COMMAND_INSPECT, ax, ay, tolerancePixels});
        else
            runCommand({COMMAND_DRIVE, ax, ay, tolerancePixels,
                        action.iKind == CTouchGesture::DRIVE_RELEASE ? TOUCH_UP
                        : g_shell.driving.fingerDrive.isHeld()       ? TOUCH_MOVE
                                                                      : TOUCH_DOWN});
    }
}

void toggleHelp()
{
    g_bShowHelp = !g_bShowHelp;
    if (g_bShowHelp && !g_bHelpLoaded)
    {
        g_vHelpLines = readHelpLines("HelpPage.txt");
        g_bHelpLoaded = true;
    }
}

// A new world in place of the old, from the same seed when one was given: the gun keeps its
// modes and the statistics file goes on; the clock, the tallies and the learning graph start
// again, and nothing points into the old world.
void startNewWorld(bool evolved)
{
    CShellState::SSession& session = g_shell.session;
    const bool autoMode = g_gameController.getGun()->isAutoMode();
    const bool firing = g_gameController.getGun()->isFiring();
    g_shell.shown.inspector.clear();
    g_gameController.init();
    std::string said;
    {
        const CStreamCapture terminal(std::cerr);
        session.bEvolvedStart = evolved && loadEvolvedPools(g_gameController);
        said = terminal.lastLine();
    }
    session.controlWorld.init(g_gameController.getSeed());
    CGun& gun = *g_gameController.getGun();
    gun.setAutoMode(autoMode);
    if (gun.isFiring() != firing)
        gun.toggleFiring();
    session.worldClock = CWorldClock();
    session.playerStake = CPlayerStake();
    session.startLearning();
    if (evolved && !session.bEvolvedStart)
        postMessage(said + "; a fresh world instead");
    else
        postMessage(session.bEvolvedStart ? "A new world of evolved aliens (e: a fresh one)"
                                          : "A new world of fresh aliens (e: evolved ones)");
}

std::string toggleStates()
{
    const CGun& gun = *g_gameController.getGun();
    const std::pair<const char*, bool> states[] = {{"fire", gun.isFiring()},
                                                   {"auto", gun.isAutoMode()},
                                                   {"pause", g_bPaused},
                                                   {"fast", g_bFastMode},
                                                   {"graph", g_shell.shown.bGraph},
                                                   {"watch", g_shell.driving.watchMode.isOn()},
                                                   {"challenge", g_shell.session.challenge.isOn()},
                                                   {"mute", g_shell.shown.sound.isMuted()}};
    std::string json = "{";
    for (const auto& [name, on] : states)
        json += std::string(json.size() > 1 ? "," : "") + "\"" + name + "\":" + (on ? "true" : "false");
    return json + "}";
}
