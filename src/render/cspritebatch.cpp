#include "render/cspritebatch.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/cglstate.h"
#include "render/cquadcorners.h"

namespace
{
// The texture coordinates of a quad's corners, in the order of CQuadCorners.
constexpr float kQuadTexCoords[8] = {0, 0, 1, 0, 1, 1, 0, 1};
// Each corner in the vertex array: x y z w, then its texture coordinates.
constexpr int kCornerFloats = 6;
// The most quads a draw call takes: a browser's GL emulation copies a draw's vertices, from the
// array's start to its last one, into a buffer of at most 2 MB and numbers them with 16 bits,
// and throws beyond either, which stopped the drawing of big worlds. Each draw therefore starts
// its arrays at its own first vertex and takes at most this many quads (65,532 corners, 1.5 MB).
constexpr GLsizei kMaxQuadsPerDraw = 16383;

// The quad's reach in pixels from the viewport's corner.
void pixelBox(const float* corners, const GLint* viewport, float box[4])
{
    box[0] = box[1] = 1e30f;
    box[2] = box[3] = -1e30f;
    for (int corner = 0; corner < 4; ++corner)
    {
        const float* v = corners + corner * 4;
        const float x = (v[0] / v[3] + 1.0f) * 0.5f * static_cast<float>(viewport[2]);
        const float y = (v[1] / v[3] + 1.0f) * 0.5f * static_cast<float>(viewport[3]);
        box[0] = std::min(box[0], x);
        box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x);
        box[3] = std::max(box[3], y);
    }
}

// Does GL draw the quad without clipping? Quads inside and quads reaching out are never
// drawn in one call (see the header).
bool isInsideViewVolume(const float* corners)
{
    for (int corner = 0; corner < 4; ++corner)
    {
        const float* v = corners + corner * 4;
        for (int axis = 0; axis < 3; ++axis)
            if (!(v[axis] >= -v[3] && v[axis] <= v[3]))
                return false;
    }
    return true;
}
} // namespace

void CSpriteBatch::add(const SSpriteLook& look, const SSpritePlace& place)
{
    ++m_llSprites;
    if (m_iMode == SPRITES_ONE_BY_ONE)
    {
        drawOne(look, place);
        return;
    }
    // Not turned is turned by 0, and no lift a lift of 0: GL's matrices come out the same.
    m_vSprites.push_back({look, static_cast<float>(place.x), static_cast<float>(place.y),
                          static_cast<float>(place.lift), place.bTurned ? static_cast<float>(place.angle) : 0.0f});
}

void CSpriteBatch::drawOne(const SSpriteLook& look, const SSpritePlace& place)
{
    glPushMatrix();
    applyPlace(place);
    drawMasked(look);
    glPopMatrix();
    m_llDrawCalls += 2;
}

void CSpriteBatch::flush()
{
    if (m_vSprites.empty())
        return;
    plan();
    draw();
    m_vSprites.clear();
}

void CSpriteBatch::plan()
{
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const int* viewport = CGlState::viewport();
    const CQuadCorners quadCorners(projection);
    m_plan.reset(viewport[2], viewport[3]);
    const size_t count = m_vSprites.size();
    m_vfCorners.resize(count * 16);
    m_viGroup.resize(count);
    for (size_t i = 0; i < count; ++i)
    {
        const SSprite& sprite = m_vSprites[i];
        float* corners = &m_vfCorners[i * 16];
        quadCorners.compute(sprite.x, sprite.y, sprite.lift, sprite.angle, sprite.look.iWidth, sprite.look.iHeight,
                            corners);
        float box[4];
        pixelBox(corners, viewport, box);
        const int batch = m_plan.add(sprite.look.iTexture, box[0], box[1], box[2], box[3]);
        m_viGroup[i] = 2 * batch + (isInsideViewVolume(corners) ? 0 : 1);
    }
    // Quads group by group, each group in drawing order.
    m_viGroupStart.assign(2 * static_cast<size_t>(m_plan.batchCount()) + 1, 0);
    for (int group : m_viGroup)
        ++m_viGroupStart[static_cast<size_t>(group) + 1];
    for (size_t g = 1; g < m_viGroupStart.size(); ++g)
        m_viGroupStart[g] += m_viGroupStart[g - 1];
    m_viNext.assign(m_viGroupStart.begin(), m_viGroupStart.end() - 1);
    m_vfVertices.resize(count * 4 * kCornerFloats);
    for (size_t i = 0; i < count; ++i)
    {
        float* quad = &m_vfVertices[static_cast<size_t>(m_viNext[static_cast<size_t>(m_viGroup[i])]++) * 4 *
                                    kCornerFloats];
        for (int corner = 0; corner < 4; ++corner)
        {
            std::copy_n(&m_vfCorners[i * 16 + corner * 4], 4, quad + corner * kCornerFloats);
            std::copy_n(&kQuadTexCoords[corner * 2], 2, quad + corner * kCornerFloats + 4);
        }
    }
}

void CSpriteBatch::drawGroup(int group)
{
    constexpr GLsizei stride = kCornerFloats * sizeof(float);
    const GLint end = m_viGroupStart[static_cast<size_t>(group) + 1];
    for (GLint quad = m_viGroupStart[static_cast<size_t>(group)]; quad < end; quad += kMaxQuadsPerDraw)
    {
        const float* first = m_vfVertices.data() + static_cast<size_t>(quad) * 4 * kCornerFloats;
        glVertexPointer(4, GL_FLOAT, stride, first);
        glTexCoordPointer(2, GL_FLOAT, stride, first + 4);
        glDrawArrays(GL_QUADS, 0, 4 * std::min(kMaxQuadsPerDraw, end - quad));
        ++m_llDrawCalls;
    }
}

void CSpriteBatch::draw()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // One interleaved array, its pointers set for each draw (drawGroup): a browser's GL
    // emulation takes this layout fastest.
    beginSprites();
    for (int batch = 0; batch < m_plan.batchCount(); ++batch)
    {
        setMaskPass(m_plan.batchTexture(batch));
        drawGroup(2 * batch);
        drawGroup(2 * batch + 1);
        setColourPass(m_plan.batchTexture(batch));
        drawGroup(2 * batch);
        drawGroup(2 * batch + 1);
    }
    endSprites();
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
