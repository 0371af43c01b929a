#pragma once

// The GL state the program sets and reads back: the viewport and the scissor box. They are
// kept here as they are set, so that drawing never asks GL for them: a question waits for the
// renderer to catch up, which in a browser's WebGL took most of a frame. Every change of them
// goes through here. Before the program first sets the viewport, GL's own (the window's size)
// is asked for once.
class CGlState
{
public:
    // As glViewport takes it: left, bottom, width, height.
    static void setViewport(int left, int bottom, int width, int height);
    static const int* viewport();

    // The scissor test: off, or on over the box (as glScissor takes it).
    static void setScissor(bool on, const int* box);
    static bool scissorOn() { return s_bScissorOn; }
    static const int* scissorBox() { return s_aiScissor; }

private:
    static bool s_bViewportKnown;
    static int s_aiViewport[4];
    static bool s_bScissorOn;
    static int s_aiScissor[4];
};
