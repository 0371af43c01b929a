#pragma once

#include <vector>

// What fingers on the picture ask for, each finger known by the identifier the screen gives
// it. Guarantees: the first finger put down while none drives takes the gun, wherever it goes
// down (over a ship too), and drives it to its x as it moves until that finger lifts; no
// other finger moves or releases the gun meanwhile. A finger that lifts within TapMs of going
// down, having moved less than the slop asked for, is a tap: it looks into the ship where it
// went down. A cancelled touch lifts its finger without a tap. Each finger's start is kept
// only while it is down, for at most MaxFingers fingers.
class CTouchGesture
{
public:
    static constexpr double TapMs = 250.0;
    static constexpr int MaxFingers = 10;

    static constexpr int DRIVE_HOLD = 0;    // the gun to x
    static constexpr int DRIVE_RELEASE = 1; // the gun's finger lifted
    static constexpr int TAP = 2;           // look into the ship at (x, y)
    struct SAction
    {
        int iKind;
        double dX;
        double dY;
    };

    std::vector<SAction> down(int finger, double x, double y, double nowMs);
    std::vector<SAction> move(int finger, double x, double y, double slop);
    std::vector<SAction> up(int finger, double nowMs, bool cancelled);
    bool isDriving() const { return m_bDriving; }

private:
    struct SFinger
    {
        int iId;
        double dX, dY;
        double dDownMs;
        bool bMoved;
    };
    SFinger* find(int finger);

    std::vector<SFinger> m_vFingers; // those down now
    bool m_bDriving = false;
    int m_iDriver = 0; // the finger that took the gun
};
