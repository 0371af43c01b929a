#include "app/cbestscores.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>

#include "files/safefile.h"

namespace
{
constexpr double kMostSeconds = 1e9;

// A line of the file as an entry; false for one that is not whole and right.
bool parse(const std::string& line, CBestScores::SEntry& entry)
{
    std::istringstream in(line);
    std::string rest;
    if (!(in >> entry.llScore >> entry.dSurvivedSeconds >> entry.dEvolvedMinutes >> entry.sDate) || (in >> rest))
        return false;
    const bool date = entry.sDate.size() == 10 && entry.sDate[4] == '-' && entry.sDate[7] == '-';
    return entry.llScore >= 0 && std::isfinite(entry.dSurvivedSeconds) && entry.dSurvivedSeconds >= 0 &&
           entry.dSurvivedSeconds < kMostSeconds && std::isfinite(entry.dEvolvedMinutes) &&
           entry.dEvolvedMinutes >= 0 && entry.dEvolvedMinutes < kMostSeconds && date;
}
} // namespace

std::string CBestScores::load(const std::string& fileName)
{
    m_vEntries.clear();
    std::string contents, error;
    if (!readRegularFile(fileName, MaxFileBytes, contents, error))
        return error == std::strerror(ENOENT) ? "" : error;
    std::istringstream in(contents);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
    {
        // The game ends every line: a last one without an end was cut while written.
        if (in.eof() && contents.back() != '\n')
            return "line " + std::to_string(number) + " is cut short";
        SEntry entry;
        if (!parse(line, entry))
            return "line " + std::to_string(number) + " is not a score line";
        add(entry);
    }
    return "";
}

int CBestScores::add(const SEntry& entry)
{
    size_t place = 0;
    while (place < m_vEntries.size() && m_vEntries[place].llScore >= entry.llScore)
        ++place;
    if (place >= Kept)
        return -1;
    m_vEntries.insert(m_vEntries.begin() + static_cast<long>(place), entry);
    if (m_vEntries.size() > Kept)
        m_vEntries.pop_back();
    return static_cast<int>(place);
}

std::string CBestScores::text() const
{
    std::ostringstream out;
    for (const SEntry& entry : m_vEntries)
        out << entry.llScore << " " << entry.dSurvivedSeconds << " " << entry.dEvolvedMinutes << " " << entry.sDate
            << "\n";
    return out.str();
}

bool CBestScores::save(const std::string& fileName, std::string& error) const
{
    return writeFileAtomically(fileName, text(), error);
}
