#pragma once

// Which sprite each alien shows, and for how long, by [animation kind][life state][frame].
// Kind 0 is green (and trainee) aliens, kind 1 red; the life-state code is the index, so
// the unused state 2 has an empty row. Built once at start-up, never changed afterwards.

constexpr int ANIM_NUM_KINDS = 2;
constexpr int ANIM_NUM_STATES = 5;
constexpr int ANIM_MAX_FRAMES = 3;

// A frame with this time stays until the alien's life state changes.
constexpr double ANIM_FRAME_HOLD = -9999.0;

extern int g_iAnimTextureId[ANIM_NUM_KINDS][ANIM_NUM_STATES][ANIM_MAX_FRAMES];
extern double g_dAnimFrameTime[ANIM_NUM_KINDS][ANIM_NUM_STATES][ANIM_MAX_FRAMES];
extern bool g_bAnimTablesBuilt;

// Fills both tables; the explosion frames take CParams::Alien_ExplosionFrameTime as it is now.
void buildAnimationTables();
