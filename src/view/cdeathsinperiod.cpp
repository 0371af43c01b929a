#include "view/cdeathsinperiod.h"

#include <limits>

#include "brain/calien_population.h"

CDeathsInPeriod::SPeriod CDeathsInPeriod::take(const CAlien_Population& population)
{
    const long long deaths = population.getTotalOffered() - m_llDeaths;
    const double fitness = population.getTotalFitnessOffered() - m_dFitness;
    m_llDeaths = population.getTotalOffered();
    m_dFitness = population.getTotalFitnessOffered();
    const long long joined = population.getTotalJoined() - m_llJoined;
    m_llJoined = population.getTotalJoined();
    return {deaths, deaths > 0 ? fitness / deaths : std::numeric_limits<double>::quiet_NaN(), joined};
}
