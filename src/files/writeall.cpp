#include "files/writeall.h"

#include <cerrno>

#include <unistd.h>

bool writeAll(int fd, const char* data, size_t size)
{
    size_t written = 0;
    while (written < size)
    {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = EIO;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}
