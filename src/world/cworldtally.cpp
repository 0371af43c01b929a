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
