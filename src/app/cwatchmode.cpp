#include "app/cwatchmode.h"

CWatchMode::SState CWatchMode::toggle(const SState& now)
{
    m_bOn = !m_bOn;
    if (!m_bOn)
        return m_sBefore;
    m_sBefore = now;
    return {true, true, true, true};
}
