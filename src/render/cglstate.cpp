#include "render/cglstate.h"

#include <GL/gl.h>

#include <algorithm>

bool CGlState::s_bViewportKnown = false;
int CGlState::s_aiViewport[4] = {0, 0, 0, 0};
double CGlState::s_dPixelRatio = 1.0;
bool CGlState::s_bScissorOn = false;
int CGlState::s_aiScissor[4] = {0, 0, 0, 0};

void CGlState::setViewport(int left, int bottom, int width, int height, double pixelRatio)
{
    s_dPixelRatio = pixelRatio > 0 ? pixelRatio : 1.0;
    s_aiViewport[0] = left;
    s_aiViewport[1] = bottom;
    s_aiViewport[2] = width;
    s_aiViewport[3] = height;
    s_bViewportKnown = true;
    glViewport(left, bottom, width, height);
}

const int* CGlState::viewport()
{
    if (!s_bViewportKnown)
    {
        glGetIntegerv(GL_VIEWPORT, s_aiViewport);
        s_bViewportKnown = true;
    }
    return s_aiViewport;
}

void CGlState::setScissor(bool on, const int* box)
{
    s_bScissorOn = on;
    std::copy(box, box + 4, s_aiScissor);
    glScissor(box[0], box[1], box[2], box[3]);
    if (on)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
}
