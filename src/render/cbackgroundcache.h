#pragma once

#include <vector>

// The background over the viewport as drawBackground (sprites.h) draws it, but cheap:
// filtering the large background texture down to the window costs a software renderer more
// than everything else in a frame. The first drawing, and the first after the viewport or
// the background texture changes, is drawBackground's own; its pixels are then copied into
// a framebuffer object, and later drawings copy them back with a blit and clear the depth
// to the one value the background left (it lies flat at z = 0). Before the copy stands in,
// it is tried once and read back: unless the colour and depth of the viewport come out
// exactly as drawBackground left them (or GL has no framebuffer objects), the trial is
// undone and every drawing stays drawBackground's own. This holds when the viewport was
// last cleared just before, as the scene does, and drawing and reading use one buffer
// (the back buffer, GL's default).
class CBackgroundCache
{
public:
    CBackgroundCache() = default;
    ~CBackgroundCache(); // deletes the copy
    CBackgroundCache(const CBackgroundCache&) = delete;
    CBackgroundCache& operator=(const CBackgroundCache&) = delete;

    // Draws into the current draw framebuffer over the current viewport.
    void draw();

private:
    bool fill();
    bool copyFramebuffer();
    void lay() const;
    void readViewport(std::vector<unsigned>& colour, std::vector<unsigned>& depth) const;

    unsigned m_uFramebuffer = 0;   // the copy's framebuffer object; 0 before the first copy
    unsigned m_uRenderbuffer = 0;  // its colour
    unsigned m_uBackground = 0;    // the background texture last drawn
    int m_aiViewport[4] = {0, 0, 0, 0}; // and the viewport it was drawn over
    bool m_bReady = false;         // the copy stands in for that drawing
    double m_dDepth = 1.0;         // the depth the background leaves
};
