#pragma once

#include <string>
#include <vector>

#include "world/cworldtally.h"

// One run's summary file as korvane-sim writes it (--summary), every figure the sweep's
// report uses checked to be there, of its kind and within the bounds that korvane-sim keeps
// to (see CRunSummary), so that every figure the report derives is a finite number. A file
// that is not whole JSON, or lacks a figure or holds one out of bounds, is refused with the
// figure and the cause; so is a summary of another run than the one expected (belongsTo),
// such as that of a run stopped half-way.
class CRunResult
{
public:
    static constexpr int Red = 0;
    static constexpr int Green = 1;
    static const char* const PopulationNames[2]; // "red", "green"
    // The most a summary file is read of: it holds some sixty parameters and a few figures.
    static constexpr size_t MaxFileBytes = 1 << 20;

    // NaN stands for the summary's null: a figure of nothing to count.
    struct SPopulation
    {
        double dDeaths;
        // The mean fitness of the aliens that died in the first, middle and last third of
        // the run; NaN for a third without deaths.
        double adFitnessOfDeaths[3];
        double dAliveShare;        // of alien-steps spent alive, from 0 to 1; NaN without aliens
        double dMeanLifetimeSteps; // the alive steps of the dead; NaN without deaths
        double dPoolBest;          // NaN for an empty pool, as are the mean and the worst
        double dPoolMean;
        double dPoolWorst;
        double adStruckDownBy[CWorldTally::NumCauses]; // by cause code (CAUSE_...)
    };

    bool load(const std::string& fileName, std::string& error);
    // The text of a summary file; error gives the cause without the file's name.
    bool parse(const std::string& text, std::string& error);

    // Whether it is the summary of the run with this seed, steps, evolution or not, and
    // these values ("Member=Value", compared as numbers); false with the first difference.
    bool belongsTo(unsigned seed, long long steps, bool evolution, const std::vector<std::string>& assignments,
                   std::string& error) const;

    unsigned seed() const { return m_uSeed; }
    long long steps() const { return m_llSteps; }
    bool evolution() const { return m_bEvolution; }
    double framesPerSecond() const { return m_dFramesPerSecond; }
    double redBulletsOnGun() const { return m_dRedBulletsOnGun; }
    double gunShots() const { return m_dGunShots; }
    double gunKills() const { return m_dGunKills; }
    double redOnRed() const { return m_dRedOnRed; }
    double redOnGreen() const { return m_dRedOnGreen; }
    const SPopulation& population(int which) const { return m_asPopulations[which]; }

private:
    unsigned m_uSeed = 0;
    long long m_llSteps = 0;
    bool m_bEvolution = false;
    double m_dFramesPerSecond = 0.0;
    double m_dRedBulletsOnGun = 0.0;
    double m_dGunShots = 0.0;
    double m_dGunKills = 0.0;
    double m_dRedOnRed = 0.0;
    double m_dRedOnGreen = 0.0;
    std::vector<std::pair<std::string, std::string>> m_vParams; // as the JSON writes them
    SPopulation m_asPopulations[2] = {};
};
