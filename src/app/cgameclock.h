#pragma once

// Game time: the world steps taken times their length, so that fast mode, which takes
// steps as quickly as it can, counts in full and a pause does not count at all.
class CGameClock
{
public:
    void step(double lengthMs) { m_dMs += lengthMs; }
    double minutes() const { return m_dMs / 60000.0; }

private:
    double m_dMs = 0.0;
};
