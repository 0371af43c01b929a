#include "app/cquitconfirm.h"

bool CQuitConfirm::press(double nowMs)
{
    if (nowMs - m_dAskedMs <= kWindowMs)
        return true;
    m_dAskedMs = nowMs;
    return false;
}

bool CQuitConfirm::withdraw(double nowMs)
{
    const bool open = nowMs - m_dAskedMs <= kWindowMs;
    m_dAskedMs = -1e300;
    return open;
}
