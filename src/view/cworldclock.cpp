#include "view/cworldclock.h"

void CWorldClock::addStep(double dtMs, double nowMs)
{
    m_dWorldMs += dtMs;
    m_dqSamples.push_back({nowMs, m_dWorldMs});
    if (static_cast<int>(m_dqSamples.size()) > kMaxSamples)
        m_dqSamples.pop_front();
    forgetBefore(nowMs);
}

double CWorldClock::multiple(double nowMs)
{
    forgetBefore(nowMs);
    if (m_dqSamples.size() < 2)
        return 0.0;
    const SSample& first = m_dqSamples.front();
    const SSample& last = m_dqSamples.back();
    const double real = last.dRealMs - first.dRealMs;
    return real > 0 ? (last.dWorldMs - first.dWorldMs) / real : 0.0;
}

void CWorldClock::forgetBefore(double nowMs)
{
    while (!m_dqSamples.empty() && m_dqSamples.front().dRealMs < nowMs - kWindowMs)
        m_dqSamples.pop_front();
}
