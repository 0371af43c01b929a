#pragma once

#include <string>
#include <vector>

class CSweepFile;

// A sweep's values put to korvane-sim before any run starts, so that a value it would
// refuse fails the sweep at once, with the sweep file's line, rather than every run of the
// setting hours later: the parameter file alone and every value of every member with the
// parameter file, each tried by korvane-sim itself for one world step; and, when more than
// one member is swept, every setting (values that pass one by one may still break a rule
// together, such as the memory bound), put to the parameter rules that korvane-sim applies
// to its --set values, in this process: a korvane-sim a setting took 14 minutes for the
// most settings a sweep may have, this takes seconds.
class CSettingCheck
{
public:
    CSettingCheck(const std::string& simFile, const std::string& paramsFile);

    // False with the first refusal: where it comes from and korvane-sim's own words.
    bool check(const CSweepFile& sweep, const std::string& sweepFileName, std::string& error) const;

    // Every setting of the sweep, in order, applied to the parameter file's text and put to
    // the rules; false with the first that breaks one, and the rules' words. The parameters
    // (CParams) are left at their values before any loading.
    static bool checkSettings(const CSweepFile& sweep, const std::string& paramsText, const std::string& sweepFileName,
                              std::string& error);

private:
    // korvane-sim's complaint about the assignments ("Member=Value"), or false when it
    // runs a step on them.
    bool isRefused(const std::vector<std::string>& assignments, std::string& complaint) const;

    std::string m_sSim;
    std::string m_sParams;
};
