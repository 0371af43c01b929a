// korvane-sweep: korvane-sim over every combination of some parameter values, many seeds,
// with evolution and with --control, through GNU parallel; then what the runs found.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "common/coutputcheck.h"
#include "sim/coptionvalidators.h"
#include "sweep/chostsfile.h"
#include "sweep/cjoblist.h"
#include "sweep/cparallelrun.h"
#include "sweep/cruncheck.h"
#include "sweep/csettingcheck.h"
#include "sweep/csweepchart.h"
#include "sweep/csweepfile.h"
#include "sweep/csweepfolder.h"
#include "sweep/csweepreport.h"
#include "files/cstoprequest.h"
#include "files/outofmemory.h"
#include "files/safefile.h"

namespace
{
constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr size_t kMissingListed = 10; // unfinished runs named on the terminal

struct SOptions
{
    std::string sSweepFile;
    std::string sOut;
    std::string sParams = "params.ini";
    std::string sSim;
    std::string sSlurm;
    bool bCollect = false;
    CParallelRun::SOptions parallel;
};

int fail(const std::string& message)
{
    std::cerr << message << "\n";
    return kFailed;
}

// korvane-sim beside this program, as in the build folder.
std::string simBesideThisProgram()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("korvane-sim") : (self.parent_path() / "korvane-sim").string();
}

// A command that is one word with a slash names a file: absolute, it still names it when
// parallel runs from the results folder.
std::string fromResultsFolder(const std::string& command)
{
    if (command.find('/') == std::string::npos || command.find_first_of(" \t") != std::string::npos)
        return command;
    return std::filesystem::absolute(command).string();
}

// The summaries of the runs that are done (null for the others); why each other run is not
// goes to the standard error stream.
std::vector<std::unique_ptr<CRunResult>> readSummaries(const CSweepFolder& folder, const CSweepFile& sweep,
                                                        const CJobList& jobs, std::vector<int>& missing)
{
    const CRunCheck check(folder, sweep);
    std::vector<std::unique_ptr<CRunResult>> summaries;
    for (size_t i = 0; i < jobs.jobs().size(); ++i)
    {
        auto summary = std::make_unique<CRunResult>();
        std::string why;
        if (!check.load(jobs.jobs()[i], *summary, why))
        {
            if (missing.empty())
                std::cerr << "Runs that have not finished:\n";
            summary.reset();
            if (missing.size() < kMissingListed)
                std::cerr << "  " << jobs.jobs()[i].sName << ": " << why << "\n";
            missing.push_back(static_cast<int>(i) + 1);
        }
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

std::string titleOf(const SOptions& options, const CSweepFile& sweep)
{
    return "Sweep `" + options.sSweepFile + "`: " + std::to_string(sweep.settings().size()) + " settings × " +
           std::to_string(sweep.seeds().size()) + " seeds, each run with evolution and with --control for " +
           std::to_string(sweep.steps()) + " world steps, parameter file `" + options.sParams + "`.";
}

// The results of the runs that finished: files in the folder, the table on the terminal.
int report(const SOptions& options, const CSweepFolder& folder, const CSweepFile& sweep, const CJobList& jobs)
{
    std::vector<int> missing;
    const auto summaries = readSummaries(folder, sweep, jobs, missing);
    std::vector<const CRunResult*> found;
    for (const auto& summary : summaries)
        found.push_back(summary.get());
    const CSweepReport report(sweep, titleOf(options, sweep), jobs.jobs(), found);
    std::string error;
    if (!writeFileAtomically(folder.file(CSweepFolder::ResultsName), report.tsv(), error) ||
        !writeFileAtomically(folder.file(CSweepFolder::ReportName), report.markdown(), error) ||
        !writeFileAtomically(folder.file(CSweepFolder::ChartName), CSweepChart::render(report), error))
        return fail("The report is not saved: " + error);
    std::cout << report.markdown() << "\nIn " << folder.path() << ": " << CSweepFolder::ResultsName << " (a row a run), "
              << CSweepFolder::ReportName << ", " << CSweepFolder::ChartName << "\n";
    if (missing.empty())
        return 0;
    std::cerr << missing.size() << " of " << jobs.jobs().size()
              << " runs have not finished (named above, up to " << kMissingListed
              << "); the same command runs them again. As Slurm array tasks: --array="
              << CJobList::arrayRanges(missing) << "\n";
    return kFailed;
}

size_t countOf(const std::vector<bool>& done)
{
    return static_cast<size_t>(std::count(done.begin(), done.end(), true));
}

// The folder made ready for the runs that are not done, and what an earlier start left said.
bool prepareFolder(const SOptions& options, const CSweepFile& sweep, const CJobList& jobs, CSweepFolder& folder,
                   std::string& error)
{
    std::string note;
    if (!folder.prepare(jobs.tsv(), options.sParams, options.sSim, note, error))
        return false;
    const std::vector<bool> done = CRunCheck(folder, sweep).done(jobs);
    if (!folder.forgetUnfinished(done, error))
        return false;
    if (folder.resumed())
        std::cerr << "Going on with the sweep in " << folder.path() << ": "
                  << countOf(done) << " of its runs are done.\n";
    if (!note.empty())
        std::cerr << note << "\n";
    return true;
}

int prepareAndRun(const SOptions& options, const CSweepFile& sweep, const CJobList& jobs, CSweepFolder& folder)
{
    if (options.sSlurm.empty() && !CParallelRun::isInstalled())
        return fail("GNU parallel is not installed: 'make deps' installs it (Debian's package parallel)");
    std::string error;
    if (!folder.checkJobLog(error) ||
        !CSettingCheck(options.sSim, options.sParams).check(sweep, options.sSweepFile, error) ||
        !prepareFolder(options, sweep, jobs, folder, error))
        return fail(error);
    if (!options.sSlurm.empty())
    {
        if (!writeFileAtomically(options.sSlurm, jobs.slurmScript(), error))
            return fail("The Slurm script is not saved: " + error);
        std::cout << "Wrote " << options.sSlurm << ": " << jobs.jobs().size() << " array tasks. Submit it from "
                  << folder.path() << " (cd " << folder.path() << " && sbatch " << std::filesystem::absolute(options.sSlurm).string()
                  << "); then add --collect to this command, in place of --slurm, for the report.\n";
        return 0;
    }
    CStopRequest stop({SIGINT, SIGTERM, SIGHUP});
    const int status = CParallelRun::run(folder, options.parallel, stop, error);
    if (status < 0)
        return fail(error);
    if (stop.signalNumber() != 0)
    {
        std::cerr << "Stopped: " << countOf(CRunCheck(folder, sweep).done(jobs)) << " of " << jobs.jobs().size()
                  << " runs are done (their summaries are in " << folder.file(CJobList::RunsFolder)
                  << "); the same command goes on from there.\n";
        return stop.exitStatus();
    }
    return report(options, folder, sweep, jobs);
}

void addOptions(CLI::App& app, SOptions& options)
{
    app.add_option("sweep-file", options.sSweepFile, "the values to try, the seeds and the steps (see the README)")
        ->required();
    app.add_option("--out", options.sOut, "results folder (default: the sweep file's name with .results)");
    app.add_option("--params", options.sParams, "parameter file the values are set in")->capture_default_str();
    app.add_option("--sim", options.sSim, "korvane-sim to run (default: the one beside korvane-sweep)");
    app.add_option("--jobs", options.parallel.iJobs, "runs at once on each machine (default: one a core)")
        ->transform(COptionValidators::wholeNumber(1, CParallelRun::MaxJobs));
    app.add_option("--sshloginfile", options.parallel.sSshLoginFile,
                   "GNU parallel's hosts file: run on these machines (':' is this one), sending each korvane-sim "
                   "and the parameter file");
    auto* ssh = app.add_option("--ssh", options.parallel.sSsh, "command that logs in to a host (default: ssh)");
    auto* slurm = app.add_option("--slurm", options.sSlurm,
                                 "write a Slurm job-array script for the runs instead of running them");
    auto* collect = app.add_flag("--collect", options.bCollect,
                                 "run nothing: the report of the runs in the results folder (after Slurm)");
    ssh->needs(app.get_option("--sshloginfile"));
    slurm->excludes(collect);
}

// Every output checked against the inputs, the sweep's own files among them, and for being
// writable before any work.
int checkFiles(const SOptions& options)
{
    COutputCheck files;
    files.addInput("the sweep file", options.sSweepFile);
    files.addInput("--params", options.sParams);
    files.addInput("--sim", options.sSim);
    files.addInput("--sshloginfile", options.parallel.sSshLoginFile);
    const CSweepFolder folder(options.sOut);
    for (const std::string& name : CSweepFolder::ownedFiles())
        files.addInput("the sweep's own", folder.file(name));
    files.addInputFolder("the runs' folder", folder.file(CJobList::RunsFolder));
    files.addOutput("--slurm", options.sSlurm);
    return files.report();
}
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-sweep");
    SOptions options;
    CLI::App app{"Runs korvane-sim for every combination of the sweep file's values and seeds, with evolution and "
                 "with --control, through GNU parallel, and reports the learning score of each setting."};
    app.footer("Exit status: 0 every run done and the report written; 1 a file could not be read or written, the "
               "sweep file or a value in it is refused, or runs did not finish (the report holds those that did); "
               "2 a wrong command line; 130, 143 or 129 stopped by SIGINT, SIGTERM or SIGHUP, the runs that "
               "finished kept for the next start.");
    addOptions(app, options);
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        return app.exit(error) == 0 ? 0 : kUsageError;
    }
    if (options.sSim.empty())
        options.sSim = simBesideThisProgram();
    if (options.sOut.empty())
        options.sOut = options.sSweepFile + ".results";
    options.parallel.sSsh = fromResultsFolder(options.parallel.sSsh);
    if (const int status = checkFiles(options); status != 0)
        return status;

    CSweepFile sweep;
    std::string error;
    const std::string& hosts = options.parallel.sSshLoginFile;
    if (!sweep.load(options.sSweepFile, error) || (!hosts.empty() && !CHostsFile::check(hosts, error)))
        return fail(error);
    if (!hosts.empty())
        options.parallel.sSshLoginFile = std::filesystem::absolute(hosts).string();
    const CJobList jobs(sweep);
    CSweepFolder folder(options.sOut);
    if (!options.bCollect)
        return prepareAndRun(options, sweep, jobs, folder);
    if (!folder.open(jobs.tsv(), error))
        return fail(error);
    return report(options, folder, sweep, jobs);
}
