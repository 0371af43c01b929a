#include "render/sprites.h"

#include <GL/gl.h>

#include <cmath>

#include "app/cparams.h"
#include "render/ctexture.h"

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

namespace
{
SSpriteLook look(int textureId, double width, double height)
{
    return {textureId, static_cast<int>(width), static_cast<int>(height)};
}

SSpritePlace centred(SVector2D centre, double width, double height)
{
    return {centre.x - width / 2, centre.y - height / 2, 0.0, false, 0.0};
}
} // namespace

SSpriteLook alienLook(int textureId)
{
    return look(textureId, CParams::Alien_Width, CParams::Alien_Height);
}

SSpriteLook gunLook()
{
    return look(TEX_GUN, CParams::Gun_Width, CParams::Gun_Height);
}

SSpriteLook bulletLook()
{
    return look(TEX_BULLET, CParams::Bullet_Width, CParams::Bullet_Height);
}

SSpritePlace alienPlace(SVector2D centre)
{
    return centred(centre, CParams::Alien_Width, CParams::Alien_Height);
}

SSpritePlace bulletPlace(SVector2D centre, double angle)
{
    SSpritePlace place = centred(centre, CParams::Bullet_Width, CParams::Bullet_Height);
    place.bTurned = true;
    place.angle = angle;
    return place;
}

SSpritePlace gunPlace(SVector2D centre, double angle)
{
    SSpritePlace place = centred(centre, CParams::Gun_Width, CParams::Gun_Height);
    if (angle > 0)
        place.lift = std::sin(std::fabs(angle * 6.283 / 360)) * CParams::Gun_Width;
    place.bTurned = true;
    place.angle = angle;
    return place;
}

void applyPlace(const SSpritePlace& place)
{
    glTranslatef(static_cast<float>(place.x), static_cast<float>(place.y), 0.0f);
    if (place.lift != 0.0)
        glTranslatef(0.0f, static_cast<float>(place.lift), 0.0f);
    if (place.bTurned)
        glRotatef(static_cast<float>(place.angle), 0.0f, 0.0f, -1.0f);
}

void drawMasked(const SSpriteLook& look)
{
    beginSprites();
    setMaskPass(look.iTexture);
    drawQuad(look.iWidth, look.iHeight);
    setColourPass(look.iTexture);
    drawQuad(look.iWidth, look.iHeight);
    endSprites();
}

void beginSprites()
{
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
}

void endSprites()
{
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void setMaskPass(int textureId)
{
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, g_aTextures[textureId + 1].getId());
}

void setColourPass(int textureId)
{
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, g_aTextures[textureId].getId());
}

void drawBackground()
{
    glBindTexture(GL_TEXTURE_2D, g_aTextures[TEX_BACKGROUND].getId());
    drawQuad(CParams::Window_Width, CParams::Window_Height);
}
