#pragma once

#include <string>
#include <vector>

// The statistics overlay's lines (key d), saying of what and over which period each number is:
// the red aliens that died in the last sampling period, and the best and worst red score in
// the red brain pool.
class CStatsLines
{
public:
    static std::vector<std::string> lines(int deadInPeriod, double periodMs, double best, double worst);
    // "1 s", "2.5 s", "200 ms".
    static std::string period(double periodMs);
};
