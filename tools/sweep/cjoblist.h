#pragma once

#include <string>
#include <vector>

#include "sweep/csweepfile.h"

// The korvane-sim runs of a sweep, and the scripts that run them. Every setting runs with
// every seed, once with evolution and once with --control, in that order; a run is named
// after them ("s03-seed7-control") and writes its summary to runs/<name>.json and its
// messages to runs/<name>.log. One list serves GNU parallel on this machine or on many and
// a Slurm job array: each line of jobs.tsv is a run's name and korvane-sim arguments,
// tab-separated, and the job script turns a line into the run, in the results folder with
// the copies of korvane-sim and the parameter file beside it.
class CJobList
{
public:
    struct SJob
    {
        std::string sName;
        int iSetting;              // index into CSweepFile::settings()
        unsigned uSeed;
        bool bEvolution;
        std::vector<std::string> vArguments; // for korvane-sim, after --params and --summary
    };

    explicit CJobList(const CSweepFile& sweep);

    const std::vector<SJob>& jobs() const { return m_vJobs; }
    // jobs.tsv: one line a run, its name and its arguments separated by tabs.
    std::string tsv() const;

    // "s07": the settings numbered from 1, all with as many digits as the count, so that
    // names sort.
    static std::string settingLabel(size_t index, size_t count);
    // The folder of the runs' files, and the names of a run's, relative to the results folder.
    static const char* RunsFolder;
    static std::string summaryFile(const std::string& name);
    static std::string logFile(const std::string& name);

    // korvane-job.sh: "sh korvane-job.sh <name> <arguments...>" runs one line of jobs.tsv.
    static const char* JobScriptName;
    static std::string jobScript();
    // An sbatch script whose array tasks run the lines of jobs.tsv, submitted from the
    // results folder.
    std::string slurmScript() const;
    // The tasks as sbatch's --array takes them: runs of neighbours as ranges, "1-3,7,9-12",
    // in order, each task once, however many there are.
    static std::string arrayRanges(std::vector<int> tasks);

private:
    std::vector<SJob> m_vJobs;
};
