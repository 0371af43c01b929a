#pragma once

// A finger held on a touch screen drives the gun towards it: each world step the gun is pushed
// left or right towards the finger's x, and not at all once it is within kDeadZone of it, so
// that it comes to rest under the finger instead of swinging about it. Lifting the finger
// ends the drive. World coordinates.
class CFingerDrive
{
public:
    static constexpr double kDeadZone = 8.0;

    void hold(double worldX)
    {
        m_bHeld = true;
        m_dX = worldX;
    }
    void release() { m_bHeld = false; }
    bool isHeld() const { return m_bHeld; }
    // The movement code for the next step of a gun at gunX (ACTION_LEFT, ACTION_RIGHT or
    // ACTION_NONE); ACTION_UNDEFINED while no finger is held.
    int push(double gunX) const;

private:
    bool m_bHeld = false;
    double m_dX = 0.0;
};
