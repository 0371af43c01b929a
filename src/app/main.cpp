// The desktop game: a GLUT window whose timers step the world, and the stop signals.
#include <GL/freeglut.h>

#include <csignal>
#include <cstdlib>

#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/shell.h"
#include "files/cstoprequest.h"
#include "files/outofmemory.h"

namespace
{
const CStopRequest* g_pStopRequest = nullptr; // main's: SIGINT, SIGTERM and SIGHUP end the game as q does

// At normal speed one step a period, none while paused, and no catching up; fast mode runs the
// world at the pacer's pace whatever the pause says.
void worldTimer(int)
{
    // The one place a stop signal is seen: this timer runs while paused too.
    if (g_pStopRequest->signalNumber() != 0)
        quit();
    runSteps(g_bFastMode ? fastPacer().stepsDue(realMs()) : (g_bPaused ? 0 : 1));
    glutTimerFunc(g_bFastMode ? CStepPacer::kFastStepMs : static_cast<unsigned>(stepLength()), worldTimer, 1);
}
} // namespace

void endGame()
{
    // GLUT destroys the window while the program exits and would end the game once more.
    glutCloseFunc(nullptr);
    std::exit(0);
}

void fileWritten(const std::string&)
{
    // On a desktop a file written is kept where it is.
}

std::string keptFileProblem(const std::string&)
{
    return "";
}

void challengeEnded(const std::vector<std::string>&)
{
    // The window shows it; the terminal has heard the score.
}

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-aliens");
    // The game's world and the control world beside it.
    CParams::setWorldsAndMemory(2, CParams::MaxMemoryBytes);
    if (!CParams::loadAndReport("params.ini"))
        return 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(CParams::Window_Width, CParams::Window_Height);
    glutCreateWindow(g_sWindowTitle.c_str());
    registerCallbacks();
    // A file-size limit then fails the write at hand, which is reported, instead of ending
    // the game on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
    // From here on a stop signal ends the game as q does, once the world timer runs.
    CStopRequest stopRequest{SIGINT, SIGTERM, SIGHUP};
    g_pStopRequest = &stopRequest;
    initGame();
    g_shell.shown.sound.start();
    // Closing the window writes the statistics' closing lines, as q does. Registered only
    // now: a start-up that fails must keep its own exit status.
    glutCloseFunc(quit);
    glutTimerFunc(static_cast<unsigned>(stepLength()), worldTimer, 1);
    glutMainLoop();
    return 0;
}
