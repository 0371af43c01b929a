#include "render/sprites.h"

#include <GL/gl.h>

#include "app/cparams.h"
#include "render/ctexture.h"

namespace
{
void drawQuad(int w, int h)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3i(0, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3i(w, 0, 0);
    glTexCoord2f(1, 1);
    glVertex3i(w, h, 0);
    glTexCoord2f(0, 1);
    glVertex3i(0, h, 0);
    glEnd();
}

void drawMasked(int textureId, double width, double height)
{
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, g_aTextures[textureId + 1].getId());
    drawQuad(w, h);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, g_aTextures[textureId].getId());
    drawQuad(w, h);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
} // namespace

void drawSprite(int textureId)
{
    drawMasked(textureId, CParams::Alien_Width, CParams::Alien_Height);
}

void drawGun()
{
    drawMasked(TEX_GUN, CParams::Gun_Width, CParams::Gun_Height);
}

void drawBullet()
{
    drawMasked(TEX_BULLET, CParams::Bullet_Width, CParams::Bullet_Height);
}

void drawBackground()
{
    glBindTexture(GL_TEXTURE_2D, g_aTextures[TEX_BACKGROUND].getId());
    drawQuad(CParams::Window_Width, CParams::Window_Height);
}
