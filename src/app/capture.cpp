#include <GL/freeglut.h>

#include <iostream>

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
        const int number = firstFreeFrame(".", g_iNextFrame);
        std::string error;
        if (number < 0)
            answer = reported("Cannot write a frame: every frame number from " + std::to_string(g_iNextFrame) +
                              " on is taken");
        else if (!writeBitmap(frameFileName(number).c_str(), CParams::Window_Width, CParams::Window_Height, error))
            answer = reported("Cannot write the frame " + frameFileName(number) + ": " + error);
        else
        {
            g_iNextFrame = number + 2;
            answer = CKeyFeedback::frameWritten(frameFileName(number));
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
    CBitmap bitmap(width, height); // zeroed: the row padding is written as zeros
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(target.readBuffer());
    for (int y = 0; y < height; ++y)
        glReadPixels(0, y, width, 1, GL_BGR, GL_UNSIGNED_BYTE, bitmap.row(y));
    return writeNewFileAtomically(szFileName, bitmap.encode(), error);
}
