#include "render/scene.h"

#include <GL/gl.h>

#include <cmath>

#include "aliens/calien_green_trainee.h"
#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "render/sprites.h"
#include "world/cbullet.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
// Sprites are placed by their bottom-left corner and turn clockwise about it.
void placeSprite(SVector2D centre, double width, double height)
{
    glTranslatef(static_cast<float>(centre.x - width / 2), static_cast<float>(centre.y - height / 2), 0.0f);
}

void drawAlien(const CAlien& alien)
{
    glPushMatrix();
    placeSprite(alien.getPosition(), CParams::Alien_Width, CParams::Alien_Height);
    drawSprite(alien.getTextureId());
    glPopMatrix();
}

void drawBullets(const std::vector<CBullet*>& bullets)
{
    for (const CBullet* bullet : bullets)
    {
        glPushMatrix();
        placeSprite(bullet->getPosition(), CParams::Bullet_Width, CParams::Bullet_Height);
        glRotatef(static_cast<float>(bullet->getAngle()), 0.0f, 0.0f, -1.0f);
        drawBullet();
        glPopMatrix();
    }
}

void drawAliens(const CGameController& controller)
{
    for (const CAlien_Population* population : controller.getPopulations())
        for (const CAlien* alien : population->getAliens())
        {
            if (!alien->isActive())
                continue;
            drawAlien(*alien);
            if (alien->getType() == TYPE_RED)
                drawBullets(static_cast<const CAlien_Red*>(alien)->getBullets());
        }
}

void drawTheGun(const CGun& gun)
{
    glPushMatrix();
    placeSprite(gun.getPosition(), CParams::Gun_Width, CParams::Gun_Height);
    const double a = gun.getAngle();
    // Lifted so that the turned sprite's bottom-right corner stays on the base line.
    if (a > 0)
        glTranslatef(0.0f, static_cast<float>(std::sin(std::fabs(a * 6.283 / 360)) * CParams::Gun_Width), 0.0f);
    glRotatef(static_cast<float>(a), 0.0f, 0.0f, -1.0f);
    drawGun();
    glPopMatrix();
}
} // namespace

void drawScene(const CGameController& controller, const std::function<void()>& helpPage,
               const std::function<void()>& statsOverlay)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    drawBackground();
    if (helpPage)
        helpPage();
    drawAliens(controller);
    if (statsOverlay)
        statsOverlay();
    if (const CAlien_Green_Trainee* trainee = controller.getTrainee())
        drawAlien(*trainee);
    drawTheGun(*controller.getGun());
    drawBullets(controller.getGun()->getBullets());
}
