#pragma once

#include <string>
#include <vector>

class CStopRequest;
class CSweepFolder;

// The job list of a results folder run through GNU parallel, from the folder: each line of
// jobs.tsv becomes "sh korvane-job.sh <its words>". Its job log (--joblog) records every
// run that ends; a later start passes --resume-failed, so that a run recorded as done is
// never run again, while a run that failed or never ended runs anew (the folder takes a
// run out of the log when its summary is not whole, see CSweepFolder::forgetUnfinished).
//
// On this machine it runs as many runs at once as there are cores. With a hosts file
// (parallel's --sshloginfile: a line a machine, "4/user@host" for four runs at once there,
// ":" for this machine) the runs go to those machines over ssh, or over the command given
// as the ssh command: each machine is sent korvane-sim, the parameter file and the job
// script once (--basefile), runs in the folder ssh logs in to, sends each summary and log
// back (--return) and is left as it was found (--cleanup). A remote machine needs sh, perl
// and rsync, as GNU parallel does there.
//
// GNU parallel runs in a process group of its own, so that a terminal's Ctrl-C reaches
// korvane-sweep alone, which passes the stop on: parallel then stops every run it started
// and records none of them as done. Should korvane-sweep be killed outright, parallel is
// sent SIGTERM by the kernel (PR_SET_PDEATHSIG) and does the same. run returns only once
// every process parallel started has ended (korvane-sweep is their subreaper), so that the
// results folder's lock is free the moment korvane-sweep ends.
class CParallelRun
{
public:
    // The most runs at once on one machine. korvane-sim keeps one core busy, so that more
    // runs than cores only share them, and 256 is beyond the cores of most machines; GNU
    // parallel, for its part, starts as many processes as it may run at once before the
    // first run, some 25 ms each on a busy machine: 256 cost 7 s, 100000 most of an hour.
    static constexpr int MaxJobs = 256;

    struct SOptions
    {
        int iJobs = 0;             // runs at once on each machine; 0 for one a core
        std::string sSshLoginFile; // machines to run on; empty for this machine alone
        std::string sSsh;          // the command that reaches them; empty for ssh
    };

    // Whether the parallel program is on the PATH.
    static bool isInstalled();
    // Its arguments, without the program's name.
    static std::vector<std::string> arguments(const SOptions& options, bool showProgress);
    // Runs parallel in the folder and waits for it. Its exit status; 128 plus the signal's
    // number when a stop was requested; -1, with the reason in error, when it could not
    // be started.
    static int run(const CSweepFolder& folder, const SOptions& options, const CStopRequest& stop, std::string& error);
};
