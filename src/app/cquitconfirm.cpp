#include "app/cquitconfirm.h"

bool CQuitConfirm::press(double nowMs)
{
    if (nowMs - m_dAskedMs <= kWindowMs)
        return true;
    m_dAskedMs = nowMs;
    return false;
}
