#pragma once

// Sprites are drawn at the current model-view origin (their bottom-left corner) through
// their mask in two blended passes: framebuffer × mask, then + colour.

// An alien-sized sprite with the given colour texture id; its mask is id + 1.
void drawSprite(int textureId);
void drawGun();
void drawBullet();
// The background texture over the whole window.
void drawBackground();
