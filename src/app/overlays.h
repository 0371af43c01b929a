#pragma once

#include <string>
#include <vector>

#include "view/chud.h"
#include "view/cmessageline.h"
#include "world/utils.h"

class CAlien;
class CGameController;
class CLearningGraph;

// What the overlays draw over the scene in one frame, described by the shell in one place
// each frame (shell.cpp's describeOverlays) from its state: the drawing reads nothing else.
struct SFrameOverlays
{
    const CGameController* pWorld = nullptr; // the game's world, drawn as it stands
    bool bStats = false; // the statistics lines and the probes' values (key d)
    bool bGraph = false; // the learning graph (key g)
    bool bHud = true;    // the heads-up line (key h)
    bool bHelp = false;  // the help page (F1)
    CAlien* pInspected = nullptr; // the ship looked into, or null
    CHud::SState hud{};
    const std::vector<std::string>* pHelpLines = nullptr;
    const CLearningGraph* pGraph = nullptr;
    std::vector<CMessageLine::SShown> vMessages; // newest last
    double dGunFlash = 0.0; // 1 when a hit on the gun was just seen, fading to 0
    // The statistics lines' figures: the red dead of the last sampling period, the pool's best
    // and worst.
    int iDeadInPeriod = 0;
    double dBestFitness = 0.0;
    double dWorstFitness = 0.0;
};

// The statistics overlay, drawn by the scene among its sprites.
void drawDebugOverlay(const SFrameOverlays& overlays);
// The inspected ship's marks, over the scene's sprites.
void drawSelectionMarks(const SFrameOverlays& overlays);
// The gun lit up for a moment after each hit it takes.
void drawGunFlash(const SFrameOverlays& overlays);
// The graph, the inspector's panel, the heads-up line, the help page and the messages, over
// everything else.
void drawPlayerView(const SFrameOverlays& overlays);
// All a blanked screen shows: that it is blanked, and the key that draws the world again.
void drawBlankedLine();
// The learning graph in its region of the picture, in pixels of a CPixelSpace.
void drawLearningGraph(const CLearningGraph& graph, const SRect& region);
