#pragma once

// The GL state the program sets and reads back: the viewport and the scissor box. They are
// kept here as they are set, so that drawing never asks GL for them: a question waits for the
// renderer to catch up, which in a browser's WebGL took most of a frame. Every change of them
// goes through here. Before the program first sets the viewport, GL's own (the window's size)
// is asked for once.
class CGlState
{
public:
    // As glViewport takes it: left, bottom, width, height, in device pixels; with the device
    // pixels a pixel of the overlays takes there (a phone's screen has 2 or 3).
    static void setViewport(int left, int bottom, int width, int height, double pixelRatio = 1.0);
    static const int* viewport();
    static double pixelRatio() { return s_dPixelRatio; }

    // The scissor test: off, or on over the box (as glScissor takes it).
    static void setScissor(bool on, const int* box);
    static bool scissorOn() { return s_bScissorOn; }
    static const int* scissorBox() { return s_aiScissor; }

private:
    static bool s_bViewportKnown;
    static int s_aiViewport[4];
    static double s_dPixelRatio;
    static bool s_bScissorOn;
    static int s_aiScissor[4];
};
