#pragma once

#include "view/crateoverlastminute.h"

// What the player has at stake, followed from the world's tally: the gun's kills and the hits
// it took, each with its rate over the last game minute (the player's own view of the red ships
// learning to aim), and a flash that lights the gun after each hit. Guarantees: the flash is 1
// when a hit is first seen and fades linearly to 0 over kFlashMs of real time, so that a hit
// shows at any speed of the game; it is 0 before any hit.
class CPlayerStake
{
public:
    static constexpr double kFlashMs = 400.0;

    // The tally's counts after a world step at this game time, seen at this real time.
    void observe(long long kills, long long hitsOnGun, double worldMs, double realMs);
    double killsPerMinute() const { return m_kills.perMinute(); }
    double hitsPerMinute() const { return m_hits.perMinute(); }
    double flash(double realMs) const;

private:
    CRateOverLastMinute m_kills;
    CRateOverLastMinute m_hits;
    long long m_llHitsSeen = 0;
    double m_dLastHitRealMs = -1e300; // long before any hit
};
