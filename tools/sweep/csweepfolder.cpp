#include "sweep/csweepfolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "sweep/cjoblist.h"
#include "common/wordparse.h"
#include "files/safefile.h"

const char* CSweepFolder::JobListName = "jobs.tsv";
const char* CSweepFolder::JobLogName = "joblog";
const char* CSweepFolder::SimName = "korvane-sim";
const char* CSweepFolder::ParamsName = "params.ini";
const char* CSweepFolder::ResultsName = "results.tsv";
const char* CSweepFolder::ReportName = "report.md";
const char* CSweepFolder::ChartName = "report.svg";

namespace
{
constexpr const char* kLockName = ".lock";
// Room for korvane-sim built with the sanitizers, and for any job log of MaxRuns lines.
constexpr size_t kMaxCopyBytes = size_t(1) << 30;

bool isEmptyBesidesLock(const std::string& path)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
        if (entry.path().filename() != kLockName)
            return false;
    return !error;
}
} // namespace

std::vector<std::string> CSweepFolder::ownedFiles()
{
    return {JobListName, JobLogName, SimName,   ParamsName, CJobList::JobScriptName,
            kLockName,   ResultsName, ReportName, ChartName};
}

CSweepFolder::CSweepFolder(const std::string& path) : m_sPath(path)
{
}

CSweepFolder::~CSweepFolder()
{
    if (m_iLockFd >= 0)
        close(m_iLockFd);
}

bool CSweepFolder::prepare(const std::string& jobList, const std::string& paramsFile, const std::string& simFile,
                           std::string& note, std::string& error)
{
    note.clear();
    if (mkdir(m_sPath.c_str(), 0777) != 0 && errno != EEXIST)
    {
        error = "cannot make the results folder " + m_sPath + ": " + std::strerror(errno);
        return false;
    }
    struct stat info;
    if (stat(m_sPath.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    {
        error = "the results folder " + m_sPath + " is not a folder";
        return false;
    }
    bool existed = false;
    // Checked before locking too, so that a folder that is refused is left without a lock file.
    if (!checkJobList(jobList, existed, error) || !lock(error) || !checkJobList(jobList, existed, error))
        return false;
    if (!existed && !writeFileAtomically(file(JobListName), jobList, error))
        return false;
    if (!copyIn(paramsFile, ParamsName, false, note, error) || !copyIn(simFile, SimName, true, note, error) ||
        !writeFileAtomically(file(CJobList::JobScriptName), CJobList::jobScript(), error))
        return false;
    if (mkdir(file(CJobList::RunsFolder).c_str(), 0777) != 0 && errno != EEXIST)
    {
        error = "cannot make " + file(CJobList::RunsFolder) + ": " + std::strerror(errno);
        return false;
    }
    m_bResumed = existed;
    return true;
}

bool CSweepFolder::open(const std::string& jobList, std::string& error)
{
    struct stat info;
    if (lstat(file(JobListName).c_str(), &info) != 0)
    {
        error = m_sPath + " holds no runs of a sweep: it has no " + JobListName;
        return false;
    }
    bool existed = false;
    return lock(error) && checkJobList(jobList, existed, error);
}

bool CSweepFolder::lock(std::string& error)
{
    // Not closed on exec: GNU parallel and the runs hold the lock as long as any of them lives.
    m_iLockFd = ::open(file(kLockName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW, 0666);
    if (m_iLockFd < 0)
    {
        error = "cannot lock the results folder: " + file(kLockName) + ": " + std::strerror(errno);
        return false;
    }
    if (flock(m_iLockFd, LOCK_EX | LOCK_NB) != 0)
    {
        error = m_sPath + " is in use: another korvane-sweep, or runs that one started, still work in it";
        return false;
    }
    return true;
}

bool CSweepFolder::checkJobList(const std::string& jobList, bool& existed, std::string& error) const
{
    const std::string name = file(JobListName);
    struct stat info;
    existed = lstat(name.c_str(), &info) == 0;
    if (!existed)
    {
        if (isEmptyBesidesLock(m_sPath))
            return true;
        error = m_sPath + " is not empty and holds no sweep: give a new or an empty folder";
        return false;
    }
    std::string earlier;
    if (!readRegularFile(name, kMaxCopyBytes, earlier, error))
    {
        error = name + ": " + error;
        return false;
    }
    if (earlier != jobList)
    {
        error = m_sPath + " holds the runs of another sweep (its " + JobListName +
                " lists other runs): give another --out, or remove the folder to start over";
        return false;
    }
    return true;
}

bool CSweepFolder::copyIn(const std::string& source, const std::string& name, bool executable, std::string& note,
                          std::string& error) const
{
    std::string contents, earlier, ignored;
    if (!readRegularFile(source, kMaxCopyBytes, contents, error))
    {
        error = source + ": " + error;
        return false;
    }
    const std::string target = file(name);
    if (readRegularFile(target, kMaxCopyBytes, earlier, ignored))
    {
        if (earlier == contents)
            return true;
        if (executable)
        {
            note = target + ", copied when the sweep started, differs from " + source +
                   " now: the sweep goes on with the copy, so that all its runs come from one program.";
            return true;
        }
        error = "the runs in " + m_sPath + " were made with another parameter file: " + target + " differs from " +
                source + "; give another --out, or the file they were made with";
        return false;
    }
    if (!writeNewFileAtomically(target, contents, error))
        return false;
    if (executable && chmod(target.c_str(), 0755) != 0)
    {
        error = "cannot make " + target + " executable: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool CSweepFolder::readJobLog(std::string& log, bool& present, std::string& error) const
{
    const std::string name = file(JobLogName);
    struct stat info;
    present = lstat(name.c_str(), &info) == 0 || errno != ENOENT;
    if (present && !readRegularFile(name, kMaxCopyBytes, log, error))
    {
        error = name + ": " + error;
        return false;
    }
    return true;
}

bool CSweepFolder::checkJobLog(std::string& error) const
{
    std::string log;
    bool present = false;
    return readJobLog(log, present, error);
}

bool CSweepFolder::forgetUnfinished(const std::vector<bool>& done, std::string& error) const
{
    std::string log;
    bool present = false;
    if (!readJobLog(log, present, error))
        return false;
    if (log.empty())
        return true;
    std::istringstream lines(log);
    std::string line;
    std::getline(lines, line);
    std::string kept = line + "\n"; // the column names
    while (std::getline(lines, line))
    {
        // Seq, Host, Starttime, JobRuntime, Send, Receive, Exitval, Signal, Command
        const std::string seq = line.substr(0, line.find('\t'));
        int number = 0;
        if (parseWhole(seq, number) && number >= 1 && static_cast<size_t>(number) <= done.size() && done[number - 1])
            kept += line + "\n";
    }
    return kept == log || writeFileAtomically(file(JobLogName), kept, error);
}
