#include "render/cbackgroundcache.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>

#include "render/cglstate.h"
#include "render/cscissortoviewport.h"
#include "render/ctexture.h"
#include "render/glfeatures.h"
#include "render/sprites.h"

CBackgroundCache::~CBackgroundCache()
{
    if (m_uFramebuffer == 0)
        return;
    glDeleteFramebuffers(1, &m_uFramebuffer);
    glDeleteRenderbuffers(1, &m_uRenderbuffer);
}

void CBackgroundCache::draw()
{
    const unsigned background = g_aTextures[TEX_BACKGROUND].getId();
    const int* viewport = CGlState::viewport();
    if (background == m_uBackground && std::equal(viewport, viewport + 4, m_aiViewport))
    {
        if (m_bReady)
        {
            lay();
            ++m_llCopiesLaid;
        }
        else
            drawBackground();
        return;
    }
    m_uBackground = background;
    std::copy(viewport, viewport + 4, m_aiViewport);
    drawBackground();
    m_bReady = fill();
}

bool CBackgroundCache::fill()
{
    if (m_aiViewport[2] <= 0 || m_aiViewport[3] <= 0 || !hasFramebufferObjects())
        return false;
    const std::vector<std::uint64_t> drawn = fingerprints();
    // Laid, the depth is this one value everywhere: the check below fails unless the
    // background left it everywhere too.
    GLfloat depth;
    glReadPixels(m_aiViewport[0], m_aiViewport[1], 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    m_dDepth = depth;
    if (!copyFramebuffer())
        return false;
    lay();
    if (fingerprints() == drawn)
        return true;
    // Undone: the viewport as it was before the background, then the background.
    {
        const CScissorToViewport scissor(m_aiViewport);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    drawBackground();
    return false;
}

bool CBackgroundCache::copyFramebuffer()
{
    const int width = m_aiViewport[2], height = m_aiViewport[3];
    if (m_uFramebuffer == 0)
    {
        glGenFramebuffers(1, &m_uFramebuffer);
        glGenRenderbuffers(1, &m_uRenderbuffer);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, m_uRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    GLint window;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &window);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_uFramebuffer);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_uRenderbuffer);
    const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete)
        glBlitFramebuffer(m_aiViewport[0], m_aiViewport[1], m_aiViewport[0] + width, m_aiViewport[1] + height, 0, 0,
                          width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(window));
    return complete;
}

void CBackgroundCache::lay() const
{
    GLint window;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &window);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_uFramebuffer);
    glBlitFramebuffer(0, 0, m_aiViewport[2], m_aiViewport[3], m_aiViewport[0], m_aiViewport[1],
                      m_aiViewport[0] + m_aiViewport[2], m_aiViewport[1] + m_aiViewport[3], GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(window));
    const CScissorToViewport scissor(m_aiViewport);
    // The game clears the depth to GL's default, 1, everywhere else.
    glClearDepth(m_dDepth);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
}

std::vector<std::uint64_t> CBackgroundCache::fingerprints() const
{
    // A few rows at a time, so that a large window needs little memory.
    constexpr int kBandRows = 16;
    const int width = m_aiViewport[2], height = m_aiViewport[3];
    std::vector<unsigned> colour(static_cast<size_t>(width) * kBandRows), depth(colour.size());
    std::vector<std::uint64_t> rows;
    for (int y = 0; y < height; y += kBandRows)
    {
        const int bandRows = std::min(kBandRows, height - y);
        glReadPixels(m_aiViewport[0], m_aiViewport[1] + y, width, bandRows, GL_RGBA, GL_UNSIGNED_BYTE, colour.data());
        glReadPixels(m_aiViewport[0], m_aiViewport[1] + y, width, bandRows, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                     depth.data());
        for (int row = 0; row < bandRows; ++row)
        {
            // FNV-1a over the row's colour and depth words.
            std::uint64_t hash = 14695981039346656037ULL;
            for (const std::vector<unsigned>* words : {&colour, &depth})
                for (int x = 0; x < width; ++x)
                    hash = (hash ^ (*words)[static_cast<size_t>(row) * width + x]) * 1099511628211ULL;
            rows.push_back(hash);
        }
    }
    return rows;
}
