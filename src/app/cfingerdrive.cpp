#include "app/cfingerdrive.h"

#include "world/saction.h"

int CFingerDrive::push(double gunX) const
{
    if (!m_bHeld)
        return ACTION_UNDEFINED;
    if (m_dX < gunX - kDeadZone)
        return ACTION_LEFT;
    if (m_dX > gunX + kDeadZone)
        return ACTION_RIGHT;
    return ACTION_NONE;
}
