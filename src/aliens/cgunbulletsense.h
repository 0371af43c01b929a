#pragma once

#include <vector>

#include "world/cworldview.h"
#include "world/utils.h"

// What an alien sees of the gun's bullets coming at it, as inputs of its movement network.
// A bullet comes at the alien while it is less than Reach alien widths aside of the alien's
// centre (an alien at full speed needs that warning to get out of a bullet's way: within one
// width it is already too late), its box's bottom is not above the top of the alien's box,
// and it would reach the alien's box within the sensors' horizon (Alien_SensorMaxTime) at
// Bullet_Speed. For each of the nearest `count` of them, nearest (soonest) first, ties by
// their place in the gun's list:
// - its offset across, (bullet x - alien x) / (Reach x Alien_Width), in (-1, 1);
// - its time to reach the alien's box over the horizon, in [0, 1) (0: it touches it now).
// A place with no bullet coming reads (0, 1). The answer is the same whether the world
// answers through its index or by its reference walk, and it draws no random numbers.
class CGunBulletSense
{
public:
    static constexpr int MaxBullets = 4;
    static constexpr int InputsPerBullet = 2;
    static constexpr double Reach = 4.0; // alien widths aside

    // Appends 2 x count inputs for an alien whose box is the given one, centred at x.
    static void append(const SRect& alienBox, double x, const CWorldView& world, int count,
                       std::vector<double>& inputs);
};
