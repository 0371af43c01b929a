#pragma once

#include <string>
#include <vector>

class CSweepFile;

// A sweep's values put to korvane-sim itself before any run starts, so that a value it
// would refuse fails the sweep at once, with the sweep file's line, rather than every run
// of the setting hours later: the parameter file alone, every value of every member with
// the parameter file, and, when more than one member is swept, every setting (values that
// pass one by one may still break a rule together, such as the memory bound). Each try is
// a run of one world step.
class CSettingCheck
{
public:
    CSettingCheck(const std::string& simFile, const std::string& paramsFile);

    // False with the first refusal: where it comes from and korvane-sim's own words.
    bool check(const CSweepFile& sweep, const std::string& sweepFileName, std::string& error) const;

private:
    // korvane-sim's complaint about the assignments ("Member=Value"), or false when it
    // runs a step on them.
    bool isRefused(const std::vector<std::string>& assignments, std::string& complaint) const;

    std::string m_sSim;
    std::string m_sParams;
};
