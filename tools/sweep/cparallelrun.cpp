#include "sweep/cparallelrun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

#include "sweep/cjoblist.h"
#include "sweep/csweepfolder.h"
#include "files/cstoprequest.h"

namespace
{
constexpr const char* kProgram = "parallel";

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void becomeParallel(const std::string& folder, char* const* argv, pid_t parent)
{
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The parent may have died before the line above took effect.
    if (getppid() != parent)
        _exit(127);
    const int nothing = open("/dev/null", O_RDONLY);
    if (chdir(folder.c_str()) != 0 || nothing < 0 || dup2(nothing, STDIN_FILENO) < 0)
        _exit(127);
    execvp(kProgram, argv);
    _exit(127);
}

void napBriefly()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

int waitFor(pid_t child, const CStopRequest& stop)
{
    bool passedOn = false;
    for (;;)
    {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
        {
            if (stop.signalNumber() != 0)
                return stop.exitStatus();
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (stop.signalNumber() != 0 && !passedOn)
        {
            kill(child, SIGTERM);
            passedOn = true;
        }
        napBriefly();
    }
}

// Parallel may exit while the runs it has just killed are still dying; as their subreaper
// this process inherits them and reaps them, so that no run outlives the sweep.
void reapOrphans()
{
    for (;;)
    {
        int status = 0;
        const pid_t ended = waitpid(-1, &status, WNOHANG);
        if (ended < 0 && errno != EINTR)
            return; // none left
        if (ended == 0)
            napBriefly();
    }
}
} // namespace

bool CParallelRun::isInstalled()
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && access((folder + "/" + kProgram).c_str(), X_OK) == 0)
            return true;
    return false;
}

std::vector<std::string> CParallelRun::arguments(const SOptions& options, bool showProgress)
{
    std::vector<std::string> args{"--will-cite", "--colsep", "\\t", "--joblog", CSweepFolder::JobLogName,
                                  "--resume-failed", "--arg-file", CSweepFolder::JobListName};
    if (options.iJobs > 0)
        args.insert(args.end(), {"--jobs", std::to_string(options.iJobs)});
    if (showProgress)
        args.push_back("--bar");
    if (!options.sSshLoginFile.empty())
    {
        args.insert(args.end(), {"--sshloginfile", options.sSshLoginFile, "--basefile", CSweepFolder::SimName,
                                 "--basefile", CSweepFolder::ParamsName, "--basefile", CJobList::JobScriptName,
                                 "--return", CJobList::summaryFile("{1}"), "--return", CJobList::logFile("{1}"),
                                 "--cleanup"});
        if (!options.sSsh.empty())
            args.insert(args.end(), {"--ssh", options.sSsh});
    }
    // No replacement string in the command: parallel appends the line's words to it, each
    // quoted as one argument.
    args.insert(args.end(), {"sh", CJobList::JobScriptName});
    return args;
}

int CParallelRun::run(const CSweepFolder& folder, const SOptions& options, const CStopRequest& stop,
                      std::string& error)
{
    std::vector<std::string> args = arguments(options, isatty(STDERR_FILENO) == 1);
    args.insert(args.begin(), kProgram);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0)
    {
        error = std::string("cannot start GNU parallel: ") + std::strerror(errno);
        return -1;
    }
    if (child == 0)
        becomeParallel(folder.path(), argv.data(), parent);
    const int status = waitFor(child, stop);
    reapOrphans();
    return status;
}
