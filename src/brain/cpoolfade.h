#pragma once

// How a brain pool's fitness fades with game time. A pool entry's fitness is mostly luck its
// children do not inherit: kept for ever, the luckiest lives seen fill the pool within
// minutes and hardly any newcomer beats them again, so the parents of every new alien are
// old outliers of luck. With a half-life, every entry's fitness halves for each half-life of
// game time, so an old lucky life makes way for newer good ones and the pool holds the best
// of the recent lives; the entries' order never changes by fading, only their lead over a
// newcomer. Without one (0) nothing fades: the pool holds the best brains ever offered.
class CPoolFade
{
public:
    explicit CPoolFade(double halfLifeMinutes = 0.0) : m_dHalfLifeMs(halfLifeMinutes * 60000.0) {}

    void passTime(double ms) { m_dSinceFadeMs += ms; }
    // The factor by which every entry's fitness fades now (1 without a half-life); the game
    // time since the last fading starts again.
    double takeFactor();

private:
    double m_dHalfLifeMs;
    double m_dSinceFadeMs = 0.0;
};
