#include "app/statsfile.h"

std::string statsFileName(std::time_t when)
{
    std::tm utc{};
    gmtime_r(&when, &utc);
    return "KVN_STAT__" + std::to_string(utc.tm_year + 1900) + "_" + std::to_string(utc.tm_mon + 1) + "_" +
           std::to_string(utc.tm_mday) + "__" + std::to_string(utc.tm_hour) + "_" + std::to_string(utc.tm_min) +
           ".txt";
}

std::string numberedName(const std::string& fileName, int n)
{
    const size_t dot = fileName.rfind(".txt");
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string suffix = dot == std::string::npos ? "" : fileName.substr(dot);
    return stem + "_" + std::to_string(n) + suffix;
}
