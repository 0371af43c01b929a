#include "app/ctouchgesture.h"

#include <algorithm>
#include <cmath>

CTouchGesture::SFinger* CTouchGesture::find(int finger)
{
    const auto found =
        std::find_if(m_vFingers.begin(), m_vFingers.end(), [finger](const SFinger& f) { return f.iId == finger; });
    return found == m_vFingers.end() ? nullptr : &*found;
}

std::vector<CTouchGesture::SAction> CTouchGesture::down(int finger, double x, double y, double nowMs)
{
    if (find(finger) || static_cast<int>(m_vFingers.size()) >= MaxFingers)
        return {};
    m_vFingers.push_back({finger, x, y, nowMs, false});
    if (m_bDriving)
        return {};
    m_bDriving = true;
    m_iDriver = finger;
    return {{DRIVE_HOLD, x, y}};
}

std::vector<CTouchGesture::SAction> CTouchGesture::move(int finger, double x, double y, double slop)
{
    SFinger* f = find(finger);
    if (!f)
        return {};
    if (std::hypot(x - f->dX, y - f->dY) >= slop)
        f->bMoved = true;
    if (m_bDriving && finger == m_iDriver)
        return {{DRIVE_HOLD, x, y}};
    return {};
}

std::vector<CTouchGesture::SAction> CTouchGesture::up(int finger, double nowMs, bool cancelled)
{
    SFinger* f = find(finger);
    if (!f)
        return {};
    const SFinger lifted = *f;
    m_vFingers.erase(m_vFingers.begin() + (f - m_vFingers.data()));
    std::vector<SAction> actions;
    if (m_bDriving && finger == m_iDriver)
    {
        m_bDriving = false;
        actions.push_back({DRIVE_RELEASE, lifted.dX, lifted.dY});
    }
    if (!cancelled && !lifted.bMoved && nowMs - lifted.dDownMs < TapMs)
        actions.push_back({TAP, lifted.dX, lifted.dY});
    return actions;
}
