#pragma once

#include <string>
#include <vector>

// A sweep file: which parameter values to try, on which seeds, for how many steps.
//
//   # comments run to the end of the line
//   steps 300000
//   seeds 1-10 15 20-22
//   Alien_MutationRate 5 10 20
//   Alien_NumberInPool 20 40
//
// Every line but the two keywords names a member of the parameter file and the values to
// try for it; the settings are every combination of them, the first member's values
// changing slowest. A file without member lines sweeps one setting: the parameter file as
// it is. Words are separated by spaces or tabs; a line may end in CR LF, and the file may
// start with a UTF-8 byte-order mark. A member's values are told apart as numbers, as
// korvane-sim reads them: 5 and 05 are the same value.
//
// Everything that is refused is named with the file, the line and the cause. The
// counts are bounded here, so that expanding the file into runs cannot run away: at most
// MaxSeeds seeds, MaxValues values a member and MaxRuns runs in all. Whether a value suits
// its member is for korvane-sim to say; here a value only has to look like a number.
class CSweepFile
{
public:
    static constexpr int MaxSeeds = 10000;
    static constexpr int MaxValues = 1000;
    // Runs in all: settings × seeds × 2 (with evolution and with --control).
    static constexpr long long MaxRuns = 200000;
    static constexpr size_t MaxFileBytes = 1 << 20;

    struct SMember
    {
        std::string sName;
        std::vector<std::string> vValues; // as written, each a different value
        int iLine = 0;
    };
    // One combination: for each member, in file order, the index of its value.
    using Setting = std::vector<int>;

    // Reads the file from disk; false with a message naming the file and the cause.
    bool load(const std::string& fileName, std::string& error);
    // Reads the text of a file of that name (the name is for the messages).
    bool parse(const std::string& text, const std::string& fileName, std::string& error);

    long long steps() const { return m_llSteps; }
    const std::vector<unsigned>& seeds() const { return m_vSeeds; } // as listed, no repeats
    const std::vector<SMember>& members() const { return m_vMembers; }
    std::vector<Setting> settings() const;
    // "Alien_MutationRate=5" for each member of the setting, in file order.
    std::vector<std::string> assignments(const Setting& setting) const;

private:
    bool parseLine(const std::vector<std::string>& words, int line, std::string& error);
    bool parseSteps(const std::vector<std::string>& words, std::string& error);
    bool parseSeeds(const std::vector<std::string>& words, std::string& error);
    bool parseMember(const std::vector<std::string>& words, int line, std::string& error);
    bool checkComplete(std::string& error) const;

    long long m_llSteps = 0;
    std::vector<unsigned> m_vSeeds;
    std::vector<SMember> m_vMembers;
    int m_iStepsLine = 0;
    int m_iSeedsLine = 0;
};
