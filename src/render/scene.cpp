#include "render/scene.h"

#include <GL/gl.h>

#include "aliens/calien_green_trainee.h"
#include "app/cparams.h"
#include "aliens/calien_red.h"
#include "brain/calien_population.h"
#include "render/sprites.h"
#include "world/cbullet.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

void CScene::drawAlien(const CAlien& alien)
{
    m_sprites.add(alienLook(alien.getTextureId()), alienPlace(alien.getPosition()));
}

void CScene::drawBullets(const std::vector<CBullet*>& bullets)
{
    for (const CBullet* bullet : bullets)
        m_sprites.add(bulletLook(), bulletPlace(bullet->getPosition(), bullet->getAngle()));
}

void CScene::drawAliens(const CGameController& controller)
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

void CScene::draw(const CGameController& controller, const std::function<void()>& helpPage,
                  const std::function<void()>& statsOverlay)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (m_iMode == SPRITES_ONE_BY_ONE)
        drawBackground();
    else
        m_background.draw();
    if (helpPage)
        helpPage();
    drawAliens(controller);
    if (statsOverlay)
    {
        m_sprites.flush(); // the overlay lies above the aliens
        statsOverlay();
    }
    if (const CAlien_Green_Trainee* trainee = controller.getTrainee())
        drawAlien(*trainee);
    const CGun& gun = *controller.getGun();
    m_sprites.add(gunLook(), gunPlace(gun.getPosition(), gun.getAngle()));
    drawBullets(gun.getBullets());
    m_sprites.flush();
}

void setUpSceneGl()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, CParams::Window_Width, 0, CParams::Window_Height, 0, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
}

void drawScene(const CGameController& controller, const std::function<void()>& helpPage,
               const std::function<void()>& statsOverlay)
{
    static CScene scene(SPRITES_BATCHED);
    scene.draw(controller, helpPage, statsOverlay);
}
