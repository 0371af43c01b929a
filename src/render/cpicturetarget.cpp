#include "render/cpicturetarget.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "render/cglstate.h"
#include "render/glfeatures.h"

CPictureTarget::CPictureTarget(int width, int height, int windowWidth, int windowHeight)
{
    std::copy(CGlState::viewport(), CGlState::viewport() + 4, m_aiWindowViewport);
    m_dWindowPixelRatio = CGlState::pixelRatio();
    CGlState::setViewport(0, 0, width, height);
    if ((windowWidth != width || windowHeight != height) && hasFramebufferObjects())
        m_bOffscreen = makeFramebuffer(width, height);
}

bool CPictureTarget::makeFramebuffer(int width, int height)
{
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &m_iDrawBinding);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &m_iReadBinding);
    glGenFramebuffers(1, &m_uFramebuffer);
    glGenRenderbuffers(2, m_auRenderbuffers);
    glBindRenderbuffer(GL_RENDERBUFFER, m_auRenderbuffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, m_auRenderbuffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, m_uFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_auRenderbuffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_auRenderbuffers[1]);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
        return true;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(m_iDrawBinding));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(m_iReadBinding));
    return false;
}

CPictureTarget::~CPictureTarget()
{
    CGlState::setViewport(m_aiWindowViewport[0], m_aiWindowViewport[1], m_aiWindowViewport[2], m_aiWindowViewport[3],
                          m_dWindowPixelRatio);
    if (m_uFramebuffer == 0)
        return;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(m_iDrawBinding));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(m_iReadBinding));
    glDeleteFramebuffers(1, &m_uFramebuffer);
    glDeleteRenderbuffers(2, m_auRenderbuffers);
}

unsigned CPictureTarget::readBuffer() const
{
    return m_bOffscreen ? GL_COLOR_ATTACHMENT0 : GL_BACK;
}
