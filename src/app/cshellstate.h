#pragma once

#include <string>
#include <vector>

#include "app/cbestscores.h"
#include "app/cchallenge.h"
#include "app/cfingerdrive.h"
#include "app/cgameperiod.h"
#include "app/cgamestatistics.h"
#include "app/cquitconfirm.h"
#include "app/csound.h"
#include "app/ctouchgesture.h"
#include "app/cwatchmode.h"
#include "view/cinspector.h"
#include "view/clearninggraph.h"
#include "view/clearningrecorder.h"
#include "view/cmessageline.h"
#include "view/cplayerstake.h"
#include "view/cworldclock.h"
#include "world/ccontrolworld.h"

// The window shell's state beside the globals its first table names (the run flags, the
// statistics file, the help page, the one game controller): everything else the shell keeps,
// in three rooms, each with who may change it.
// - session: the game being played. The shell's world step (runSteps) moves the control world,
//   the clock, the player's stake, the challenge and, through the statistics
//   (sampleStatistics), the figures and the learning graph; a new world (startNewWorld,
//   initGame) starts them again; a command starts a challenge, its end keeps the best scores.
// - shown: what the window shows and the player hears. Only commands (runCommand) change it,
//   but for the messages, which the step posts too (an inspected ship's rebirth) and a
//   platform's answers (a save the browser's storage took), and the sound, which the steps
//   play and the platform starts.
// - driving: how the player drives the game. Only commands change the watch mode, the finger
//   and the touches; the platform sets where it runs once, before the game starts.
// It owns no window and draws nothing: each frame the shell describes from it what the
// overlays draw (SFrameOverlays).
class CGameController;

class CShellState
{
public:
    struct SSession
    {
        CControlWorld controlWorld; // random brains beside the game, for the learning graph
        CWorldClock worldClock;     // the world time the steps covered, and how fast it runs
        CGameStatistics statistics; // the statistics file's figures, by game time
        CPlayerStake playerStake;   // the gun's kills and hits, their rates and the hit flash
        CLearningGraph learningGraph; // the game's learning curves and the control world's (key g)
        int iLearningRun = 0;         // the game's run in it, and the control world's
        int iControlRun = 0;
        CGamePeriod learningPeriod{1.0}; // when the graph's period under way ends, in world time
        CLearningRecorder learning;        // the game's periods for the graph
        CLearningRecorder controlLearning; // and the control world's
        bool bEvolvedStart = false; // the world began from the evolved pools (key e)
        CChallenge challenge;       // a game with stakes (key n), or none in free play
        CBestScores bestScores;     // the challenges' best, as kept in CBestScores::FileName
        std::vector<std::string> vGameOver; // what the end of the last challenge says
        double dStartRealMs = 0.0;  // when the game started, in realMs
        int iNextFrame = 0;         // the number the next written frame tries first

        // The learning graph of a new world: its curves and the control world's, from game
        // minute 0.
        void startLearning();
        // After a world step: the graph's point of the game and of the control world, when the
        // graph's period of game time has ended.
        void sampleLearning(const CGameController& game);
    };
    struct SShown
    {
        bool bGraph = false; // the learning graph (key g)
        bool bHud = true;    // the heads-up line (key h)
        CInspector inspector; // the ship the player looks into
        CMessageLine messages; // what the keys did, shown in the window
        CSound sound;          // the effects, muted or not (key m)
    };
    struct SDriving
    {
        CWatchMode watchMode;     // key w
        CFingerDrive fingerDrive; // a finger held on the picture, driving the gun
        CTouchGesture touches;    // which finger drives, and which only taps
        bool bTouchScreen = false; // a touch screen, perhaps without a keyboard: no "F1: keys"
        bool bInBrowser = false;  // a web page: Escape never ends the game and q asks twice
        CQuitConfirm quitConfirm; // a web page's first q, waiting for the second
    };

    SSession session;
    SShown shown;
    SDriving driving;
};
