#pragma once

// While it lives, drawing and clears reach only the given box of the framebuffer: GL's
// viewport maps coordinates but does not clip wide lines, points or clears to itself. The
// scissor state before it comes back when it ends.
class CScissorToViewport
{
public:
    // box as glViewport takes it: left, bottom, width, height.
    explicit CScissorToViewport(const int* box);
    ~CScissorToViewport();
    CScissorToViewport(const CScissorToViewport&) = delete;
    CScissorToViewport& operator=(const CScissorToViewport&) = delete;

private:
    bool m_bWasOn;
    int m_aiBox[4]; // the scissor box before
};
