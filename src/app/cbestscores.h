#pragma once

#include <string>
#include <vector>

// The best challenge scores, kept in a file of a line an entry, best first: "score survived_s
// evolved_min yyyy-mm-dd". Guarantees: at most Kept entries, best score first (an equal score
// after the older ones); a file that cannot be read (missing, a folder, cut short, hostile) is
// read as far as its lines are whole and right, and the reason of anything refused is given;
// a save replaces the file only once written whole (a failed one says why, never "saved").
class CBestScores
{
public:
    static constexpr size_t Kept = 5;
    static constexpr size_t MaxFileBytes = 4096;
    static constexpr const char* FileName = "KorvaneBest.txt";

    struct SEntry
    {
        long long llScore;
        double dSurvivedSeconds;
        double dEvolvedMinutes; // how long the aliens had been evolving when the game ended
        std::string sDate;      // yyyy-mm-dd, UTC
    };

    // "" when the file was read whole or is missing; else why (part of it) was not taken.
    std::string load(const std::string& fileName);
    // Its place among the kept, from 0 (the best), or -1 when it is not among them.
    int add(const SEntry& entry);
    bool save(const std::string& fileName, std::string& error) const;
    std::string text() const;
    const std::vector<SEntry>& entries() const { return m_vEntries; }

private:
    std::vector<SEntry> m_vEntries;
};
