#pragma once

#include <string>

class CSweepReport;

// A sweep's report as one self-contained SVG picture, three panels over the settings: the
// learning score of green and red with its 95 % interval and the line of no learning, the
// share of alien-steps spent alive and the mean lifetime, each with evolution (filled)
// and with --control (hollow). The settings are named below as in the table.
class CSweepChart
{
public:
    static std::string render(const CSweepReport& report);
};
