// The desktop: GLU scales and builds the levels.
#include "render/mipmapupload.h"

#include <GL/gl.h>
#include <GL/glu.h>

void uploadMipmapped(int width, int height, const unsigned char* rgb)
{
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB8, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}
