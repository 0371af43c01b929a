#pragma once

class CAlien_Population;

// The aliens of one population that died in each sampling period, how many of them its pool
// took in, and the mean fitness they carried when they died (a green alien's alive steps, a red alien's score). It reads
// the population's running totals, which nothing resets, so the statistics' resets of the
// death count leave it untouched. One instance follows one population.
class CDeathsInPeriod
{
public:
    struct SPeriod
    {
        long long llDeaths;
        double dMeanFitness; // NaN when none died
        long long llJoined;  // of them, the newcomers the pool took in
    };

    // The period since the previous call, or since the population was made.
    SPeriod take(const CAlien_Population& population);

private:
    long long m_llDeaths = 0;
    double m_dFitness = 0.0;
    long long m_llJoined = 0;
};
