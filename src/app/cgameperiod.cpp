#include "app/cgameperiod.h"

#include <cmath>

bool CGamePeriod::isDue(double worldMs)
{
    const long long ended = static_cast<long long>(std::floor(worldMs / m_dPeriodMs));
    if (ended <= m_llEnded)
        return false;
    m_llEnded = ended;
    return true;
}
