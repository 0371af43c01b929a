#pragma once

#include <string>
#include <vector>

#include "app/cfitnessgraph.h"
#include "app/cstatsfile.h"
#include "world/cgamecontroller.h"

// The window shell's state: one game, its run flags and its statistics counters. Every
// callback runs on GLUT's one thread, so none of this needs locking.
extern CGameController g_gameController;
extern bool g_bPaused;
extern bool g_bFastMode;
extern bool g_bGunAutoMode;
extern bool g_bBlankScreen;
extern bool g_bShowStats;
extern bool g_bShowHelp;
extern int g_iDeadInPeriod;
extern int g_iTotalDead;
extern double g_dBestAge;
extern double g_dWorstAge;
extern int g_iCaptureCounter;
extern int g_iNextFrame; // the number the next written frame tries first
extern double g_dMinutesElapsed;
extern CStatsFile g_statsFile;
extern std::vector<std::string> g_vHelpLines;
extern bool g_bHelpLoaded;
extern bool g_bShowGraph;
extern CFitnessGraph g_fitnessGraph; // the learning graph: see CLearningGraph

// One world step, counted into the game time the graph is drawn against.
void stepWorld(double dt);
// Statistics and the green brain file.
void openStatistics();
void statsUpdateTimer(int value);
void statsSaveTimer(int value);
void closeStatistics();
void saveGreenBrains();
void loadGreenBrains();

// Overlays.
void toggleHelp();
void drawHelpPage();
void drawDebugOverlay();

// The fitness graph over the scene (key g).
void drawFitnessGraph();

// Capture.
void captureFrame();
// The frame the player sees, as a new bitmap file (an existing file is never replaced); false
// (and a message) when it cannot be written.
bool writeBitmap(const char* szFileName, int width, int height);

// The frame as the player sees it, drawn into the back buffer without swapping.
void drawFrame();
