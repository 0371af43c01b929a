#include "sweep/crunresult.h"

#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>

#include "files/safefile.h"

const char* const CRunResult::PopulationNames[2] = {"red", "green"};

namespace
{
using Json = nlohmann::json;

// The figures of a summary, each found by its path ("populations.red.deaths"); the first
// that is missing or of the wrong kind is named in the error.
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
    bool number(const Json& object, const std::string& key, const std::string& path, double& value)
    {
        const Json* found = member(object, key, path);
        if (!found)
            return false;
        if (!found->is_number())
            return fail(path + " is not a number");
        value = found->get<double>();
        return true;
    }
    bool whole(const Json& object, const std::string& key, unsigned long long max, unsigned long long& value)
    {
        const Json* found = member(object, key, key);
        if (!found)
            return false;
        if (!found->is_number_unsigned() || found->get<unsigned long long>() > max)
            return fail(key + " is not a whole number from 0 to " + std::to_string(max));
        value = found->get<unsigned long long>();
        return true;
    }
    // The member's number, or NaN for null.
    bool numberOrNull(const Json& object, const std::string& key, const std::string& path, double& value)
    {
        const Json* found = member(object, key, path);
        return found && numberOrNull(*found, path, value);
    }
    // A number, or NaN for null.
    bool numberOrNull(const Json& item, const std::string& path, double& value)
    {
        if (item.is_null())
            value = std::numeric_limits<double>::quiet_NaN();
        else if (item.is_number())
            value = item.get<double>();
        else
            return fail(path + " is neither a number nor null");
        return true;
    }

private:
    std::string& m_sError;
};

bool readPopulation(const Json& populations, const std::string& name, CFigures& figures,
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
        if (!figures.number(*causes, cause.szKey, path + ".struck_down_by." + cause.szKey,
                            population.adStruckDownBy[cause.iCause]))
            return false;
    if (!thirds->is_array() || thirds->size() != 3)
        return figures.fail(path + ".mean_fitness_of_deaths is not an array of three");
    for (int third = 0; third < 3; ++third)
        if (!figures.numberOrNull((*thirds)[third], path + ".mean_fitness_of_deaths[" + std::to_string(third) + "]",
                                  population.adFitnessOfDeaths[third]))
            return false;
    return figures.number(*figuresOf, "deaths", path + ".deaths", population.dDeaths) &&
           figures.numberOrNull(*figuresOf, "alive_share", path + ".alive_share", population.dAliveShare) &&
           figures.numberOrNull(*figuresOf, "mean_lifetime_steps", path + ".mean_lifetime_steps",
                                population.dMeanLifetimeSteps) &&
           figures.numberOrNull(*pool, "best", path + ".pool.best", population.dPoolBest) &&
           figures.numberOrNull(*pool, "mean", path + ".pool.mean", population.dPoolMean) &&
           figures.numberOrNull(*pool, "worst", path + ".pool.worst", population.dPoolWorst);
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
    catch (const Json::parse_error& failure)
    {
        error = std::string("not a summary: ") + failure.what();
        return false;
    }
    CFigures figures(error);
    unsigned long long seed = 0, steps = 0;
    double framesPerSecond = 0;
    const Json* evolution = figures.member(summary, "evolution", "evolution");
    const Json* params = figures.member(summary, "params", "params");
    const Json* populations = figures.member(summary, "populations", "populations");
    if (!figures.whole(summary, "seed", 0xFFFFFFFFull, seed) ||
        !figures.whole(summary, "steps", std::numeric_limits<long long>::max(), steps) || !evolution || !params ||
        !populations ||
        !figures.number(*params, "Game_FramesPerSecond", "params.Game_FramesPerSecond", framesPerSecond) ||
        !figures.number(summary, "red_bullets_on_gun", "red_bullets_on_gun", m_dRedBulletsOnGun))
        return false;
    if (!evolution->is_boolean())
        return figures.fail("evolution is not true or false");
    if (!(framesPerSecond > 0.0))
        return figures.fail("params.Game_FramesPerSecond is not above 0");
    for (const auto& [name, value] : params->items())
        m_vParams.emplace_back(name, value.is_number() ? value.dump() : std::string());
    for (int which : {Red, Green})
        if (!readPopulation(*populations, PopulationNames[which], figures, m_asPopulations[which]))
            return false;
    m_uSeed = static_cast<unsigned>(seed);
    m_llSteps = static_cast<long long>(steps);
    m_bEvolution = evolution->get<bool>();
    m_dFramesPerSecond = framesPerSecond;
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
