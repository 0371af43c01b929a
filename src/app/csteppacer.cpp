#include "app/csteppacer.h"

#include <cmath>

CStepPacer::CStepPacer(double stepMs, int maxStepsPerCall) : m_dStepMs(stepMs), m_iMaxStepsPerCall(maxStepsPerCall)
{
}

void CStepPacer::start(double nowMs)
{
    m_dNextStepMs = nowMs + m_dStepMs;
}

int CStepPacer::stepsDue(double nowMs)
{
    if (nowMs < m_dNextStepMs)
        return 0;
    const double owed = std::floor((nowMs - m_dNextStepMs) / m_dStepMs) + 1;
    if (owed > m_iMaxStepsPerCall)
    {
        start(nowMs);
        return m_iMaxStepsPerCall;
    }
    m_dNextStepMs += owed * m_dStepMs;
    return static_cast<int>(owed);
}

bool CStepPacer::redrawDue(double nowMs, double gapMs)
{
    if (nowMs - m_dLastRedrawMs < gapMs)
        return false;
    m_dLastRedrawMs = nowMs;
    return true;
}
