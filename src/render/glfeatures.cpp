#include "render/glfeatures.h"

#include <GL/gl.h>

#include <cstdlib>

bool hasFramebufferObjects()
{
    // Asked once: the context does not change, and asking GL waits for it.
    static const bool has = [] {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        return version != nullptr && std::atoi(version) >= 3;
    }();
    return has;
}
