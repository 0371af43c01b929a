#include "render/glfeatures.h"

#include <GL/gl.h>

#include <cstdlib>

bool hasFramebufferObjects()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::atoi(version) >= 3;
}
