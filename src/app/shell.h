#pragma once

#include <string>
#include <vector>

#include "app/cshellstate.h"
#include "app/cstatsfile.h"
#include "app/platform.h"
#include "world/cgamecontroller.h"

// The window shell's globals, as its first table names them: one game, its run flags, the
// statistics file and the help page; and the one owner of everything else the shell keeps
// (CShellState). Every callback runs on GLUT's one thread, so none of this needs locking.
extern std::string g_sWindowTitle;
extern CGameController g_gameController;
extern bool g_bPaused;
extern bool g_bFastMode;
extern bool g_bGunAutoMode;
extern bool g_bBlankScreen;
extern bool g_bShowStats;
extern bool g_bShowHelp;
extern int g_iCaptureCounter;
extern CStatsFile g_statsFile;
extern std::vector<std::string> g_vHelpLines;
extern bool g_bHelpLoaded;
extern CShellState g_shell;

class CStepPacer;

// The game in a window, the same on every platform: each platform's main opens the window,
// calls registerCallbacks and initGame, then runs the steps its loop finds due (one each
// stepLength of real time, fastPacer's pace in fast mode), which ask for the redraws.
void registerCallbacks();
// Everything the game needs once the window and GL exist: textures, the world, statistics.
void initGame();
// The same a step at a time, for a platform that keeps its page responsive between them: true
// once the last step is done. Run once per program.
bool initGameStep();
// The world steps the platform's loop found due, and a redraw asked for when one is due.
void runSteps(int steps);
double stepLength();
CStepPacer& fastPacer();
// Pictures shown in the window so far, for measuring the frame rate.
long long framesShown();
// A key as the keyboard callback takes it, for keys a platform's GLUT does not pass on.
void keyPressed(unsigned char key);
// The window got a new size, with this many device pixels to a pixel of the overlays (a phone's
// screen has 2 or 3): the picture's place in it anew, drawn at once.
void windowResized(double pixelRatio);

// A command as it arrives: from a key or a button (the command alone), a click or a finger
// (where, in window pixels, within a tolerance in window pixels), a finger's phase.
constexpr int TOUCH_DOWN = 0;
constexpr int TOUCH_MOVE = 1;
constexpr int TOUCH_UP = 2;
constexpr int TOUCH_CANCEL = 3;
struct SCommandCall
{
    int iCommand;
    int iX = 0;
    int iY = 0;
    double dTolerance = 0.0;
    int iPhase = TOUCH_DOWN; // of COMMAND_DRIVE
};
// The one place a command of the table (CCommands) changes the game: every key, button, click
// and touch arrives here. Returns what it said it did ("" when it showed nothing).
std::string runCommand(const SCommandCall& call);
// Which modes a button switches are on, by command name, as JSON: {"fire":true,"auto":false,
// ...}, for the page's buttons to show.
std::string toggleStates();
// A finger (by the screen's identifier for it) on a touch screen at this point of the window:
// the first finger down drives the gun towards it, wherever it goes down, until that finger
// lifts; a short tap that barely moves looks into the ship under it, within the tolerance in
// window pixels. As commands.
void touchAt(int finger, int x, int y, int phase, double tolerancePixels);
// A new world in place of the old (key e, the page's "Play again"): of the evolved pools or of
// random brains.
void startNewWorld(bool evolved);
// The picture's place in the window, its proportions kept.
class CLetterbox;
CLetterbox windowLetterbox();
// q, Escape, closing the window or a stop signal: the statistics' closing lines, then endGame.
void quit();

// Real time in milliseconds, for the clock's speed and the messages' fading.
double realMs();
// Shows the message in the window for a few seconds.
void postMessage(const std::string& text);

// The F1 key's page: shown or hidden, read from HelpPage.txt the first time it is shown.
void toggleHelp();

// Capture: every second call writes a frame. What happened, in the terminal's words when it
// failed (the terminal gets them too).
std::string captureFrame();
// The frame the player sees, at the picture's own size whatever the window's, as a new bitmap
// file (an existing file is never replaced); false, with the reason, when it cannot be written.
bool writeBitmap(const char* szFileName, int width, int height, std::string& error);

// The frame as the player sees it, drawn into the back buffer without swapping.
void drawFrame();
