#pragma once

#include <string>
#include <vector>

// The results folder of a sweep, and the guarantees that make a sweep resumable:
// - one sweep at a time: the folder is locked while the sweep runs, and the lock's
//   descriptor is inherited by GNU parallel and every run it starts, so that a second
//   korvane-sweep on the folder is refused until the last of them has ended, even when
//   the first korvane-sweep was killed;
// - one sweep a folder: a folder that holds a job list runs only that list again, with the
//   parameter file it was made with; a folder that is not empty and holds no job list is
//   refused, so that the results never land among files of another kind;
// - one program a sweep: korvane-sim is copied in when the sweep starts, and every later
//   run of the sweep uses the copy (a remote machine is sent the copy too);
// - a run runs again until it is done: GNU parallel's job log is made to forget every run
//   that is not, so that parallel, which records a run as done by its exit status alone,
//   starts it again.
// Everything is written atomically (see CAtomicFile).
class CSweepFolder
{
public:
    explicit CSweepFolder(const std::string& path);
    ~CSweepFolder();
    CSweepFolder(const CSweepFolder&) = delete;
    CSweepFolder& operator=(const CSweepFolder&) = delete;

    // Makes or opens the folder for the job list, locks it and puts the run's files in
    // place. False with a message naming the folder and the cause. A note (empty if none)
    // says that the copy of korvane-sim differs from the one given, for the user.
    bool prepare(const std::string& jobList, const std::string& paramsFile, const std::string& simFile,
                 std::string& note, std::string& error);
    // Whether GNU parallel's job log, if the folder has one, is a regular file that can be
    // read (parallel itself would read a device without end); false with the file and the
    // cause. For a check before any work: forgetUnfinished reads it again under the lock.
    bool checkJobLog(std::string& error) const;
    // Whether prepare found the job list of an earlier start.
    bool resumed() const { return m_bResumed; }
    // Takes every run that is not done (done[i] for line i + 1 of the job list) out of GNU
    // parallel's job log, in a prepared folder; false with the file and the cause.
    bool forgetUnfinished(const std::vector<bool>& done, std::string& error) const;
    // Locks the folder of an earlier start and checks that it holds the job list; for
    // reading its results.
    bool open(const std::string& jobList, std::string& error);

    const std::string& path() const { return m_sPath; }
    std::string file(const std::string& name) const { return m_sPath + "/" + name; }

    static const char* JobListName;
    static const char* JobLogName;
    static const char* SimName;
    static const char* ParamsName;
    static const char* ResultsName; // the report's files
    static const char* ReportName;
    static const char* ChartName;
    // Every file the sweep keeps in the folder, by name, besides those in the runs' folder
    // (CJobList::RunsFolder): none may be an output of the command line.
    static std::vector<std::string> ownedFiles();

private:
    bool lock(std::string& error);
    // The job log into log; true with present false while there is none.
    bool readJobLog(std::string& log, bool& present, std::string& error) const;
    bool checkJobList(const std::string& jobList, bool& existed, std::string& error) const;
    bool copyIn(const std::string& source, const std::string& name, bool executable, std::string& note,
                std::string& error) const;

    std::string m_sPath;
    int m_iLockFd = -1; // owned
    bool m_bResumed = false;
};
