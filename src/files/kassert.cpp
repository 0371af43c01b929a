#include "files/kassert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void assertionFailed(const char* expression, const char* file, int line)
{
    // Name the module, not the build machine's path to it.
    const char* slash = std::strrchr(file, '/');
    const char* base = slash ? slash + 1 : file;
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, base, line);
    std::fflush(stderr);
    std::abort();
}
