#include "sim/crunsummary.h"

#include <nlohmann/json.hpp>

#include <cmath>

#include "aliens/calien.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "world/cgamecontroller.h"
#include "world/cworldtally.h"

namespace
{
using Json = nlohmann::ordered_json;

// The quotient, or null where it is undefined.
Json ratio(double numerator, long long denominator)
{
    return denominator > 0 ? Json(numerator / denominator) : Json(nullptr);
}

// An alien's age counts the steps it began alive: one step short of the steps its life has
// ended alive so far while it is alive, and all of them once it is struck (an alien comes
// alive and is struck within a step). Summed over the population's aliens.
long long sumOfAliveSteps(const CAlien_Population& population)
{
    long long sum = 0;
    for (const CAlien* alien : population.getAliens())
        sum += alien->getAge() + (alien->getState() == ALIEN_ALIVE);
    return sum;
}

Json paramsJson()
{
    Json params = Json::object();
    for (const CParams::SMember& member : CParams::members())
        params[member.szName] = member.bInteger ? Json(static_cast<int>(member.dValue)) : Json(member.dValue);
    return params;
}
} // namespace

CRunSummary::CRunSummary(long long stepsAsked, const CAlien_Population& red, const CAlien_Population& green,
                         const CWorldTally& world)
    : m_aThirdStartStep{0, stepsAsked / 3, 2 * (stepsAsked / 3) + 2 * (stepsAsked % 3) / 3}, m_iThirdsStarted(0),
      m_aTallies{startTally(red), startTally(green)}, m_world(world)
{
    markThirdsStartedBy(0);
}

CRunSummary::STally CRunSummary::startTally(const CAlien_Population& population)
{
    return {&population, 0, 0, sumOfAliveSteps(population), {}};
}

CRunSummary::SMark CRunSummary::now(const STally& tally)
{
    const CAlien_Population& population = *tally.pPopulation;
    return {population.getTotalOffered(), population.getTotalFitnessOffered(), population.getTotalJoined(),
            population.getEntryBar()};
}

void CRunSummary::afterStep(long long step)
{
    for (STally& tally : m_aTallies)
        count(tally);
    markThirdsStartedBy(step);
}

void CRunSummary::count(STally& tally)
{
    for (const CAlien* alien : tally.pPopulation->getAliens())
        tally.llAliveSteps += alien->getState() == ALIEN_ALIVE;
    tally.llAlienSteps += static_cast<long long>(tally.pPopulation->getAliens().size());
}

void CRunSummary::markThirdsStartedBy(long long step)
{
    while (m_iThirdsStarted < 3 && m_aThirdStartStep[m_iThirdsStarted] <= step)
    {
        for (STally& tally : m_aTallies)
            tally.aThirdStart[m_iThirdsStarted] = now(tally);
        ++m_iThirdsStarted;
    }
}

std::string CRunSummary::json(unsigned seed, long long stepsRun, bool evolution) const
{
    Json summary;
    summary["seed"] = seed;
    summary["steps"] = stepsRun;
    summary["evolution"] = evolution;
    summary["params"] = paramsJson();
    summary["red_bullets_on_gun"] = m_world.hitsOnGun();
    summary["gun_shots"] = m_world.gunShots();
    summary["gun_kills"] = m_world.gunKills();
    summary["red_on_red"] = m_world.deaths(0, CAUSE_RED_BULLET);
    summary["red_on_green"] = m_world.deaths(1, CAUSE_RED_BULLET);
    // The tallies are kept in the world's order of populations: 0 red, 1 green.
    const char* const names[2] = {"red", "green"};
    for (int k = 0; k < 2; ++k)
        summary["populations"][names[k]] = populationJson(k);
    return summary.dump(2) + "\n";
}

Json CRunSummary::populationJson(int populationIndex) const
{
    const STally& tally = m_aTallies[populationIndex];
    const CAlien_Population& population = *tally.pPopulation;
    const SMark end = now(tally);
    Json thirds = Json::array(), joined = Json::array(), bars = Json::array();
    for (int k = 0; k < 3; ++k)
    {
        // A third ends where the next starts; the last one started ends now.
        const bool started = k < m_iThirdsStarted;
        const SMark& from = tally.aThirdStart[k];
        const SMark& to = k + 1 < m_iThirdsStarted ? tally.aThirdStart[k + 1] : end;
        thirds.push_back(started ? ratio(to.dFitness - from.dFitness, to.llDeaths - from.llDeaths) : Json(nullptr));
        joined.push_back(started ? Json(to.llJoined - from.llJoined) : Json(nullptr));
        bars.push_back(started && std::isfinite(to.dEntryBar) ? Json(to.dEntryBar) : Json(nullptr));
    }
    // Every alive step of the run is counted once, after its step: those of the lives still
    // going at the end are not the dead's, and the dead whose lives began before the run
    // had more.
    const long long deaths = end.llDeaths - tally.aThirdStart[0].llDeaths;
    const long long deadLifeSteps = tally.llAliveSteps + tally.llStartAliveSteps - sumOfAliveSteps(population);
    const bool pooled = !population.getPool().empty();
    Json result;
    result["deaths"] = deaths;
    result["mean_fitness_of_deaths"] = thirds;
    result["pool_joined"] = joined;
    result["pool_entry_bar"] = bars;
    result["alive_steps"] = tally.llAliveSteps;
    result["alive_share"] = ratio(static_cast<double>(tally.llAliveSteps), tally.llAlienSteps);
    result["mean_lifetime_steps"] = ratio(static_cast<double>(deadLifeSteps), deaths);
    result["pool"]["best"] = pooled ? Json(population.getBestFitness()) : Json(nullptr);
    result["pool"]["mean"] = pooled ? Json(poolMean(population)) : Json(nullptr);
    result["pool"]["worst"] = pooled ? Json(population.getWorstFitness()) : Json(nullptr);
    for (const CWorldTally::SCause& cause : CWorldTally::Causes)
        result["struck_down_by"][cause.szKey] = m_world.deaths(populationIndex, cause.iCause);
    return result;
}

double CRunSummary::poolMean(const CAlien_Population& population)
{
    const auto& pool = population.getPool();
    if (pool.empty())
        return 0.0;
    double sum = 0.0;
    for (const auto& entry : pool)
        sum += entry.first;
    return sum / pool.size();
}
