#include "app/statsfile.h"

#include <sys/stat.h>

std::string statsFileName(std::time_t when)
{
    std::tm utc{};
    gmtime_r(&when, &utc);
    return "KVN_STAT__" + std::to_string(utc.tm_year + 1900) + "_" + std::to_string(utc.tm_mon + 1) + "_" +
           std::to_string(utc.tm_mday) + "__" + std::to_string(utc.tm_hour) + "_" + std::to_string(utc.tm_min) +
           ".txt";
}

namespace
{
constexpr int kMaxRunsPerName = 1000;

bool exists(const std::string& fileName)
{
    struct stat info;
    return stat(fileName.c_str(), &info) == 0;
}
} // namespace

std::string firstFreeName(const std::string& fileName)
{
    if (!exists(fileName))
        return fileName;
    const size_t dot = fileName.rfind(".txt");
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string suffix = dot == std::string::npos ? "" : fileName.substr(dot);
    // Bounded, so that a folder full of old runs cannot hang the start; the last name is
    // then taken over.
    std::string candidate = fileName;
    for (int n = 2; n <= kMaxRunsPerName; ++n)
    {
        candidate = stem + "_" + std::to_string(n) + suffix;
        if (!exists(candidate))
            break;
    }
    return candidate;
}
