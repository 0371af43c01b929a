// The game in a web page: Emscripten's GLUT gives the canvas, the keys and the clicks; the
// browser's frame callback runs the steps that are due, as many as the mode asks; the files
// the game keeps live in the browser's IndexedDB (CWebFiles). The page (index.html) hears of
// the game through Module.korvaneEvent: "started", "failed" (with params.ini's messages on
// the page) and "ended".
#include <GL/glut.h>
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/shell.h"
#include "app/web/cwebfiles.h"
#include "files/outofmemory.h"

namespace
{
// At normal speed a step each step length of real time, a few at most when a frame comes late.
constexpr int kMostNormalStepsPerFrame = 4;
CStepPacer g_normalPace(1000.0 / 30, kMostNormalStepsPerFrame);
bool g_bRunning = false;

void tellPage(const char* event)
{
    EM_ASM({ Module.korvaneEvent(UTF8ToString($0)); }, event);
}

void frame()
{
    const double now = realMs();
    runSteps(g_bFastMode ? fastPacer().stepsDue(now) : (g_bPaused ? 0 : g_normalPace.stepsDue(now)));
}
} // namespace

void endGame()
{
    g_bRunning = false;
    emscripten_cancel_main_loop();
    glutKeyboardFunc(nullptr);
    glutSpecialFunc(nullptr);
    glutMouseFunc(nullptr);
    tellPage("ended");
}

void fileWritten(const std::string& fileName)
{
    CWebFiles::written(fileName);
}

// Called by the page once the kept files are back; seeded: the world's sequence from seed.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneStart(unsigned seed, int seeded)
{
    installOutOfMemoryHandler("korvane-aliens");
    umask(022); // Emscripten starts with 0777: saved files could not be read back
    chdir("/game");
    CWebFiles::restore();
    if (!CParams::loadAndReport("params.ini"))
    {
        tellPage("failed");
        return;
    }
    int argc = 1;
    char name[] = "korvane-aliens";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(CParams::Window_Width, CParams::Window_Height);
    glutCreateWindow(g_sWindowTitle.c_str());
    registerCallbacks();
    if (seeded)
        g_gameController.setSeed(seed);
    initGame();
    g_normalPace = CStepPacer(stepLength(), kMostNormalStepsPerFrame);
    g_normalPace.start(realMs());
    g_bRunning = true;
    emscripten_set_main_loop(frame, 0, 0);
    tellPage("started");
}

// A key Emscripten's GLUT does not pass on (the grave accent that blanks the screen).
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneKey(int key)
{
    if (g_bRunning)
        keyPressed(static_cast<unsigned char>(key));
}

// For the page's benchmark: the pictures shown so far.
extern "C" EMSCRIPTEN_KEEPALIVE double korvaneFramesShown()
{
    return static_cast<double>(framesShown());
}

// The tab is closing: the statistics' closing lines, as q writes them.
extern "C" EMSCRIPTEN_KEEPALIVE void korvanePageClosing()
{
    if (g_bRunning)
        quit();
}

int main()
{
    // The kept files come back from the browser's storage first: the game starts when they have.
    EM_ASM({
        FS.mkdir('/keep');
        FS.mount(IDBFS, {}, '/keep');
        FS.syncfs(true, function(error) {
            if (error)
                console.error('Cannot read the files kept in the browser: ' + error);
            Module.korvaneBeforeStart();
            const seed = Module.korvaneSeed;
            Module.ccall('korvaneStart', null, [ 'number', 'number' ], [ seed || 0, seed === undefined ? 0 : 1 ]);
        });
    });
    return 0;
}
