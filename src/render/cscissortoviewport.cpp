#include "render/cscissortoviewport.h"

#include <GL/gl.h>

CScissorToViewport::CScissorToViewport(const int* box)
{
    m_bWasOn = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glGetIntegerv(GL_SCISSOR_BOX, m_aiBox);
    glScissor(box[0], box[1], box[2], box[3]);
    glEnable(GL_SCISSOR_TEST);
}

CScissorToViewport::~CScissorToViewport()
{
    glScissor(m_aiBox[0], m_aiBox[1], m_aiBox[2], m_aiBox[3]);
    if (!m_bWasOn)
        glDisable(GL_SCISSOR_TEST);
}
