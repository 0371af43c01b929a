#include "sweep/cjoblist.h"

#include <algorithm>

const char* CJobList::JobScriptName = "korvane-job.sh";
const char* CJobList::RunsFolder = "runs";

std::string CJobList::settingLabel(size_t index, size_t count)
{
    const std::string number = std::to_string(index + 1);
    return "s" + std::string(std::to_string(count).size() - number.size(), '0') + number;
}

CJobList::CJobList(const CSweepFile& sweep)
{
    const std::vector<CSweepFile::Setting> settings = sweep.settings();
    for (size_t s = 0; s < settings.size(); ++s)
        for (const unsigned seed : sweep.seeds())
            for (const bool evolution : {true, false})
            {
                SJob job{settingLabel(s, settings.size()) + "-seed" + std::to_string(seed) +
                             (evolution ? "-evolution" : "-control"),
                         static_cast<int>(s), seed, evolution,
                         {"--seed", std::to_string(seed), "--steps", std::to_string(sweep.steps())}};
                for (const std::string& assignment : sweep.assignments(settings[s]))
                    job.vArguments.insert(job.vArguments.end(), {"--set", assignment});
                if (!evolution)
                    job.vArguments.push_back("--control");
                m_vJobs.push_back(job);
            }
}

std::string CJobList::tsv() const
{
    std::string text;
    for (const SJob& job : m_vJobs)
    {
        text += job.sName;
        for (const std::string& argument : job.vArguments)
            text += "\t" + argument;
        text += "\n";
    }
    return text;
}

std::string CJobList::summaryFile(const std::string& name)
{
    return std::string(RunsFolder) + "/" + name + ".json";
}

std::string CJobList::logFile(const std::string& name)
{
    return std::string(RunsFolder) + "/" + name + ".log";
}

std::string CJobList::jobScript()
{
    return R"(#!/bin/sh
# One run of a korvane-sweep: "sh korvane-job.sh NAME ARGUMENTS..." runs the korvane-sim
# beside it with the parameter file beside it and the arguments; the summary goes to
# runs/NAME.json, every message to runs/NAME.log, and the exit status is korvane-sim's.
# korvane-sweep writes it into the results folder, where it runs (or into the folder a
# remote machine was sent the files to).
set -eu
name=$1
shift
mkdir -p runs
exec ./korvane-sim --params params.ini --summary "runs/$name.json" "$@" > "runs/$name.log" 2>&1
)";
}

std::string CJobList::slurmScript() const
{
    return "#!/bin/sh\n"
           "#SBATCH --job-name=korvane-sweep\n"
           "#SBATCH --array=1-" + std::to_string(m_vJobs.size()) + "\n"
           "#SBATCH --ntasks=1\n"
           "#SBATCH --cpus-per-task=1\n"
           "#SBATCH --output=runs/slurm-%A_%a.out\n" +
           R"(# The runs of a korvane-sweep as a Slurm job array: task N runs line N of jobs.tsv. Submit
# it from the sweep's results folder, on a file system that the nodes share:
#     cd RESULTS && sbatch THIS-SCRIPT
# and when the tasks are done, make the report there with the command that wrote this
# script and --collect in place of --slurm; it names the tasks still to run, if any, for
# sbatch --array=... Slurm refuses arrays longer than its MaxArraySize (often 1001): submit
# a longer sweep in parts (sbatch --array=1-1000, then --array=1001-2000, ...).
set -eu
cd "${SLURM_SUBMIT_DIR:-.}"
[ -f jobs.tsv ] || { echo "submit this script from the sweep's results folder: it holds jobs.tsv" >&2; exit 1; }
line=$(sed -n "${SLURM_ARRAY_TASK_ID}p" jobs.tsv)
[ -n "$line" ] || { echo "jobs.tsv has no line ${SLURM_ARRAY_TASK_ID}" >&2; exit 1; }
IFS=$(printf '\t')
set -f
# shellcheck disable=SC2086 # the line's tab-separated words are the job's arguments
set -- $line
exec sh )" + std::string(JobScriptName) +
           " \"$@\"\n";
}

std::string CJobList::arrayRanges(std::vector<int> tasks)
{
    std::sort(tasks.begin(), tasks.end());
    tasks.erase(std::unique(tasks.begin(), tasks.end()), tasks.end());
    std::string ranges;
    for (size_t i = 0; i < tasks.size();)
    {
        size_t last = i;
        while (last + 1 < tasks.size() && tasks[last + 1] == tasks[last] + 1)
            ++last;
        ranges += (ranges.empty() ? "" : ",") + std::to_string(tasks[i]);
        if (last > i)
            ranges += "-" + std::to_string(tasks[last]);
        i = last + 1;
    }
    return ranges;
}
