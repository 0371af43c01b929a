#include <GL/glut.h>

#include <iostream>
#include <vector>

#include "view/ckeyfeedback.h"
#include "app/cparams.h"
#include "app/framenames.h"
#include "app/shell.h"
#include "render/cbitmap.h"
#include "render/cpicturetarget.h"
#include "files/safefile.h"

namespace
{
std::string reported(const std::string& message)
{
    std::cerr << message << std::endl;
    return message;
}
} // namespace

std::string captureFrame()
{
    std::string answer = CKeyFeedback::frameSkipped();
    if (g_iCaptureCounter % 2 == 0)
    {
        const int number = firstFreeFrame(".", g_shell.session.iNextFrame);
        std::string error;
        if (number < 0)
            answer = reported("Cannot write a frame: every frame number from " + std::to_string(g_shell.session.iNextFrame) +
                              " on is taken");
        else if (!writeBitmap(frameFileName(number).c_str(), CParams::Window_Width, CParams::Window_Height, error))
            answer = reported("Cannot write the frame " + frameFileName(number) + ": " + error);
        else
        {
            g_shell.session.iNextFrame = number + 2;
            answer = CKeyFeedback::frameWritten(frameFileName(number));
            fileWritten(frameFileName(number));
        }
    }
    ++g_iCaptureCounter;
    return answer;
}

bool writeBitmap(const char* szFileName, int width, int height, std::string& error)
{
    // Redraw the frame the player sees and read it before any swap, so that the pixels do
    // not depend on what the buffers held after the last swap. In a window of another size
    // the picture is drawn away from it, at its own size.
    const CPictureTarget target(width, height, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    drawFrame();
    glFinish();
    // Read as RGBA in one call, which every GL has (a browser's has no BGR and no read
    // buffer of the window's to choose), then laid out as the bitmap's blue, green, red.
    if (target.isOffscreen())
        glReadBuffer(target.readBuffer());
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    CBitmap bitmap(width, height); // zeroed: the row padding is written as zeros
    for (int y = 0; y < height; ++y)
    {
        const unsigned char* from = &rgba[static_cast<size_t>(y) * width * 4];
        unsigned char* to = bitmap.row(y);
        for (int x = 0; x < width; ++x, from += 4, to += 3)
        {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return writeNewFileAtomically(szFileName, bitmap.encode(), error);
}
