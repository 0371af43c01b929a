#include "sweep/cruncheck.h"

#include <unistd.h>

#include "sweep/crunresult.h"
#include "sweep/csweepfolder.h"
#include "files/safefile.h"

namespace
{
std::string lastLineOf(const std::string& fileName)
{
    std::string text, error;
    if (!readRegularFile(fileName, CRunResult::MaxFileBytes, text, error))
        return "no log (" + error + ")";
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::string line = text.substr(text.find_last_of('\n') + 1);
    return line.empty() ? "an empty log" : printableExcerpt(line, 200);
}
} // namespace

CRunCheck::CRunCheck(const CSweepFolder& folder, const CSweepFile& sweep)
    : m_folder(folder), m_sweep(sweep), m_vSettings(sweep.settings())
{
}

bool CRunCheck::load(const CJobList::SJob& job, CRunResult& result, std::string& why) const
{
    const std::string summaryFile = m_folder.file(CJobList::summaryFile(job.sName));
    if (access(summaryFile.c_str(), F_OK) != 0)
    {
        const std::string logFile = m_folder.file(CJobList::logFile(job.sName));
        why = logFile + ": " + lastLineOf(logFile);
        return false;
    }
    if (!result.load(summaryFile, why))
        return false;
    if (result.belongsTo(job.uSeed, m_sweep.steps(), job.bEvolution, m_sweep.assignments(m_vSettings[job.iSetting]),
                         why))
        return true;
    why = summaryFile + ": " + why;
    return false;
}

std::vector<bool> CRunCheck::done(const CJobList& jobs) const
{
    std::vector<bool> result;
    CRunResult summary;
    std::string ignored;
    for (const CJobList::SJob& job : jobs.jobs())
        result.push_back(load(job, summary, ignored));
    return result;
}
