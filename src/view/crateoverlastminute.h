#pragma once

#include <deque>

// How fast a running count (the gun's kills, the hits it took) grows, per minute of game time
// over the last game minute. Guarantees: before the count has been followed for kMinSpanMs of
// game time the rate is not known (NaN); from then on it is the growth over the last
// kWindowMs, or over all the time followed while that is shorter, per minute. It keeps at most
// one sample per kSampleMs of game time, so its memory is bounded however long the game runs.
class CRateOverLastMinute
{
public:
    static constexpr double kWindowMs = 60000.0;
    static constexpr double kSampleMs = 1000.0;
    static constexpr double kMinSpanMs = 10000.0;

    // The count at this game time; the times given never go back.
    void add(double worldMs, long long count);
    double perMinute() const;

private:
    struct SSample
    {
        double dWorldMs;
        long long llCount;
    };
    std::deque<SSample> m_dqSamples; // oldest first; the first lies at or before the window's start
    SSample m_sNow{0.0, 0};
};
