#include "app/cchallenge.h"

#include <algorithm>

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
} // namespace

void CChallenge::start(const CWorldTally& tally, double worldMs)
{
    m_bOn = true;
    m_bOver = false;
    m_start = tally;
    m_dStartMs = worldMs;
    m_llHits = m_llScore = 0;
    m_dSurvivedMs = 0.0;
}

bool CChallenge::observe(const CWorldTally& tally, double worldMs)
{
    if (!m_bOn)
        return false;
    const CWorldTally game = tally.since(m_start);
    m_llHits = game.hitsOnGun();
    m_llScore = GreenPoints * game.deaths(kGreen, CAUSE_GUN_BULLET) + RedPoints * game.deaths(kRed, CAUSE_GUN_BULLET);
    m_dSurvivedMs = worldMs - m_dStartMs;
    if (m_llHits < static_cast<long long>(Lives) * HitsPerLife)
        return false;
    m_bOn = false;
    m_bOver = true;
    return true;
}

int CChallenge::livesLeft() const
{
    const long long lost = m_llHits / HitsPerLife;
    return static_cast<int>(std::max<long long>(0, Lives - lost));
}

int CChallenge::shieldLeft() const
{
    return livesLeft() == 0 ? 0 : HitsPerLife - static_cast<int>(m_llHits % HitsPerLife);
}
