#include "sweep/csweepfile.h"

#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "common/wordparse.h"
#include "files/ctextword.h"
#include "files/safefile.h"

namespace
{
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9');
}

// The characters of a number as the parameter file writes one (5, 0.3, -1, 1e-3).
bool isNumberChar(char c)
{
    return isNameChar(c) || c == '.' || c == '+' || c == '-';
}

template <typename Predicate>
bool allOf(const std::string& word, Predicate predicate)
{
    for (const char c : word)
        if (!predicate(c))
            return false;
    return true;
}

// The value korvane-sim reads from the word, as it reads its parameter file's numbers;
// false for a word that is no number.
bool numberOf(const std::string& word, double& value)
{
    std::istringstream in(word);
    CTextWord text;
    return text.read(in) && text.toDouble(value) == CTextWord::NUMBER;
}

// "" when no two values are one to korvane-sim (5 and 05, -0 and 0; words that are no
// numbers as written), else what is listed twice.
std::string repeatedValue(const std::vector<std::string>& values)
{
    std::map<double, const std::string*> numbers; // -0 and 0 are one key
    std::set<std::string> words;
    for (const std::string& value : values)
    {
        double number = 0.0;
        const std::string* earlier = &value;
        if (numberOf(value, number))
            earlier = numbers.emplace(number, &value).first->second;
        else if (!words.insert(value).second)
            return value + " twice";
        if (earlier != &value)
            return *earlier == value ? value + " twice" : "the same value twice: " + *earlier + " and " + value;
    }
    return "";
}

bool parseSeed(const std::string& word, unsigned long long& seed)
{
    return parseWhole(word, seed) && seed <= 0xFFFFFFFFull;
}

// A seed ("7", first and last both 7) or a range of seeds ("1-10").
bool parseSeedItem(const std::string& word, unsigned long long& first, unsigned long long& last)
{
    const size_t dash = word.find('-');
    if (dash == std::string::npos)
        return parseSeed(word, first) && parseSeed(word, last);
    return parseSeed(word.substr(0, dash), first) && parseSeed(word.substr(dash + 1), last) && first <= last;
}

// The line's words, without its comment and a CR at the end; false for a control
// character anywhere in it (a file that is not text, most likely).
bool splitLine(std::string line, std::vector<std::string>& words)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    for (const char c : line)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            return false;
    line = line.substr(0, line.find('#'));
    words.clear();
    size_t start = 0;
    while ((start = line.find_first_not_of(" \t", start)) != std::string::npos)
    {
        const size_t end = line.find_first_of(" \t", start);
        words.push_back(line.substr(start, end - start));
        start = end;
    }
    return true;
}
} // namespace

bool CSweepFile::load(const std::string& fileName, std::string& error)
{
    std::string text;
    if (!readRegularFile(fileName, MaxFileBytes, text, error))
    {
        error = fileName + ": " + error;
        return false;
    }
    return parse(text, fileName, error);
}

bool CSweepFile::parse(const std::string& text, const std::string& fileName, std::string& error)
{
    *this = CSweepFile();
    // A byte-order mark, as some editors write first, is no part of the first line.
    size_t start = text.rfind(kByteOrderMark, 0) == 0 ? std::strlen(kByteOrderMark) : 0;
    std::vector<std::string> words;
    for (int line = 1; start < text.size(); ++line)
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string cause;
        if (!splitLine(text.substr(start, end - start), words))
            cause = "holds a control character: this is not a sweep file";
        else if (!words.empty())
            parseLine(words, line, cause);
        if (!cause.empty())
        {
            error = fileName + ": line " + std::to_string(line) + ": " + cause;
            return false;
        }
        start = end + 1;
    }
    if (!checkComplete(error))
    {
        error = fileName + ": " + error;
        return false;
    }
    return true;
}

bool CSweepFile::parseLine(const std::vector<std::string>& words, int line, std::string& error)
{
    const std::string& keyword = words[0];
    if (keyword == "steps" || keyword == "seeds")
    {
        int& seen = keyword == "steps" ? m_iStepsLine : m_iSeedsLine;
        if (seen != 0)
        {
            error = "a second '" + keyword + "' line (the first is line " + std::to_string(seen) + ")";
            return false;
        }
        seen = line;
        return keyword == "steps" ? parseSteps(words, error) : parseSeeds(words, error);
    }
    return parseMember(words, line, error);
}

bool CSweepFile::parseSteps(const std::vector<std::string>& words, std::string& error)
{
    if (words.size() != 2 || !parseWhole(words[1], m_llSteps) || m_llSteps < 1)
    {
        error = "'steps' takes one whole number of at least 1, the world steps of every run, e.g. 'steps 300000'";
        return false;
    }
    return true;
}

bool CSweepFile::parseSeeds(const std::vector<std::string>& words, std::string& error)
{
    if (words.size() < 2)
    {
        error = "'seeds' needs at least one seed, e.g. 'seeds 1-10'";
        return false;
    }
    std::set<unsigned> seen;
    for (size_t i = 1; i < words.size(); ++i)
    {
        const std::string& word = words[i];
        unsigned long long first = 0, last = 0;
        if (!parseSeedItem(word, first, last))
        {
            error = inQuotes(word) + " is neither a seed (a whole number from 0 to 4294967295) nor a range of "
                                   "seeds such as 1-10";
            return false;
        }
        if (last - first >= static_cast<unsigned long long>(MaxSeeds - m_vSeeds.size()))
        {
            error = "more than " + std::to_string(MaxSeeds) + " seeds";
            return false;
        }
        for (unsigned long long seed = first; seed <= last; ++seed)
        {
            if (!seen.insert(static_cast<unsigned>(seed)).second)
            {
                error = "seed " + std::to_string(seed) + " is listed twice";
                return false;
            }
            m_vSeeds.push_back(static_cast<unsigned>(seed));
        }
    }
    return true;
}

bool CSweepFile::parseMember(const std::vector<std::string>& words, int line, std::string& error)
{
    const std::string& name = words[0];
    if (!isNameStart(name[0]) || !allOf(name, isNameChar))
    {
        error = inQuotes(name) + " is neither 'steps', 'seeds' nor the name of a parameter";
        return false;
    }
    for (const SMember& member : m_vMembers)
        if (member.sName == name)
        {
            error = name + " is swept already on line " + std::to_string(member.iLine);
            return false;
        }
    if (words.size() < 2)
    {
        error = name + " has no values to try";
        return false;
    }
    if (words.size() - 1 > static_cast<size_t>(MaxValues))
    {
        error = name + " has more than " + std::to_string(MaxValues) + " values";
        return false;
    }
    SMember member{name, {}, line};
    for (size_t i = 1; i < words.size(); ++i)
    {
        const std::string& value = words[i];
        if (!allOf(value, isNumberChar))
        {
            error = name + ": " + inQuotes(value) + " is not a number";
            return false;
        }
        member.vValues.push_back(value);
    }
    if (const std::string repeated = repeatedValue(member.vValues); !repeated.empty())
    {
        error = name + " lists " + repeated;
        return false;
    }
    m_vMembers.push_back(member);
    return true;
}

bool CSweepFile::checkComplete(std::string& error) const
{
    if (m_iStepsLine == 0)
    {
        error = "no 'steps' line: give the world steps of every run, e.g. 'steps 300000'";
        return false;
    }
    if (m_iSeedsLine == 0)
    {
        error = "no 'seeds' line: give the seeds every setting runs with, e.g. 'seeds 1-10'";
        return false;
    }
    long long runs = 2 * static_cast<long long>(m_vSeeds.size());
    for (const SMember& member : m_vMembers)
    {
        runs *= static_cast<long long>(member.vValues.size());
        if (runs > MaxRuns)
            break;
    }
    if (runs > MaxRuns)
    {
        error = "the sweep makes more than " + std::to_string(MaxRuns) +
                " runs (every combination of the values, with every seed, with evolution and with --control)";
        return false;
    }
    return true;
}

std::vector<CSweepFile::Setting> CSweepFile::settings() const
{
    std::vector<Setting> all{Setting(m_vMembers.size(), 0)};
    // Counts through the combinations like an odometer whose last wheel turns fastest.
    for (;;)
    {
        Setting next = all.back();
        size_t wheel = next.size();
        while (wheel > 0 && ++next[wheel - 1] == static_cast<int>(m_vMembers[wheel - 1].vValues.size()))
            next[--wheel] = 0;
        if (wheel == 0)
            return all;
        all.push_back(next);
    }
}

std::vector<std::string> CSweepFile::assignments(const Setting& setting) const
{
    std::vector<std::string> result;
    for (size_t i = 0; i < m_vMembers.size(); ++i)
        result.push_back(m_vMembers[i].sName + "=" + m_vMembers[i].vValues[setting[i]]);
    return result;
}
