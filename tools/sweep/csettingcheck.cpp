#include "sweep/csettingcheck.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "app/cparams.h"
#include "sweep/csweepfile.h"
#include "files/safefile.h"

extern char** environ;

namespace
{
// Of korvane-sim's complaint, what a message can quote.
constexpr size_t kMaxComplaint = 4000;

// The text up to the end of the stream, at most kMaxComplaint bytes of it kept.
std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) != 0)
    {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        if (text.size() < kMaxComplaint)
            text.append(buffer, static_cast<size_t>(got));
    }
    return text.substr(0, kMaxComplaint);
}

// The assignments applied to the parameters as korvane-sim's --set applies them, and the
// rules' complaints, a line each, as korvane-sim words them.
bool breaksRules(const std::vector<std::string>& assignments, std::string& complaint)
{
    std::vector<std::string> problems;
    for (const std::string& assignment : assignments)
    {
        const size_t equals = assignment.find('=');
        std::string why;
        if (!CParams::setByName(assignment.substr(0, equals), assignment.substr(equals + 1), why))
            problems.push_back("--set: " + why);
    }
    if (problems.empty())
        problems = CParams::validate("--set");
    complaint.clear();
    for (const std::string& problem : problems)
        complaint += (complaint.empty() ? "" : "\n") + problem;
    return !problems.empty();
}

std::string withoutTrailingNewlines(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}
} // namespace

CSettingCheck::CSettingCheck(const std::string& simFile, const std::string& paramsFile)
    : m_sSim(simFile), m_sParams(paramsFile)
{
}

bool CSettingCheck::check(const CSweepFile& sweep, const std::string& sweepFileName, std::string& error) const
{
    std::string complaint;
    if (isRefused({}, complaint))
    {
        error = "korvane-sim cannot run on the parameter file " + m_sParams + ":\n" + complaint;
        return false;
    }
    for (const CSweepFile::SMember& member : sweep.members())
        for (const std::string& value : member.vValues)
            if (isRefused({member.sName + "=" + value}, complaint))
            {
                error = sweepFileName + ": line " + std::to_string(member.iLine) + ": korvane-sim refuses " +
                        member.sName + " " + value + ":\n" + complaint;
                return false;
            }
    if (sweep.members().size() < 2)
        return true;
    std::string params;
    if (!readRegularFile(m_sParams, CParams::MaxFileBytes, params, error))
    {
        error = m_sParams + ": " + error;
        return false;
    }
    return checkSettings(sweep, params, sweepFileName, error);
}

bool CSettingCheck::checkSettings(const CSweepFile& sweep, const std::string& paramsText,
                                  const std::string& sweepFileName, std::string& error)
{
    // Read once: every setting sets every swept member, so that each applies to the file's
    // values whatever the setting before it set.
    std::istringstream in(paramsText);
    CParams::readParameters(in);
    std::string complaint;
    bool passed = true;
    for (const CSweepFile::Setting& setting : sweep.settings())
    {
        const std::vector<std::string> assignments = sweep.assignments(setting);
        passed = !breaksRules(assignments, complaint);
        if (!passed)
        {
            std::string names;
            for (const std::string& assignment : assignments)
                names += (names.empty() ? "" : ", ") + assignment;
            error = sweepFileName + ": korvane-sim refuses the setting " + names + ":\n" + complaint;
            break;
        }
    }
    CParams::resetToInitialValues();
    return passed;
}

bool CSettingCheck::isRefused(const std::vector<std::string>& assignments, std::string& complaint) const
{
    std::vector<std::string> args{m_sSim, "--params", m_sParams, "--steps", "1", "--seed", "1"};
    for (const std::string& assignment : assignments)
        args.insert(args.end(), {"--set", assignment});
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
    {
        complaint = std::string("cannot start korvane-sim: ") + std::strerror(errno);
        return true;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, m_sSim.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    const std::string messages = spawnError == 0 ? readAll(pipeFds[0]) : std::string();
    close(pipeFds[0]);
    if (spawnError != 0)
    {
        complaint = "cannot start " + m_sSim + ": " + std::strerror(spawnError);
        return true;
    }
    int status = 0;
    pid_t ended;
    do
        ended = waitpid(child, &status, 0);
    while (ended < 0 && errno == EINTR);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return false;
    complaint = withoutTrailingNewlines(messages);
    if (complaint.empty())
        complaint = WIFEXITED(status) ? "it ended with status " + std::to_string(WEXITSTATUS(status))
                                      : "it was ended by signal " + std::to_string(WTERMSIG(status));
    return true;
}
