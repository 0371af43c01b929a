#include "render/cscissortoviewport.h"

#include <algorithm>

#include "render/cglstate.h"

CScissorToViewport::CScissorToViewport(const int* box)
{
    m_bWasOn = CGlState::scissorOn();
    std::copy(CGlState::scissorBox(), CGlState::scissorBox() + 4, m_aiBox);
    CGlState::setScissor(true, box);
}

CScissorToViewport::~CScissorToViewport()
{
    CGlState::setScissor(m_bWasOn, m_aiBox);
}
