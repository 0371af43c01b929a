#include "files/outofmemory.h"

#include <cstdio>
#include <new>

#include <unistd.h>

namespace
{
// Written at installation, so that the handler itself needs no memory.
char g_szMessage[256];
int g_iMessageLength = 0;

void outOfMemory()
{
    // Nothing here may allocate: write(2) and _exit(2) only.
    const char* p = g_szMessage;
    int left = g_iMessageLength;
    while (left > 0)
    {
        const ssize_t n = ::write(STDERR_FILENO, p, static_cast<size_t>(left));
        if (n <= 0)
            break;
        p += n;
        left -= static_cast<int>(n);
    }
    ::_exit(1);
}
} // namespace

void installOutOfMemoryHandler(const char* szProgram)
{
    const int n = std::snprintf(g_szMessage, sizeof g_szMessage,
                                "Out of memory: %s could not get the memory it needs "
                                "(fewer aliens or smaller networks in the parameter file need less)\n",
                                szProgram);
    g_iMessageLength = n < 0 ? 0 : n < static_cast<int>(sizeof g_szMessage) ? n : static_cast<int>(sizeof g_szMessage) - 1;
    std::set_new_handler(outOfMemory);
}
