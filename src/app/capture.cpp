#include <GL/freeglut.h>

#include <iostream>

#include "app/cparams.h"
#include "app/framenames.h"
#include "app/shell.h"
#include "render/cbitmap.h"
#include "world/safefile.h"

void captureFrame()
{
    if (g_iCaptureCounter % 2 == 0)
    {
        const int number = firstFreeFrame(".", g_iNextFrame);
        if (number < 0)
            std::cerr << "Cannot write a frame: every frame number from " << g_iNextFrame << " on is taken"
                      << std::endl;
        else if (writeBitmap(frameFileName(number).c_str(), CParams::Window_Width, CParams::Window_Height))
            g_iNextFrame = number + 2;
    }
    ++g_iCaptureCounter;
}

bool writeBitmap(const char* szFileName, int width, int height)
{
    // Redraw the frame the player sees into the back buffer and read it before any swap,
    // so that the pixels do not depend on what the buffers held after the last swap.
    drawFrame();
    glFinish();
    CBitmap bitmap(width, height); // zeroed: the row padding is written as zeros
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    for (int y = 0; y < height; ++y)
        glReadPixels(0, y, width, 1, GL_BGR, GL_UNSIGNED_BYTE, bitmap.row(y));
    std::string error;
    if (!writeNewFileAtomically(szFileName, bitmap.encode(), error))
    {
        std::cerr << "Cannot write the frame " << szFileName << ": " << error << std::endl;
        return false;
    }
    return true;
}
