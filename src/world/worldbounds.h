#pragma once

class CGameController;

// The most aliens and bullets the rules allow at once under the current parameters: what a
// world that neither leaks nor grows without bound keeps to, however long it runs.
struct SWorldBounds
{
    long long llGreenAliens; // the starting count, or the zone's seats when offspring are on
    long long llRedAliens;
    long long llGunBullets;  // one per fire interval for as long as a bullet flies
    long long llRedBullets;  // one per attack decision for as long as a bullet flies
};

SWorldBounds worldBounds();

// The aliens the band seats in the boxes of twice their size they start in.
long long bandSeats();
// How crowded the band may be made: aliens crowded over each other sense every one they
// overlap, and beyond this many times its seats a world of thousands would take seconds a step.
constexpr long long MaxAliensPerSeat = 2;

// Null when the world keeps to the bounds; otherwise what exceeds them.
const char* exceededBound(const CGameController& controller, const SWorldBounds& bounds);
