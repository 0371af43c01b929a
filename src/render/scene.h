#pragma once

#include <functional>

#include "render/cbackgroundcache.h"
#include "render/cspritebatch.h"

class CAlien;
class CBullet;
class CGameController;

// Draws frames into the back buffer, without swapping: background, help page, aliens with
// their bullets, statistics overlay, trainee, gun, gun bullets. An empty overlay function
// draws nothing. The sprite mode chooses how (cspritebatch.h): one by one, every frame is
// drawn as the game always drew it, the background from its texture and each sprite on its
// own; batched, the background comes from CBackgroundCache and the sprites from batches,
// the same picture at a fraction of the cost.
class CScene
{
public:
    explicit CScene(int spriteMode) : m_iMode(spriteMode), m_sprites(spriteMode) {}

    void draw(const CGameController& controller, const std::function<void()>& helpPage,
              const std::function<void()>& statsOverlay);
    const CSpriteBatch& sprites() const { return m_sprites; }
    const CBackgroundCache& background() const { return m_background; }

private:
    void drawAlien(const CAlien& alien);
    void drawBullets(const std::vector<CBullet*>& bullets);
    void drawAliens(const CGameController& controller);

    int m_iMode;
    CBackgroundCache m_background;
    CSpriteBatch m_sprites;
};

// The GL state the scene expects, as the game sets it up: the window's orthographic
// projection, the identity model-view, texturing, depth test less-or-equal, back faces culled.
void setUpSceneGl();

// The game's frames, batched.
void drawScene(const CGameController& controller, const std::function<void()>& helpPage,
               const std::function<void()>& statsOverlay);
