#include "world/cworldtally.h"

const char* const CWorldTally::CauseNames[NumCauses] = {"collision", "gun_bullet", "red_bullet", "edge"};

long long CWorldTally::gunKills() const
{
    long long kills = 0;
    for (const auto& population : m_aaDeaths)
        kills += population[CAUSE_GUN_BULLET];
    return kills;
}
