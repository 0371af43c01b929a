#pragma once

// Indexes into the texture table. The mask of the sprite with id n is the texture with id n + 1.
constexpr int TEX_UNDEFINED = 0;
constexpr int TEX_BACKGROUND = 1;
constexpr int TEX_BEING_BORN = 8;
constexpr int TEX_RED_ALIVE = 10;
constexpr int TEX_GREEN_ALIVE = 20;
constexpr int TEX_GREEN_DYING_1 = 22;
constexpr int TEX_GREEN_DYING_2 = 24;
constexpr int TEX_GREEN_DYING_3 = 26;
constexpr int TEX_GUN = 50;
constexpr int TEX_BULLET = 60;

constexpr int TEX_TABLE_SIZE = 70;
