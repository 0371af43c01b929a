#include "sweep/crunresult.h"

#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "brain/calien_population.h"
#include "files/safefile.h"

const char* const CRunResult::PopulationNames[2] = {"red", "green"};

namespace
{
using Json = nlohmann::json;

// The figures of a summary, each found by its path ("populations.red.deaths") and checked
// against the bounds its writer keeps to (see CRunSummary); the first that is missing, of
// the wrong kind or out of bounds is named in the error.
class CFigures
{
public:
    explicit CFigures(std::string& error) : m_sError(error) {}

    bool fail(const std::string& sentence)
    {
        if (m_sError.empty())
            m_sError = sentence;
        return false;
    }
    const Json* member(const Json& object, const std::string& key, const std::string& path)
    {
        if (object.is_object() && object.contains(key))
            return &object[key];
        fail(path + " is missing");
        return nullptr;
    }
    bool whole(const Json& object, const std::string& key, const std::string& path, unsigned long long low,
               unsigned long long high, unsigned long long& value)
    {
        const Json* found = member(object, key, path);
        if (!found)
            return false;
        if (!found->is_number_unsigned() || found->get<unsigned long long>() < low ||
            found->get<unsigned long long>() > high)
            return fail(path + " is not a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        value = found->get<unsigned long long>();
        return true;
    }
    // A count of things that happened: whole and not negative.
    bool count(const Json& object, const std::string& key, const std::string& path, double& value)
    {
        unsigned long long number = 0;
        if (!whole(object, key, path, 0, std::numeric_limits<long long>::max(), number))
            return false;
        value = static_cast<double>(number);
        return true;
    }
    // The member's number from low to high, or NaN for null.
    bool numberOrNull(const Json& object, const std::string& key, const std::string& path, double low, double high,
                      double& value)
    {
        const Json* found = member(object, key, path);
        return found && numberOrNull(*found, path, low, high, value);
    }
    // A number from low to high, or NaN for null.
    bool numberOrNull(const Json& item, const std::string& path, double low, double high, double& value)
    {
        if (item.is_null())
            value = std::numeric_limits<double>::quiet_NaN();
        else if (item.is_number() && item.get<double>() >= low && item.get<double>() <= high)
            value = item.get<double>();
        else
            return fail(path + " is neither null nor a number from " + shown(low) + " to " + shown(high));
        return true;
    }

private:
    static std::string shown(double bound)
    {
        std::ostringstream text;
        text << bound;
        return text.str();
    }

    std::string& m_sError;
};

bool readPopulation(const Json& populations, const std::string& name, double steps, CFigures& figures,
                    CRunResult::SPopulation& population)
{
    const std::string path = "populations." + name;
    const Json* figuresOf = figures.member(populations, name, path);
    if (!figuresOf)
        return false;
    const Json* thirds = figures.member(*figuresOf, "mean_fitness_of_deaths", path + ".mean_fitness_of_deaths");
    const Json* pool = figures.member(*figuresOf, "pool", path + ".pool");
    const Json* causes = figures.member(*figuresOf, "struck_down_by", path + ".struck_down_by");
    if (!thirds || !pool || !causes)
        return false;
    for (const CWorldTally::SCause& cause : CWorldTally::Causes)
        if (!figures.count(*causes, cause.szKey, path + ".struck_down_by." + cause.szKey,
                           population.adStruckDownBy[cause.iCause]))
            return false;
    if (!thirds->is_array() || thirds->size() != 3)
        return figures.fail(path + ".mean_fitness_of_deaths is not an array of three");
    constexpr double most = CAlien_Population::MaxFitness;
    for (int third = 0; third < 3; ++third)
        if (!figures.numberOrNull((*thirds)[third], path + ".mean_fitness_of_deaths[" + std::to_string(third) + "]",
                                  0.0, most, population.adFitnessOfDeaths[third]))
            return false;
    return figures.count(*figuresOf, "deaths", path + ".deaths", population.dDeaths) &&
           figures.numberOrNull(*figuresOf, "alive_share", path + ".alive_share", 0.0, 1.0, population.dAliveShare) &&
           figures.numberOrNull(*figuresOf, "mean_lifetime_steps", path + ".mean_lifetime_steps", 0.0, steps + 1.0,
                                population.dMeanLifetimeSteps) &&
           figures.numberOrNull(*pool, "best", path + ".pool.best", -most, most, population.dPoolBest) &&
           figures.numberOrNull(*pool, "mean", path + ".pool.mean", -most, most, population.dPoolMean) &&
           figures.numberOrNull(*pool, "worst", path + ".pool.worst", -most, most, population.dPoolWorst);
}
} // namespace

bool CRunResult::load(const std::string& fileName, std::string& error)
{
    std::string text;
    if (readRegularFile(fileName, MaxFileBytes, text, error) && parse(text, error))
        return true;
    error = fileName + ": " + error;
    return false;
}

bool CRunResult::parse(const std::string& text, std::string& error)
{
    *this = CRunResult();
    error.clear();
    Json summary;
    try
    {
        summary = Json::parse(text);
    }
    catch (const Json::exception& failure) // a syntax error, or a number too large for a double
    {
        error = std::string("not a summary: ") + failure.what();
        return false;
    }
    CFigures figures(error);
    unsigned long long seed = 0, steps = 0, framesPerSecond = 0;
    const Json* evolution = figures.member(summary, "evolution", "evolution");
    const Json* params = figures.member(summary, "params", "params");
    const Json* populations = figures.member(summary, "populations", "populations");
    if (!figures.whole(summary, "seed", "seed", 0, 0xFFFFFFFFull, seed) ||
        !figures.whole(summary, "steps", "steps", 0, std::numeric_limits<long long>::max(), steps) || !evolution ||
        !params || !populations ||
        !figures.whole(*params, "Game_FramesPerSecond", "params.Game_FramesPerSecond", 1,
                       std::numeric_limits<int>::max(), framesPerSecond) ||
        !figures.count(summary, "red_bullets_on_gun", "red_bullets_on_gun", m_dRedBulletsOnGun) ||
        !figures.count(summary, "gun_shots", "gun_shots", m_dGunShots) ||
        !figures.count(summary, "gun_kills", "gun_kills", m_dGunKills) ||
        !figures.count(summary, "red_on_red", "red_on_red", m_dRedOnRed) ||
        !figures.count(summary, "red_on_green", "red_on_green", m_dRedOnGreen))
        return false;
    if (!evolution->is_boolean())
        return figures.fail("evolution is not true or false");
    for (const auto& [name, value] : params->items())
        m_vParams.emplace_back(name, value.is_number() ? value.dump() : std::string());
    for (int which : {Red, Green})
        if (!readPopulation(*populations, PopulationNames[which], static_cast<double>(steps), figures,
                            m_asPopulations[which]))
            return false;
    m_uSeed = static_cast<unsigned>(seed);
    m_llSteps = static_cast<long long>(steps);
    m_bEvolution = evolution->get<bool>();
    m_dFramesPerSecond = static_cast<double>(framesPerSecond);
    return true;
}

bool CRunResult::belongsTo(unsigned seed, long long steps, bool evolution, const std::vector<std::string>& assignments,
                            std::string& error) const
{
    if (m_uSeed != seed || m_llSteps != steps || m_bEvolution != evolution)
    {
        error = "it is the summary of " + std::to_string(m_llSteps) + " steps with seed " + std::to_string(m_uSeed) +
                (m_bEvolution ? ", with evolution" : ", with --control") + ", not of " + std::to_string(steps) +
                " steps with seed " + std::to_string(seed) + (evolution ? ", with evolution" : ", with --control");
        return false;
    }
    for (const std::string& assignment : assignments)
    {
        const size_t equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        const std::string wanted = assignment.substr(equals + 1);
        std::string found;
        for (const auto& [param, value] : m_vParams)
            if (param == name)
                found = value;
        if (found.empty() || std::strtod(found.c_str(), nullptr) != std::strtod(wanted.c_str(), nullptr))
        {
            error = "its " + name + " is " + (found.empty() ? "not given" : found) + ", not " + wanted;
            return false;
        }
    }
    return true;
}
