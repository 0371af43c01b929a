// Draws the same frames one by one and batched (render/cspritebatch.h) into the back buffer,
// reads both back and compares them pixel for pixel:
// - a seeded world, stepped and drawn both ways after every step, with the help page and,
//   every other frame, the statistics overlay stood in for by a bar across the aliens; the
//   last third in a smaller viewport, as after a resize;
// - scenes of random sprites of every look, crowded so that they overlap, at random angles,
//   the gun lifted, some on or beyond the window's edges. These are also drawn naively
//   batched, all masks of a texture and then all its colours regardless of overlaps, which
//   must differ somewhere: the sprites do overlap, and a wrong order would be seen.
// Run in a folder holding params.ini and graphics/. Prints what it compared; exit status 0
// when every picture matched and the checks above held, 1 otherwise, 2 for a wrong command line.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "brain/textureids.h"
#include "common/scenewindow.h"
#include "render/cglstate.h"
#include "render/scene.h"
#include "world/cbullet.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kRandomScenes = 60;
constexpr int kSpritesAScene = 150;

struct SPlacedSprite
{
    SSpriteLook look;
    SSpritePlace place;
};

std::vector<unsigned char> readBackBuffer()
{
    std::vector<unsigned char> pixels(static_cast<size_t>(CParams::Window_Width) * CParams::Window_Height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, CParams::Window_Width, CParams::Window_Height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Names the first differing pixel; true when there is none.
bool same(const std::vector<unsigned char>& expected, const std::vector<unsigned char>& actual, const char* what,
          int index)
{
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i])
        {
            const size_t pixel = i / 4;
            std::printf("%s %d: pixel (%zu, %zu) differs: one by one %u %u %u, batched %u %u %u\n", what, index,
                        pixel % CParams::Window_Width, pixel / CParams::Window_Width, expected[pixel * 4],
                        expected[pixel * 4 + 1], expected[pixel * 4 + 2], actual[pixel * 4], actual[pixel * 4 + 1],
                        actual[pixel * 4 + 2]);
            return false;
        }
    return true;
}

void drawBar()
{
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.2f, 0.6f, 1.0f);
    glRectd(0, CParams::Window_Height * 0.5, CParams::Window_Width, CParams::Window_Height * 0.6);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
}

void drawHelpStandIn()
{
    glDisable(GL_TEXTURE_2D);
    glRasterPos2d(CParams::Window_Width * 0.2, CParams::Window_Height * 0.8);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>("Help page"));
    glEnable(GL_TEXTURE_2D);
}

int turnedRedBullets(const CGameController& controller)
{
    int count = 0;
    for (const CAlien* alien : controller.getPopulations()[0]->getAliens())
        if (alien->isActive())
            for (const CBullet* bullet : static_cast<const CAlien_Red*>(alien)->getBullets())
                count += bullet->getAngle() != 0.0;
    return count;
}

// The world, stepped; true when every frame matched, red bullets flew turned and the
// background came from its copy but in the two frames that make it.
bool compareWorld(int steps, unsigned seed)
{
    CGameController controller;
    controller.setSeed(seed);
    controller.init();
    CScene oneByOne(SPRITES_ONE_BY_ONE), batched(SPRITES_BATCHED);
    int turned = 0, matching = 0;
    for (int step = 1; step <= steps; ++step)
    {
        // The last third in a smaller viewport off the window's corner, as after a resize.
        if (step == steps * 2 / 3 + 1)
            CGlState::setViewport(37, 23, CParams::Window_Width * 3 / 4, CParams::Window_Height * 4 / 5);
        controller.update(1000.0 / CParams::Game_FramesPerSecond);
        turned += turnedRedBullets(controller);
        const std::function<void()> overlay = step % 2 == 0 ? drawBar : std::function<void()>();
        oneByOne.draw(controller, drawHelpStandIn, overlay);
        const std::vector<unsigned char> expected = readBackBuffer();
        batched.draw(controller, drawHelpStandIn, overlay);
        matching += same(expected, readBackBuffer(), "world frame", step);
    }
    CGlState::setViewport(0, 0, CParams::Window_Width, CParams::Window_Height);
    const long long copies = batched.background().copiesLaid();
    std::printf("world, seed %u: %d of %d frames the same; %lld sprites, %lld draw calls one by one, %lld batched; "
                "%d turned red bullets; the background laid from its copy %lld times\n",
                seed, matching, steps, oneByOne.sprites().spriteCount(), oneByOne.sprites().drawCallCount(),
                batched.sprites().drawCallCount(), turned, copies);
    return matching == steps && turned > 0 && copies == steps - 2;
}

double randomIn(double low, double high)
{
    return low + (high - low) * std::rand() / RAND_MAX;
}

// Corners on the window's edges, where GL starts to clip.
void putOnAnEdge(SPlacedSprite& sprite)
{
    sprite.place.x = std::rand() % 2 == 0 ? 0.0 : CParams::Window_Width - sprite.look.iWidth;
    sprite.place.y = std::rand() % 2 == 0 ? 0.0 : CParams::Window_Height - sprite.look.iHeight;
}

// A crowd of sprites in a part of the window, some reaching beyond its edges.
std::vector<SPlacedSprite> randomScene()
{
    static const int kAlienTextures[] = {TEX_BEING_BORN, TEX_RED_ALIVE, TEX_GREEN_ALIVE, TEX_GREEN_DYING_1,
                                         TEX_GREEN_DYING_2, TEX_GREEN_DYING_3};
    const double right = randomIn(100, CParams::Window_Width + 60), top = randomIn(100, CParams::Window_Height + 60);
    std::vector<SPlacedSprite> sprites;
    for (int i = 0; i < kSpritesAScene; ++i)
    {
        const SVector2D centre(randomIn(-40, right), randomIn(-40, top));
        // Now and then an angle that turns a quad onto whole pixels.
        const double angle = std::rand() % 8 == 0 ? 90.0 * (std::rand() % 4 - 2) : randomIn(-180, 180);
        switch (std::rand() % 3)
        {
        case 0: sprites.push_back({alienLook(kAlienTextures[std::rand() % 6]), alienPlace(centre)}); break;
        case 1: sprites.push_back({bulletLook(), bulletPlace(centre, angle)}); break;
        default: sprites.push_back({gunLook(), gunPlace(centre, angle)}); break;
        }
        if (std::rand() % 6 == 0)
            putOnAnEdge(sprites.back());
    }
    return sprites;
}

void startPicture()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    drawBackground();
}

// Every mask of a texture, then every colour of it, texture by texture: wrong where they overlap.
void drawNaively(const std::vector<SPlacedSprite>& sprites)
{
    std::vector<int> textures;
    for (const SPlacedSprite& sprite : sprites)
        if (std::find(textures.begin(), textures.end(), sprite.look.iTexture) == textures.end())
            textures.push_back(sprite.look.iTexture);
    beginSprites();
    for (int texture : textures)
        for (int pass = 0; pass < 2; ++pass)
        {
            pass == 0 ? setMaskPass(texture) : setColourPass(texture);
            for (const SPlacedSprite& sprite : sprites)
                if (sprite.look.iTexture == texture)
                {
                    glPushMatrix();
                    applyPlace(sprite.place);
                    drawQuad(sprite.look.iWidth, sprite.look.iHeight);
                    glPopMatrix();
                }
        }
    endSprites();
}

std::vector<unsigned char> drawn(const std::vector<SPlacedSprite>& sprites, CSpriteBatch& batch)
{
    startPicture();
    for (const SPlacedSprite& sprite : sprites)
        batch.add(sprite.look, sprite.place);
    batch.flush();
    return readBackBuffer();
}

// True when every random scene matched and the naive order was seen to differ.
bool compareRandomScenes(unsigned seed)
{
    std::srand(seed);
    CSpriteBatch oneByOne(SPRITES_ONE_BY_ONE), batched(SPRITES_BATCHED);
    int matching = 0, naiveDiffering = 0;
    for (int scene = 1; scene <= kRandomScenes; ++scene)
    {
        const std::vector<SPlacedSprite> sprites = randomScene();
        const std::vector<unsigned char> expected = drawn(sprites, oneByOne);
        matching += same(expected, drawn(sprites, batched), "random scene", scene);
        startPicture();
        drawNaively(sprites);
        naiveDiffering += readBackBuffer() != expected;
    }
    std::printf("random scenes, seed %u: %d of %d the same; %lld sprites in %lld draw calls batched; the naive order "
                "differed in %d\n",
                seed, matching, kRandomScenes, batched.spriteCount(), batched.drawCallCount(), naiveDiffering);
    return matching == kRandomScenes && naiveDiffering > 0;
}
} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    char* end = nullptr;
    const long steps = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || steps < 3 || steps > 100000)
    {
        std::fprintf(stderr, "usage: korvane-framecompare <world steps, 3 to 100000> <seed>\n");
        return 2;
    }
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    if (!openSceneWindow("Korvane Aliens frame comparison"))
        return 1;
    const bool worldSame = compareWorld(static_cast<int>(steps), seed);
    const bool scenesSame = compareRandomScenes(seed);
    return worldSame && scenesSame ? 0 : 1;
}
