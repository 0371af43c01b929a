#pragma once

#include "world/cgamecontroller.h"

// What random brains achieve in the game's own conditions, to compare the game's learning
// with: a world beside the game with the same parameters, evolution off (every dead alien is
// reborn with random weights), a random sequence of its own and the game's gun replayed:
// after each game step it takes one step in which its gun stands where the game's stands and
// fires the shots the game's fired, whether the player, the automatic mode or nobody drives
// it. It never draws from, reads or changes anything of the game's world but its gun, so the
// game's seeded course is the same with or without it; it costs one world step a game step,
// and keeps its warnings to itself (the game's world gives them).
class CControlWorld
{
public:
    // The world is built from the game's seed, made another by a fixed mix, so that a seeded
    // game has the same control world wherever it runs.
    void init(unsigned gameSeed);
    // After the game's step of the same length, with the game's gun.
    void step(const CGun& gameGun, double dt);
    const CGameController& world() const { return m_world; }
    bool isInitialized() const { return m_bInitialized; }
    static unsigned seedFor(unsigned gameSeed);

private:
    CGameController m_world; // owns the control's aliens, pools and gun
    bool m_bInitialized = false;
};
