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
#include "files/safefile.h"

const char* CSweepFolder::JobListName = "jobs.tsv";
const char* CSweepFolder::JobLogName = "joblog";
const char* CSweepFolder::SimName = "korvane-sim";
const char* CSweepFolder::ParamsName = "params.ini";

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
    std::string simNote;
    if (!copyIn(paramsFile, ParamsName, false, note, error) || !copyIn(simFile, SimName, true, simNote, error) ||
        !writeFileAtomically(file(CJobList::JobScriptName), CJobList::jobScript(), error))
        return false;
    if (mkdir(file("runs").c_str(), 0777) != 0 && errno != EEXIST)
    {
        error = "cannot make " + file("runs") + ": " + std::strerror(errno);
        return false;
    }
    if (existed)
        note = "Going on with the sweep in " + m_sPath + ": " + std::to_string(finishedJobs().size()) +
               " of its runs are done." + (simNote.empty() ? "" : "\n" + simNote);
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

std::set<int> CSweepFolder::finishedJobs() const
{
    std::set<int> finished;
    std::string log, error;
    if (!readRegularFile(file(JobLogName), kMaxCopyBytes, log, error))
        return finished;
    std::istringstream lines(log);
    std::string line;
    std::getline(lines, line); // the column names
    while (std::getline(lines, line))
    {
        // Seq, Host, Starttime, JobRuntime, Send, Receive, Exitval, Signal, Command
        std::istringstream fields(line);
        std::string field[8];
        for (std::string& value : field)
            std::getline(fields, value, '\t');
        if (field[6] == "0" && field[7] == "0" && !field[0].empty() &&
            field[0].find_first_not_of("0123456789") == std::string::npos && field[0].size() < 9)
            finished.insert(std::stoi(field[0]));
    }
    return finished;
}
