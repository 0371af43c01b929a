#include "brain/cpoolfade.h"

#include <cmath>

double CPoolFade::takeFactor()
{
    if (m_dHalfLifeMs <= 0.0 || m_dSinceFadeMs <= 0.0)
        return 1.0;
    const double factor = std::exp2(-m_dSinceFadeMs / m_dHalfLifeMs);
    m_dSinceFadeMs = 0.0;
    return factor;
}
