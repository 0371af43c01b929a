#pragma once

#include <cstdint>
#include <vector>

// The background over the viewport as drawBackground (sprites.h) draws it, but cheap:
// filtering the large background texture down to the window costs a software renderer more
// than everything else in a frame. The first drawing, and the first after the viewport or
// the background texture changes, is drawBackground's own; its pixels are then copied into
// a framebuffer object, and later drawings copy them back with a blit and clear the depth
// to the one value the background left (it lies flat at z = 0). Before the copy stands in,
// it is tried once and read back: unless every row of the viewport's colour and depth comes
// out as drawBackground left it (compared through a 64-bit hash of the row), the trial is
// undone and every drawing stays drawBackground's own, as it does when GL has no
// framebuffer objects. Expects the scene's order: the viewport cleared just before, and
// drawing and reading in one buffer (the back buffer, GL's default).
class CBackgroundCache
{
public:
    CBackgroundCache() = default;
    ~CBackgroundCache(); // deletes the copy
    CBackgroundCache(const CBackgroundCache&) = delete;
    CBackgroundCache& operator=(const CBackgroundCache&) = delete;

    // Draws into the current draw framebuffer over the current viewport.
    void draw();
    // How many drawings so far were laid from the copy.
    long long copiesLaid() const { return m_llCopiesLaid; }

private:
    bool fill();
    bool copyFramebuffer();
    void lay() const;
    // A hash of each row of the viewport's colour and depth.
    std::vector<std::uint64_t> fingerprints() const;

    unsigned m_uFramebuffer = 0;   // the copy's framebuffer object; 0 before the first copy
    unsigned m_uRenderbuffer = 0;  // its colour
    unsigned m_uBackground = 0;    // the background texture last drawn
    int m_aiViewport[4] = {0, 0, 0, 0}; // and the viewport it was drawn over
    bool m_bReady = false;         // the copy stands in for that drawing
    double m_dDepth = 1.0;         // the depth the background leaves
    long long m_llCopiesLaid = 0;
};
