#include "view/cplayerstake.h"

#include <algorithm>

void CPlayerStake::observe(long long kills, long long hitsOnGun, double worldMs, double realMs)
{
    m_kills.add(worldMs, kills);
    m_hits.add(worldMs, hitsOnGun);
    if (hitsOnGun > m_llHitsSeen)
        m_dLastHitRealMs = realMs;
    m_llHitsSeen = hitsOnGun;
}

double CPlayerStake::flash(double realMs) const
{
    return std::clamp(1.0 - (realMs - m_dLastHitRealMs) / kFlashMs, 0.0, 1.0);
}
