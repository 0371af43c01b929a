#pragma once

// What aliens with random brains achieve under the parameters in use: the mean fitness that
// the red and the green aliens dying in a world of their own carry, a world with evolution off
// (every dead alien is reborn with random weights), run from a fixed seed for kGameMinutes of
// game time or kAlienSteps alien-steps, whichever is less, so that it costs a bounded amount
// of work whatever the parameters. What that world prints is not shown.
// It seeds the C library's one random sequence, so it must run before the game seeds its own:
// the game's sequence, and every result seeded after it, are then the same with or without it.
class CRandomBaseline
{
public:
    static constexpr unsigned kSeed = 20261209;
    static constexpr double kGameMinutes = 3.0;
    static constexpr long long kAlienSteps = 200000;

    struct SMeans
    {
        double dRed; // NaN when none died
        double dGreen;
    };
    // The animation tables must be built. gunAuto: the gun drives itself and fires, standing
    // in for a player; otherwise it stands still and does not fire.
    static SMeans measure(bool gunAuto);
    static long long steps();
};
