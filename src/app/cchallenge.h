#pragma once

#include "world/cworldtally.h"

// A game with something at stake, followed from the world's tally: the gun has Lives lives,
// each worn down by HitsPerLife red bullets (its shield), and every alien its bullets strike
// down scores, a red one more than a green one. Guarantees: a challenge counts only what
// happened since it started (the world and its evolved pools run on from game to game); the
// hit that takes the last of the shield of the last life ends it in that step, and from then on
// its figures stay as they were at the end until it starts again.
class CChallenge
{
public:
    static constexpr int Lives = 3;
    static constexpr int HitsPerLife = 8;
    static constexpr int GreenPoints = 10;
    static constexpr int RedPoints = 25;

    // A new game from the world as it stands now, at this game time.
    void start(const CWorldTally& tally, double worldMs);
    // After each world step; true when this step ended the game.
    bool observe(const CWorldTally& tally, double worldMs);
    // Gone: no challenge runs, as in free play.
    void stop() { m_bOn = m_bOver = false; }

    bool isOn() const { return m_bOn; }     // a game runs
    bool isOver() const { return m_bOver; } // a game ended and waits to be played again
    int livesLeft() const;
    int shieldLeft() const; // hits the current life takes before it is lost
    long long score() const { return m_llScore; }
    double survivedMs() const { return m_dSurvivedMs; }

private:
    bool m_bOn = false;
    bool m_bOver = false;
    CWorldTally m_start;
    double m_dStartMs = 0.0;
    long long m_llHits = 0;
    long long m_llScore = 0;
    double m_dSurvivedMs = 0.0;
};
