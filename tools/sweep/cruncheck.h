#pragma once

#include <string>
#include <vector>

#include "sweep/cjoblist.h"
#include "sweep/csweepfile.h"

class CRunResult;
class CSweepFolder;

// Whether a run of a sweep is done, the one test behind the runs started again, the counts
// said and the report: its summary in the results folder is whole and is that run's. GNU
// parallel's job log cannot tell: a summary may be cut or removed after its run ended with
// status 0, and a run stopped half-way writes a summary of the steps it ran.
class CRunCheck
{
public:
    // Both stay the caller's and outlive the check.
    CRunCheck(const CSweepFolder& folder, const CSweepFile& sweep);

    // The run's summary, read into result; false with why the run is not done, naming the
    // file (a missing summary gives the last line of the run's log instead).
    bool load(const CJobList::SJob& job, CRunResult& result, std::string& why) const;
    // For each run of the list, in its order, whether it is done.
    std::vector<bool> done(const CJobList& jobs) const;

private:
    const CSweepFolder& m_folder;
    const CSweepFile& m_sweep;
    std::vector<CSweepFile::Setting> m_vSettings;
};
