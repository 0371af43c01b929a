#pragma once

#include <array>
#include <string>

#include <nlohmann/json_fwd.hpp>

class CAlien_Population;
class CWorldTally;

// What a run did to its red and green aliens, told so that learning shows apart from luck
// (a pool may keep the best brains ever seen, lucky ones included): for each population its
// deaths, the mean fitness the dying carried in the first, middle and last third of the
// steps asked for, the newcomers its pool took in during each third and the fitness a
// newcomer had to beat at each third's end (its entry bar), the alien-steps spent alive and
// their share, the mean alive steps of the dead and the pool at the end; and the player's
// side: what struck the aliens down, how often red bullets hit the gun and the other aliens,
// the shots the gun fired and the aliens it struck down, so that a setting can be seen to
// stay a game of bullets and collisions and a score that is gamed shows. Cheap at every
// step: it reads the populations' running totals where the thirds meet and counts the living
// aliens after each step.
class CRunSummary
{
public:
    // The populations and the world's tally stay the caller's and outlive the summary; the
    // run starts now, right after the world's init.
    CRunSummary(long long stepsAsked, const CAlien_Population& red, const CAlien_Population& green,
                const CWorldTally& world);

    // After each step, numbered from 1.
    void afterStep(long long step);

    // The steps that ran, as one JSON object: seed, steps, evolution, params (every member
    // of the parameter file with its value), red_bullets_on_gun, gun_shots, gun_kills,
    // red_on_red, red_on_green and populations, each with alive_steps, pool_joined and
    // pool_entry_bar by third and struck_down_by, the count of its aliens struck down by
    // each cause. A third that the run did not reach or that saw no death has
    // null for its mean (and for its pool figures when not reached; a pool still filling has
    // no entry bar), as a population without deaths has
    // for its mean lifetime, one without aliens for its alive share and an empty pool for
    // its fitness values. Its readers check the bounds it keeps to (CRunResult): counts
    // (deaths, alive_steps, struck_down_by and the player's counts) are whole and not negative; an alive share
    // is from 0 to 1; a mean lifetime from 0 to the steps and one (a life going when the run
    // started began a step early); the fitness of the dying from 0, and the pool's from
    // -CAlien_Population::MaxFitness (a loaded pool's), to MaxFitness.
    std::string json(unsigned seed, long long stepsRun, bool evolution) const;

    // The alien-steps a population (0 red, 1 green) has spent alive since the run started,
    // counted after each step.
    long long aliveSteps(int population) const { return m_aTallies[population].llAliveSteps; }

    // The mean fitness of the pool's brains; 0 for an empty pool.
    static double poolMean(const CAlien_Population& population);

private:
    struct SMark // a population's running totals, and its pool's entry bar, at one moment
    {
        long long llDeaths;
        double dFitness;
        long long llJoined;
        double dEntryBar;
    };
    struct STally
    {
        const CAlien_Population* pPopulation;
        long long llAlienSteps;
        long long llAliveSteps;
        long long llStartAliveSteps; // the alive steps of the lives going when the run started
        std::array<SMark, 3> aThirdStart;
    };

    static STally startTally(const CAlien_Population& population);
    static SMark now(const STally& tally);
    static void count(STally& tally);
    void markThirdsStartedBy(long long step);
    nlohmann::ordered_json populationJson(int populationIndex) const;

    std::array<long long, 3> m_aThirdStartStep; // each third starts after this step
    int m_iThirdsStarted;
    std::array<STally, 2> m_aTallies; // red, green
    const CWorldTally& m_world;
};
