#pragma once

// A period of game time: world steps times their length, so that fast mode counts in full and
// a pause not at all. Guarantees: isDue is true once for each call at which the world's time has
// reached the end of a period since the last true, at most once a call (the periods a long
// step passes are one); periodsEnded is how many whole periods the world's time holds.
class CGamePeriod
{
public:
    explicit CGamePeriod(double periodMs) : m_dPeriodMs(periodMs) {}

    bool isDue(double worldMs);
    long long periodsEnded() const { return m_llEnded; }
    double periodMs() const { return m_dPeriodMs; }

private:
    double m_dPeriodMs;
    long long m_llEnded = 0;
};
