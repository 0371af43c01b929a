#pragma once

#include "world/utils.h"

// Sprites are drawn through their mask in two blended passes: framebuffer × mask, then +
// colour, clamped to 1.

// What a sprite looks like: its colour texture id (the mask is id + 1) and its quad, the
// size parameters truncated to whole pixels.
struct SSpriteLook
{
    int iTexture;
    int iWidth;
    int iHeight;
};

SSpriteLook alienLook(int textureId); // any alien kind, and the trainee
SSpriteLook gunLook();
SSpriteLook bulletLook();

// Where a sprite goes: its quad's bottom-left corner moves to (x, y), then up by lift, then
// the quad turns about that corner clockwise by angle degrees when turned. GL receives each
// as a float, as the game always passed them.
struct SSpritePlace
{
    double x;
    double y;
    double lift;
    bool bTurned;
    double angle;
};

// Aliens are centred on their position and never turned; bullets turn by their angle.
SSpritePlace alienPlace(SVector2D centre);
SSpritePlace bulletPlace(SVector2D centre, double angle);
// The gun turns by its angle; a positive angle also lifts it by the drop of its turned
// bottom-right corner, so that this corner stays on the gun's base line.
SSpritePlace gunPlace(SVector2D centre, double angle);

// Moves and turns the current model-view matrix to the place: translate, lift, turn.
void applyPlace(const SSpritePlace& place);

// A w × h quad at the current model-view origin, texture coordinates 0 to 1 from its
// bottom-left corner, counter-clockwise.
void drawQuad(int w, int h);
// The sprite's quad at the current model-view origin, both passes.
void drawMasked(const SSpriteLook& look);
// Blending on and the depth test off for sprites, and back.
void beginSprites();
void endSprites();
// The blend function and texture of each pass.
void setMaskPass(int textureId);
void setColourPass(int textureId);

// The background texture over the whole window, unblended, writing depth.
void drawBackground();
