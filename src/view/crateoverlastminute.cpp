#include "view/crateoverlastminute.h"

#include <limits>

void CRateOverLastMinute::add(double worldMs, long long count)
{
    m_sNow = {worldMs, count};
    if (m_dqSamples.empty() || worldMs - m_dqSamples.back().dWorldMs >= kSampleMs)
        m_dqSamples.push_back(m_sNow);
    // The oldest sample kept is the last one at or before the window's start.
    while (m_dqSamples.size() > 1 && m_dqSamples[1].dWorldMs <= worldMs - kWindowMs)
        m_dqSamples.pop_front();
}

double CRateOverLastMinute::perMinute() const
{
    if (m_dqSamples.empty())
        return std::numeric_limits<double>::quiet_NaN();
    const SSample& from = m_dqSamples.front();
    const double span = m_sNow.dWorldMs - from.dWorldMs;
    if (span < kMinSpanMs)
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(m_sNow.llCount - from.llCount) / span * 60000.0;
}
