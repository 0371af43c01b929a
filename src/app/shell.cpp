#include <GL/glut.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <iostream>

#include "aliens/calien.h"
#include "view/cgameoverreport.h"
#include "view/cletterbox.h"
#include "app/ccommands.h"
#include "app/csoundcues.h"
#include "app/csoundeffects.h"
#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/overlays.h"
#include "app/shell.h"
#include "app/statistics.h"
#include "brain/animationtables.h"
#include "render/cglstate.h"
#include "render/cscissortoviewport.h"
#include "render/ctexture.h"
#include "render/scene.h"
#include "world/cgun.h"

std::string g_sWindowTitle = "Korvane Aliens";
CGameController g_gameController;
bool g_bPaused = false;
bool g_bFastMode = false;
bool g_bGunAutoMode = false;
bool g_bBlankScreen = false;
bool g_bShowStats = false;
bool g_bShowHelp = false;
int g_iCaptureCounter = 0;
CStatsFile g_statsFile(std::cerr);
std::vector<std::string> g_vHelpLines;
bool g_bHelpLoaded = false;
CShellState g_shell;

namespace
{
constexpr double kPickTolerance = 6.0; // window pixels around a ship's box that still pick it
constexpr double kBlankRedrawMs = 1000.0; // a blanked screen's one line never changes: seldom is enough
constexpr double kKeysHintMs = 20000.0; // how long a newcomer is shown the key to the help page
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
    g_bPaused = g_bFastMode = g_bBlankScreen = g_bShowStats = g_bShowHelp = g_shell.shown.bGraph = false;
    g_shell.shown.bHud = true;
    // From the gun's own mode, so that every press of a toggles it.
    g_bGunAutoMode = g_gameController.getGun()->isAutoMode();
    g_iCaptureCounter = g_shell.session.iNextFrame = 0;
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
    runCommand({CCommands::forKey(key)});
}

// A left click inspects the ship under it, or clears the inspection on empty space; a right
// click clears it.
void mouse(int button, int state, int x, int y)
{
    if (state != GLUT_DOWN)
        return;
    if (button == GLUT_LEFT_BUTTON)
        runCommand({COMMAND_INSPECT, x, y, kPickTolerance});
    else if (button == GLUT_RIGHT_BUTTON)
        runCommand({COMMAND_UNINSPECT});
}

void specialKeys(int key, int, int)
{
    static_assert(SPECIAL_KEY_F1 == GLUT_KEY_F1 && SPECIAL_KEY_LEFT == GLUT_KEY_LEFT &&
                      SPECIAL_KEY_RIGHT == GLUT_KEY_RIGHT,
                  "the commands' special keys are GLUT's codes");
    runCommand({CCommands::forSpecialKey(key)});
}

// The end of a challenge: the world stands while the result shows, the best scores are kept,
// and the platform says it its own way too.
void endChallenge()
{
    CShellState::SSession& session = g_shell.session;
    const CChallenge& challenge = session.challenge;
    // The world stands while the result shows, at normal speed, where a pause takes effect.
    g_bPaused = true;
    g_bFastMode = false;
    const std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&now));
    const CBestScores::SEntry game{challenge.score(), challenge.survivedMs() / 1000.0,
                                   session.worldClock.worldMs() / 60000.0, date};
    const int place = session.bestScores.add(game);
    std::string error;
    if (place >= 0 && !session.bestScores.save(CBestScores::FileName, error))
        std::cerr << "Cannot save the best scores in " << CBestScores::FileName << ": " << error << std::endl;
    else if (place >= 0)
        fileWritten(CBestScores::FileName);
    session.vGameOver = CGameOverReport::lines(game, place, session.bestScores, "n");
    std::cerr << "Game over: score " << game.llScore << ", survived " << CHud::clock(challenge.survivedMs())
              << std::endl;
    postMessage("Game over: score " + std::to_string(game.llScore) + " (n: play again)");
    g_shell.shown.sound.play(SOUND_GAME_OVER);
    challengeEnded(session.vGameOver);
}

// One world step, and what the player is told of it.
void stepWorld(double dt)
{
    CShellState::SSession& session = g_shell.session;
    const CGun& gun = *g_gameController.getGun();
    const int push = g_shell.driving.fingerDrive.push(gun.getPosition().x);
    if (!gun.isAutoMode() && push != ACTION_UNDEFINED && push != ACTION_NONE)
        g_gameController.setKeyEvent(push);
    g_gameController.update(dt);
    session.controlWorld.step(*g_gameController.getGun(), dt);
    session.worldClock.addStep(dt, realMs());
    const CWorldTally& tally = g_gameController.getTally();
    session.playerStake.observe(tally.gunKills(), tally.hitsOnGun(), session.worldClock.worldMs(), realMs());
    sampleStatistics(dt, g_statsFile, session, g_gameController);
    if (session.challenge.observe(tally, session.worldClock.worldMs()))
        endChallenge();
    CInspector& inspector = g_shell.shown.inspector;
    if (inspector.wasReborn())
    {
        const std::string message = CInspector::rebirthMessage(*inspector.selected());
        std::cerr << message << std::endl;
        postMessage(message);
    }
}

CHud::SState hudState()
{
    const CGun& gun = *g_gameController.getGun();
    const CShellState::SSession& session = g_shell.session;
    const double now = realMs();
    return {session.worldClock.worldMs(),
            g_bFastMode,
            g_shell.session.worldClock.multiple(now),
            g_bPaused,
            gun.isFiring(),
            gun.isAutoMode(),
            g_gameController.getTally().gunKills(),
            g_gameController.getTally().hitsOnGun(),
            session.playerStake.killsPerMinute(),
            session.playerStake.hitsPerMinute(),
            !g_bHelpLoaded && !g_shell.driving.bTouchScreen && now - session.dStartRealMs < kKeysHintMs,
            g_shell.driving.watchMode.isOn(),
            session.bEvolvedStart,
            session.challenge.isOn(),
            session.challenge.isOver(),
            session.challenge.score(),
            session.challenge.livesLeft(),
            session.challenge.shieldLeft(),
            CChallenge::HitsPerLife};
}

// The one place a frame's overlays are described, from the flags and the owner's state.
SFrameOverlays describeOverlays()
{
    const CShellState::SSession& session = g_shell.session;
    SFrameOverlays overlays;
    overlays.pWorld = &g_gameController;
    overlays.bStats = g_bShowStats;
    overlays.bGraph = g_shell.shown.bGraph;
    overlays.bHud = g_shell.shown.bHud;
    overlays.bHelp = g_bShowHelp;
    overlays.pInspected = g_shell.shown.inspector.selected();
    overlays.hud = hudState();
    overlays.pHelpLines = &g_vHelpLines;
    // The end of a challenge shows where the help page would, over it.
    if (session.challenge.isOver())
    {
        overlays.bHelp = true;
        overlays.pHelpLines = &session.vGameOver;
    }
    overlays.pGraph = &session.learningGraph;
    overlays.vMessages = g_shell.shown.messages.shown(realMs());
    overlays.dGunFlash = session.playerStake.flash(realMs());
    overlays.iDeadInPeriod = session.statistics.deadInPeriod();
    overlays.dBestFitness = session.statistics.bestFitness();
    overlays.dWorstFitness = session.statistics.worstFitness();
    return overlays;
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
    while (!initGameStep())
    {
    }
}

// The start-up in steps of about the same cost: the GL state, each picture, the game's world,
// the control world, then the files.
bool initGameStep()
{
    static int s_iStep = 0;
    static bool s_bTexturesGood = true;
    const int step = s_iStep++;
    const int pictures = textureFileCount();
    if (step == 0)
    {
        setProjection();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glShadeModel(GL_SMOOTH);
        return false;
    }
    if (step <= pictures)
    {
        s_bTexturesGood = loadTextureFile(step - 1) && s_bTexturesGood;
        return false;
    }
    if (step == pictures + 1)
    {
        endTextureLoading(s_bTexturesGood);
        buildAnimationTables();
        g_gameController.init();
        return false;
    }
    if (step == pictures + 2)
    {
        g_shell.session.controlWorld.init(g_gameController.getSeed());
        return false;
    }
    openStatistics(g_statsFile, g_shell.session);
    resetRunState();
    g_shell.session.dStartRealMs = realMs();
    if (const std::string problem = g_shell.session.bestScores.load(CBestScores::FileName); !problem.empty())
        std::cerr << "Cannot read all of " << CBestScores::FileName << ": " << problem << std::endl;
    g_shell.shown.sound.loadSettings();
    return true;
}

void runSteps(int steps)
{
    const CWorldTally before = g_gameController.getTally();
    for (int i = 0; i < steps; ++i)
        stepWorld(stepLength());
    // Fast mode's steps come too many a second to be heard one by one; they run silent.
    if (!g_bFastMode)
        for (const int cue : CSoundCues::between(before, g_gameController.getTally()))
            g_shell.shown.sound.play(cue);
    // While paused, only fading messages change the picture.
    const double now = realMs();
    if ((steps > 0 || !g_shell.shown.messages.isEmpty(now)) && g_pacer.redrawDue(now, shortestRedrawGap()))
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
    closeStatistics(g_statsFile, g_shell.session);
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
    g_shell.shown.messages.post(text, realMs());
}

void drawFrame()
{
    if (g_bBlankScreen)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawBlankedLine();
        return;
    }
    const SFrameOverlays overlays = describeOverlays();
    std::function<void()> statsOverlay;
    if (overlays.bStats)
        statsOverlay = [&overlays] { drawDebugOverlay(overlays); };
    drawScene(g_gameController, nullptr, statsOverlay);
    drawSelectionMarks(overlays);
    drawGunFlash(overlays);
    drawPlayerView(overlays);
}
