#pragma once

#include <vector>

#include "render/cbatchplan.h"
#include "render/sprites.h"

// Sprite drawing modes.
constexpr int SPRITES_ONE_BY_ONE = 0; // each sprite as it comes, through GL's matrix stack
constexpr int SPRITES_BATCHED = 1;    // in batches at flush, the same picture

// Draws sprites added in drawing order, with the model-view matrix current and the identity.
// One by one, each is drawn as it is added: push, translate, lift, turn, mask pass, colour
// pass, pop. Batched, they are drawn at flush, with the projection and viewport of then,
// grouped by CBatchPlan so that the picture stays the same. A batch takes one draw call a
// pass from client-side vertex arrays, two when some of its quads reach out of the view
// volume: Mesa clips a draw call as a whole once any corner lies outside, with a viewport
// transform that rounds differently, so those quads are drawn on their own. The corners come
// from CQuadCorners, as GL computes them, and are drawn with identity matrices. On Mesa's
// software renderer the two modes give the same pixels (korvane-framecompare shows it);
// another GL may round a corner differently. Either way, blending is off and the depth test
// on afterwards, as the one-by-one drawing leaves them.
class CSpriteBatch
{
public:
    explicit CSpriteBatch(int mode) : m_iMode(mode) {}

    void add(const SSpriteLook& look, const SSpritePlace& place);
    // Draws what was added since the last flush (one by one there is nothing left).
    void flush();

    // Since construction: sprites drawn, and GL draw calls they took.
    long long spriteCount() const { return m_llSprites; }
    long long drawCallCount() const { return m_llDrawCalls; }

private:
    struct SSprite
    {
        SSpriteLook look;
        float x, y, lift, angle;
    };

    void drawOne(const SSpriteLook& look, const SSpritePlace& place);
    void plan();
    void draw();
    void drawGroup(int group);

    int m_iMode;
    std::vector<SSprite> m_vSprites; // waiting for the flush
    CBatchPlan m_plan;
    std::vector<float> m_vfCorners;      // per waiting sprite: its quad's corners, x y z w each
    // Each batch is drawn as two groups, 2 × batch its quads inside the view volume and
    // 2 × batch + 1 those reaching out of it.
    std::vector<int> m_viGroup;          // per waiting sprite: its group
    std::vector<int> m_viGroupStart;     // per group: its first quad in m_vfVertices; then the end
    std::vector<int> m_viNext;           // per group: where its next quad goes
    std::vector<float> m_vfVertices;     // the corners group by group, each with its texture coordinates
    long long m_llSprites = 0;
    long long m_llDrawCalls = 0;
};
