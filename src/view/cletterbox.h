#pragma once

#include "world/utils.h"

// The world's picture shown as large as it fits in a window of any size, its proportions
// kept: the viewport is centred, black bars fill the rest. Guarantees: the viewport lies
// inside the window, is as large as whole pixels allow and is centred to half a pixel;
// toWorld and toWindow map between window pixels (GLUT's mouse coordinates: from the top-left
// corner, y down) and world units (from the bottom-left corner, y up) and undo each other; a
// point in a bar, or any point of a window with no room for the picture, is not inside.
class CLetterbox
{
public:
    CLetterbox(double worldWidth, double worldHeight);

    void setWindow(int width, int height);

    // The viewport as glViewport takes it: from the window's bottom-left corner, in pixels.
    int viewportLeft() const { return m_iLeft; }
    int viewportBottom() const { return m_iBottom; }
    int viewportWidth() const { return m_iWidth; }
    int viewportHeight() const { return m_iHeight; }
    // Window pixels per world unit across.
    double scale() const;

    bool isInside(double windowX, double windowY) const;
    // The world point under the centre of window pixel (windowX, windowY).
    SVector2D toWorld(double windowX, double windowY) const;
    // The window position of a world point, in GLUT's pixel coordinates.
    SVector2D toWindow(SVector2D world) const;

private:
    double m_dWorldWidth;
    double m_dWorldHeight;
    int m_iWindowHeight = 0;
    int m_iLeft = 0;
    int m_iBottom = 0;
    int m_iWidth = 0;
    int m_iHeight = 0;
};
