#pragma once

#include <string>
#include <vector>

#include "sweep/cjoblist.h"
#include "sweep/crunresult.h"
#include "sweep/cstatistics.h"
#include "sweep/csweepfile.h"

// What a sweep found, from the summaries of its runs:
// - a TSV file with a row a finished run: the swept values, seed, evolution (1 or 0),
//   steps, and for red and green the summary's figures (NA for a third without deaths);
// - a Markdown table with a row a setting: the learning score of each population with its
//   95 % interval, and for runs with evolution and with --control the share of alien-steps
//   spent alive and the mean lifetime; what struck the aliens down in the runs with
//   evolution, and how often red bullets hit the gun with evolution and with --control;
// and the figures behind them for a picture (CSweepChart).
// The learning score of a population is, seed by seed, the mean fitness of the aliens that
// died in the last third of the run with evolution divided by the same with --control,
// and over the seeds the geometric mean of these ratios (see CStatistics::ratio). A seed
// counts only when both of its runs finished and both have deaths of that population, with
// a mean fitness above 0, in their last third; the report says which seeds were left out
// and why, and which runs are missing.
class CSweepReport
{
public:
    // Of one population in one setting, with evolution ([0]) and with --control ([1]).
    struct SFigures
    {
        CStatistics::SEstimate sScore;
        CStatistics::SEstimate sLogScore; // the same in natural logarithms, finite beyond a double
        double adAliveShare[2];
        double adLifetimeSeconds[2];
    };
    struct SSetting
    {
        std::string sLabel;                 // "s03"
        std::vector<std::string> vValues;   // of the swept members
        SFigures asPopulations[2];          // red, green
        int iSeedsPaired = 0;               // seeds whose two runs finished
        // Of all aliens struck down in the runs with evolution, the share of each cause.
        double adCauseShares[CWorldTally::NumCauses] = {}; // by cause code (CAUSE_...)
        double adGunHitsPerMinute[2] = {};  // red bullets on the gun, evolution and --control
        double adGunKillsPerMinute[2] = {}; // aliens the gun struck down, evolution and --control
    };

    // summaries[i] belongs to jobs[i], or is null when that run has not finished.
    CSweepReport(const CSweepFile& sweep, const std::string& title, const std::vector<CJobList::SJob>& jobs,
                 const std::vector<const CRunResult*>& summaries);

    std::string tsv() const;
    std::string markdown() const;
    const std::string& title() const { return m_sTitle; }
    const std::vector<SSetting>& settings() const { return m_vSettings; }

private:

    void addSetting(const std::string& label, const CSweepFile::Setting& values, const std::vector<const CRunResult*>& evolution,
                    const std::vector<const CRunResult*>& control);
    SFigures figuresOf(int population, const std::vector<const CRunResult*>& evolution,
                       const std::vector<const CRunResult*>& control, const std::string& label);
    static void addWhatStruck(SSetting& setting, const std::vector<const CRunResult*>& evolution,
                              const std::vector<const CRunResult*>& control);
    static double perMinute(const std::vector<const CRunResult*>& runs, double (CRunResult::*count)() const);
    std::string tableRow(const SSetting& setting) const;

    const CSweepFile& m_sweep;
    std::string m_sTitle;
    const std::vector<CJobList::SJob>& m_vJobs;
    const std::vector<const CRunResult*>& m_vSummaries;
    std::vector<SSetting> m_vSettings;
    std::vector<std::string> m_vNotes; // seeds left out, runs missing
};
