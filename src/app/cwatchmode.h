#pragma once

// "Watch evolution" (key w): the game set up for watching the aliens learn, and set back.
// Starting it turns on the gun's automatic mode and its firing, the learning graph and fast
// mode, and remembers how each stood; ending it puts each back as it stood before, whatever
// was pressed meanwhile, so that a player who only wanted a look gets the game back as it was.
class CWatchMode
{
public:
    struct SState
    {
        bool bGunAuto;
        bool bFiring;
        bool bGraph;
        bool bFast;
        bool operator==(const SState& other) const
        {
            return bGunAuto == other.bGunAuto && bFiring == other.bFiring && bGraph == other.bGraph &&
                   bFast == other.bFast;
        }
    };

    // What the game must become: everything on when watching starts, the state from before
    // when it ends.
    SState toggle(const SState& now);
    bool isOn() const { return m_bOn; }

private:
    bool m_bOn = false;
    SState m_sBefore{false, false, false, false};
};
