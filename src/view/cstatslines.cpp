#include "view/cstatslines.h"

#include <cmath>
#include <cstdio>

namespace
{
std::string score(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value == std::floor(value) ? "%.0f" : "%.2f", value);
    return text;
}
} // namespace

std::vector<std::string> CStatsLines::lines(int deadInPeriod, double periodMs, double best, double worst)
{
    return {"Red aliens dead in the last " + period(periodMs) + ": " + std::to_string(deadInPeriod),
            "Best red score in the pool: " + score(best), "Worst red score in the pool: " + score(worst)};
}

std::string CStatsLines::period(double periodMs)
{
    char text[32];
    if (periodMs < 1000)
        std::snprintf(text, sizeof text, "%.0f ms", periodMs);
    else
        std::snprintf(text, sizeof text, "%g s", periodMs / 1000.0);
    return text;
}
