#pragma once

#include <string>
#include <vector>

#include "view/clearninggraph.h"
#include "view/cinspector.h"
#include "view/cmessageline.h"
#include "view/cplayerstake.h"
#include "app/cfingerdrive.h"
#include "app/cgamestatistics.h"
#include "app/cstatsfile.h"
#include "app/cwatchmode.h"
#include "view/cworldclock.h"
#include "world/ccontrolworld.h"
#include "world/cgamecontroller.h"

// The window shell's state: one game, its run flags and its statistics counters. Every
// callback runs on GLUT's one thread, so none of this needs locking.
extern std::string g_sWindowTitle;
extern CGameController g_gameController;
extern CControlWorld g_controlWorld; // random brains beside the game, for the learning graph
extern bool g_bPaused;
extern bool g_bFastMode;
extern bool g_bGunAutoMode;
extern bool g_bBlankScreen;
extern bool g_bShowStats;
extern bool g_bShowHelp;
extern int g_iCaptureCounter;
extern int g_iNextFrame; // the number the next written frame tries first
extern CStatsFile g_statsFile;
extern CGameStatistics g_statistics; // the statistics file's figures, by game time
extern std::vector<std::string> g_vHelpLines;
extern bool g_bHelpLoaded;
extern bool g_bShowGraph;
extern CLearningGraph g_learningGraph; // the game's learning curves and the control world's (key g)
extern bool g_bShowHud;
extern CWorldClock g_worldClock;   // the world time the steps covered, and how fast it runs
extern CMessageLine g_messages;    // what the keys did, shown in the window
extern CInspector g_inspector;     // the ship the player looks into
extern CPlayerStake g_playerStake; // the gun's kills and hits, their rates and the hit flash
extern double g_dStartRealMs;      // when the game started, in realMs
extern CWatchMode g_watchMode;     // key w
extern bool g_bInBrowser;          // a web page: Escape never ends the game and q asks twice
extern CFingerDrive g_fingerDrive; // a finger held on the picture, driving the gun
extern bool g_bEvolvedStart;       // the world began from the evolved pools (key e)

// The file that s and l save the green brain pool to and load it from.
constexpr const char* kGreenPoolFile = "GreenAliens_saved.txt";
// The pools of evolved aliens that ship with the game (key e).
constexpr const char* kEvolvedGreenFile = "evolved/GreenAliens.txt";
constexpr const char* kEvolvedRedFile = "evolved/RedAliens.txt";

class CStepPacer;

// The game in a window, the same on every platform: each platform's main opens the window,
// calls registerCallbacks and initGame, then runs the steps its loop finds due (one each
// stepLength of real time, fastPacer's pace in fast mode), which ask for the redraws.
void registerCallbacks();
// Everything the game needs once the window and GL exist: textures, the world, statistics.
void initGame();
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
// Runs a command of the table (CCommands), whatever asked for it.
void runCommand(int command);
// Inspects the ship at this point of the window, within the tolerance in window pixels, or
// clears the inspection on empty space.
void inspectAt(int x, int y, double tolerancePixels);
// A finger on a touch screen at this point of the window: put down on a ship it inspects it,
// within the tolerance in window pixels; anywhere else on the picture it drives the gun
// towards it, following its moves, until it is lifted.
constexpr int TOUCH_DOWN = 0;
constexpr int TOUCH_MOVE = 1;
constexpr int TOUCH_UP = 2;
void touchAt(int x, int y, int phase, double tolerancePixels);
// A new world in place of the old (key e, the page's "Play again"): of the evolved pools or of
// random brains.
void startNewWorld(bool evolved);
// The picture's place in the window, its proportions kept.
class CLetterbox;
CLetterbox windowLetterbox();
// q, Escape, closing the window or a stop signal: the statistics' closing lines, then endGame.
void quit();

// Each platform's main provides these.
// Ends the game once its files are closed.
void endGame();
// A file the game saved whole (a pool, a frame, the statistics file's lines) is there to keep.
void fileWritten(const std::string& fileName);
// Why a file the platform keeps for the game could not be brought back for it ("" on a
// desktop, whose files stay where they are).
std::string keptFileProblem(const std::string& fileName);

// Real time in milliseconds, for the clock's speed and the messages' fading.
double realMs();
// Shows the message in the window for a few seconds.
void postMessage(const std::string& text);

// Statistics and the green brain file.
void openStatistics();
void closeStatistics();
// The learning graph of a new world: its curves and the control world's, from game minute 0.
void startLearningGraph();
// After a world step: the statistics' sample and line, and the learning graph's point, each
// when its period of game time has ended.
void sampleStatistics();
void saveGreenBrains();
void loadGreenBrains();
// Both populations' pools and aliens from the evolved pools' files; false, with the reason on
// the standard error stream, when a file cannot be loaded.
bool loadEvolvedPools();

// Overlays.
void toggleHelp();
void drawDebugOverlay();
// The inspected ship's marks, over the scene's sprites.
void drawSelectionMarks();
// The gun lit up for a moment after each hit it takes.
void drawGunFlash();
// The inspector's panel, the heads-up line, the help page and the messages, over everything else.
void drawPlayerView();
// All a blanked screen shows: that it is blanked, and the key that draws the world again.
void drawBlankedLine();

// The learning graph (key g) in its region of the picture, in pixels of a CPixelSpace.
void drawLearningGraph(const SRect& region);

// Capture: every second call writes a frame. What happened, in the terminal's words when it
// failed (the terminal gets them too).
std::string captureFrame();
// The frame the player sees, at the picture's own size whatever the window's, as a new bitmap
// file (an existing file is never replaced); false, with the reason, when it cannot be written.
bool writeBitmap(const char* szFileName, int width, int height, std::string& error);

// The frame as the player sees it, drawn into the back buffer without swapping.
void drawFrame();
