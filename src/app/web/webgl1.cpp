// What WebGL 1 lacks that the shared render code names. Framebuffer blits come with GL 3.0;
// hasFramebufferObjects() is false in WebGL 1, so the background cache and the picture target
// never ask for one here, and the window's own buffer serves (the page's canvas always has the
// picture's size).
#include <GL/gl.h>

extern "C" void glBlitFramebuffer(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum)
{
}
