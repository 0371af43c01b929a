#include "world/cworldtally.h"

const CWorldTally::SCause CWorldTally::Causes[NumCauses] = {{CAUSE_GUN_BULLET, "gun_bullet", "gun bullet"},
                                                            {CAUSE_RED_BULLET, "red_bullet", "red bullet"},
                                                            {CAUSE_COLLISION, "collision", "collision"},
                                                            {CAUSE_EDGE, "edge", "edge"}};

long long CWorldTally::gunKills() const
{
    long long kills = 0;
    for (const auto& population : m_aaDeaths)
        kills += population[CAUSE_GUN_BULLET];
    return kills;
}

CWorldTally CWorldTally::since(const CWorldTally& earlier) const
{
    CWorldTally period;
    for (int p = 0; p < NumPopulations; ++p)
        for (int cause = 0; cause < NumCauses; ++cause)
            period.m_aaDeaths[p][cause] = m_aaDeaths[p][cause] - earlier.m_aaDeaths[p][cause];
    period.m_llHitsOnGun = m_llHitsOnGun - earlier.m_llHitsOnGun;
    period.m_llGunShots = m_llGunShots - earlier.m_llGunShots;
    period.m_llRedShots = m_llRedShots - earlier.m_llRedShots;
    return period;
}

long long CWorldTally::deathsOfAll() const
{
    long long all = 0;
    for (const auto& population : m_aaDeaths)
        for (const long long deaths : population)
            all += deaths;
    return all;
}
