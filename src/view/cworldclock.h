#pragma once

#include <deque>

// The game clock: how much world time the steps so far covered, and how fast it runs against
// real time. Guarantees: worldMs is the sum of the step lengths told; multiple is the world
// time over the real time between the oldest and the newest step of the last second of real
// time (0 until two steps lie apart in it); it keeps at most kMaxSamples steps, however fast
// they come.
class CWorldClock
{
public:
    static constexpr double kWindowMs = 1000.0;
    static constexpr int kMaxSamples = 4096;

    // One world step of dtMs, taken at real time nowMs (never running backwards).
    void addStep(double dtMs, double nowMs);
    double worldMs() const { return m_dWorldMs; }
    double multiple(double nowMs);

private:
    struct SSample
    {
        double dRealMs;
        double dWorldMs;
    };
    void forgetBefore(double nowMs);

    double m_dWorldMs = 0.0;
    std::deque<SSample> m_dqSamples;
};
