#include "brain/animationtables.h"

#include "app/cparams.h"
#include "brain/textureids.h"

int g_iAnimTextureId[ANIM_NUM_KINDS][ANIM_NUM_STATES][ANIM_MAX_FRAMES] = {};
double g_dAnimFrameTime[ANIM_NUM_KINDS][ANIM_NUM_STATES][ANIM_MAX_FRAMES] = {};
bool g_bAnimTablesBuilt = false;

namespace
{
// Local names for the kinds and life states that index the tables.
constexpr int kKindGreen = 0;
constexpr int kKindRed = 1;
constexpr int kStateBeingBorn = 0;
constexpr int kStateAlive = 1;
constexpr int kStateDying = 3;
constexpr int kStateDead = 4;

void setFrame(int kind, int state, int frame, int textureId, double time)
{
    g_iAnimTextureId[kind][state][frame] = textureId;
    g_dAnimFrameTime[kind][state][frame] = time;
}

// Every kind shares the birth, explosion and dead pictures; only the living one differs.
void buildKind(int kind, int aliveTextureId)
{
    const double explosionTime = CParams::Alien_ExplosionFrameTime;
    setFrame(kind, kStateBeingBorn, 0, TEX_BEING_BORN, ANIM_FRAME_HOLD);
    setFrame(kind, kStateAlive, 0, aliveTextureId, ANIM_FRAME_HOLD);
    setFrame(kind, kStateDying, 0, TEX_GREEN_DYING_1, explosionTime);
    setFrame(kind, kStateDying, 1, TEX_GREEN_DYING_2, explosionTime);
    setFrame(kind, kStateDying, 2, TEX_GREEN_DYING_3, ANIM_FRAME_HOLD);
    setFrame(kind, kStateDead, 0, TEX_UNDEFINED, ANIM_FRAME_HOLD);
}
}

void buildAnimationTables()
{
    buildKind(kKindGreen, TEX_GREEN_ALIVE);
    buildKind(kKindRed, TEX_RED_ALIVE);
    g_bAnimTablesBuilt = true;
}
