#pragma once

// Where a picture of the game's own size is drawn to be read back whole, whatever size the
// window has. While it lives, drawing and reading go to the window's back buffer when the
// window has exactly the picture's size, otherwise to a framebuffer of its own with colour
// and depth; either way the viewport covers the picture from its bottom-left corner. The
// window's framebuffers and viewport come back when it ends. Without framebuffer objects (GL
// before 3.0), or when GL refuses the framebuffer, the back buffer serves: right whenever the
// window holds the picture.
class CPictureTarget
{
public:
    CPictureTarget(int width, int height, int windowWidth, int windowHeight);
    ~CPictureTarget();
    CPictureTarget(const CPictureTarget&) = delete;
    CPictureTarget& operator=(const CPictureTarget&) = delete;

    bool isOffscreen() const { return m_bOffscreen; }
    // The colour buffer to read the picture from, for glReadBuffer.
    unsigned readBuffer() const;

private:
    bool makeFramebuffer(int width, int height);

    unsigned m_uFramebuffer = 0;
    unsigned m_auRenderbuffers[2] = {0, 0}; // colour, depth
    int m_aiWindowViewport[4] = {0, 0, 0, 0};
    double m_dWindowPixelRatio = 1.0;
    int m_iDrawBinding = 0;
    int m_iReadBinding = 0;
    bool m_bOffscreen = false;
};
