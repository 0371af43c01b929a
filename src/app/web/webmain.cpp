// The game in a web page: Emscripten's GLUT gives the canvas, the keys and the clicks; the
// browser's frame callback runs the steps that are due, as many as the mode asks; the files
// the game keeps live in the browser's IndexedDB (CWebFiles). The page (index.html) hears of
// the game through Module.korvaneEvent: "started", "failed" (with params.ini's messages on
// the page) and "ended".
#include <GL/glut.h>
#include <emscripten.h>
#include <algorithm>
#include <iostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ccommands.h"
#include "app/cparams.h"
#include "app/csteppacer.h"
#include "app/shell.h"
#include "app/statistics.h"
#include "app/web/cwebfiles.h"
#include "files/outofmemory.h"
#include "files/safefile.h"

namespace
{
// At normal speed a step each step length of real time, a few at most when a frame comes late.
constexpr int kMostNormalStepsPerFrame = 4;
// A link has no length limit on a server without one: thousands of refused values, each a
// line of the page, kept a tab busy for minutes. The first ones say what is wrong.
constexpr int kMostLinkProblemsSaid = 20;
CStepPacer g_normalPace(1000.0 / 30, kMostNormalStepsPerFrame);
bool g_bRunning = false;

void tellPage(const char* event)
{
    EM_ASM({ Module.korvaneEvent(UTF8ToString($0)); }, event);
}

// Applies a link's "Member=Value" settings, joined by commas; false, with the problems on the
// standard error stream, when one cannot be set or the values break a rule.
bool applySettings(const std::string& settings)
{
    int refused = 0;
    std::set<std::string> named; // a member given twice would play only one of its values
    for (size_t start = 0; start < settings.size();)
    {
        const size_t comma = std::min(settings.find(',', start), settings.size());
        const std::string setting = settings.substr(start, comma - start);
        const std::string name = setting.substr(0, setting.find('='));
        std::string error;
        if (!named.insert(name).second)
            error = "'" + printableExcerpt(name) + "' is given more than once: give it once";
        if ((!error.empty() || !CParams::setFromText(setting, error)) && ++refused <= kMostLinkProblemsSaid)
            std::cerr << "The link's settings: " << error << std::endl;
        start = comma + 1;
    }
    if (refused > kMostLinkProblemsSaid)
        std::cerr << "The link's settings: " << refused - kMostLinkProblemsSaid << " more values refused" << std::endl;
    return refused == 0 && CParams::reportProblems("The link's settings");
}

// What the page shows of this run and puts in its link: the seed, the values that differ from
// the shipped params.ini, whether the player's own params.ini is in use, and the picture's
// proportions for fitting the canvas.
// (One statement a call: a comma in EM_ASM's code would part the macro's arguments.)
void tellRun(const std::string& changed, bool ownParams)
{
    EM_ASM({ Module.korvaneRun = new Object(); });
    EM_ASM({ Module.korvaneRun.seed = $0; }, static_cast<double>(g_gameController.getSeed()));
    EM_ASM({ Module.korvaneRun.changed = UTF8ToString($0); }, changed.c_str());
    EM_ASM({ Module.korvaneRun.ownParams = $0 != 0; }, ownParams ? 1 : 0);
    EM_ASM({ Module.korvaneRun.aspect = $0; }, static_cast<double>(CParams::Window_Width) / CParams::Window_Height);
}

void frame()
{
    const double now = realMs();
    runSteps(g_bFastMode ? fastPacer().stepsDue(now) : (g_bPaused ? 0 : g_normalPace.stepsDue(now)));
}

// The player has pressed, clicked or touched: the browser lets the page's sound start.
bool g_bSoundAllowed = false;

// What korvaneStart found, for the page once the game runs.
std::string g_sChanged;
bool g_bOwnParams = false;

void startLoop()
{
    g_normalPace = CStepPacer(stepLength(), kMostNormalStepsPerFrame);
    g_normalPace.start(realMs());
    g_bRunning = true;
    if (g_bSoundAllowed)
        g_shell.shown.sound.start();
    emscripten_set_main_loop(frame, 0, 0);
    tellPage("started");
}
// The start-up a step a task, so that the page answers between them.
void finishStart(void*)
{
    if (!initGameStep())
    {
        emscripten_async_call(finishStart, nullptr, 0);
        return;
    }
    tellRun(g_sChanged, g_bOwnParams);
    startLoop();
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

std::string keptFileProblem(const std::string& fileName)
{
    return CWebFiles::problem(fileName);
}

// The page shows the end of a challenge as text of its own, which screen readers read.
void challengeEnded(const std::vector<std::string>& report)
{
    std::string text;
    for (const std::string& line : report)
        text += line + "\n";
    EM_ASM({ Module.korvaneGameOver(UTF8ToString($0)); }, text.c_str());
}

// Called by the page once the kept files are back; seeded: the world's sequence from seed.
// A link's settings (link: 1) replay its run: the shipped params.ini with them, whatever
// params.ini the player keeps.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneStart(unsigned seed, int seeded, int link, const char* settings)
{
    installOutOfMemoryHandler("korvane-aliens");
    umask(022); // Emscripten starts with 0777: saved files could not be read back
    chdir("/game");
    g_shell.driving.bInBrowser = true;
    g_shell.driving.bTouchScreen = EM_ASM_INT({ return Module.korvaneTouchScreen ? 1 : 0; }) != 0;
    // Two worlds (the game's and the control world) in what a page may take.
    CParams::setWorldsAndMemory(2, CParams::MaxPageMemoryBytes);
    CParams::setShortestSaveInterval(CParams::PageShortestSaveInterval);
    CParams().loadParameters("params.ini");
    const std::vector<CParams::SMember> shipped = CParams::members();
    const bool ownParams = CWebFiles::restore(!link);
    if (const std::string problem = CWebFiles::problem("params.ini"); !problem.empty())
        EM_ASM({ Module.korvaneDropped = UTF8ToString($0); }, problem.c_str());
    if (!CParams::loadAndReport("params.ini") || (link && !applySettings(settings)))
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
    g_sChanged = CParams::settingsAgainst(shipped);
    g_bOwnParams = ownParams;
    tellPage("building");
    // The pictures and the worlds in a task of their own: the page stays responsive between.
    emscripten_async_call(finishStart, nullptr, 0);
}

// "Play again" once the game has ended: a new world and a new statistics file, the kept files
// (the saved pool among them) as they are.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneRestart()
{
    if (g_bRunning)
        return;
    registerCallbacks();
    openStatistics(g_statsFile, g_shell.session);
    startNewWorld(false);
    startLoop();
}

// The browser's storage has taken a kept file, or refused it: the pool's save is said only now.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneStored(const char* name, int ok, const char* error)
{
    CWebFiles::stored(name, ok != 0, error);
    if (std::string(name) == kGreenPoolFile && g_bRunning)
        postMessage(ok ? std::string("Green pool saved in this browser")
                       : "Cannot keep the green pool in this browser: " + std::string(error));
    if (std::string(name) == CBestScores::FileName && g_bRunning && !ok)
        postMessage("Cannot keep the best scores in this browser: " + std::string(error));
}

// What the game would say of a params.ini the player chose, before the page keeps it: empty
// when it can run on it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* korvaneCheckParams(const char* path)
{
    static std::string said;
    said.clear();
    for (const std::string& problem : CParams::checkFile(path))
        said += problem + "\n";
    return said.c_str();
}

// A command of the table by its name, as the page's buttons give it.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneCommand(const char* name)
{
    if (g_bRunning)
        runCommand({CCommands::forName(name)});
}

// Which of the modes the page's buttons switch are on, as JSON: {"fire": true, ...}.
// Called on each key, click or touch: only after one may a page sound.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneSoundAllowed()
{
    g_bSoundAllowed = true;
    if (g_bRunning)
        g_shell.shown.sound.start();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* korvaneToggles()
{
    static std::string toggles;
    toggles = toggleStates();
    return toggles.c_str();
}

// The buttons the page makes, from the commands' table.
extern "C" EMSCRIPTEN_KEEPALIVE const char* korvaneButtons()
{
    static const std::string buttons = CCommands::buttonsJson();
    return buttons.c_str();
}

// A finger on the canvas, by its identifier, in the canvas's pixels, with a finger's reach in
// them.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneTouch(int finger, int x, int y, int phase, double reach)
{
    if (g_bRunning)
        touchAt(finger, x, y, phase, reach);
}

// The page gave the canvas a new size, of this many device pixels to a CSS pixel.
extern "C" EMSCRIPTEN_KEEPALIVE void korvaneResized(double pixelRatio)
{
    if (g_bRunning)
        windowResized(pixelRatio);
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
    CWebFiles::flush();
}

int main()
{
    // The game starts once the player has chosen on the page's first screen (korvaneGo): its
    // window, pictures and worlds are the start-up's long work, which a page that opens at once
    // does only when asked. The kept files come back from the browser's storage first.
    EM_ASM({
        FS.mkdir('/keep');
        FS.mount(IDBFS, {}, '/keep');
        Module.korvaneGo = function() {
            Module.korvaneGo = function() {};
            FS.syncfs(true, function(error) {
                if (error)
                    console.error('Cannot read the files kept in the browser: ' + error);
                Module.korvaneBeforeStart();
                const seed = Module.korvaneSeed;
                const settings = Module.korvaneSettings;
                Module.ccall('korvaneStart', null, [ 'number', 'number', 'number', 'string' ],
                             [ seed || 0, seed === undefined ? 0 : 1, settings === undefined ? 0 : 1,
                               settings === undefined ? "" : settings ]);
            });
        };
        Module.korvaneReady();
    });
    return 0;
}
