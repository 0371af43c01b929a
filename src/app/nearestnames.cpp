#include "app/nearestnames.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace
{
constexpr size_t kComparedChars = 64;

bool sameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Levenshtein distance, one row at a time.
int editDistance(const std::string& a, const std::string& b)
{
    std::vector<int> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i)
    {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j)
        {
            const int above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (sameLetter(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}
} // namespace

std::vector<std::string> nearestNames(const std::string& name, const std::vector<std::string>& known, size_t most)
{
    const std::string compared = name.substr(0, kComparedChars);
    std::vector<int> distances;
    int least = INT_MAX;
    for (const std::string& candidate : known)
    {
        distances.push_back(editDistance(compared, candidate));
        least = std::min(least, distances.back());
    }
    std::vector<std::string> nearest;
    for (size_t i = 0; i < known.size() && nearest.size() < most; ++i)
        if (distances[i] == least)
            nearest.push_back(known[i]);
    return nearest;
}

std::string alternatives(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}
