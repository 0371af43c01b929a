// The browser: its file system has no rename that refuses to replace and no hard links, and
// the page runs on one thread, so looking first and renaming after cannot race. Random bytes
// come from the browser's crypto source.
#include "files/oscalls.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int renameNoReplace(int folderFd, const char* from, const char* to)
{
    struct stat info;
    if (fstatat(folderFd, to, &info, AT_SYMLINK_NOFOLLOW) == 0)
    {
        errno = EEXIST;
        return -1;
    }
    return renameat(folderFd, from, folderFd, to);
}

bool systemRandomBytes(unsigned char* bytes, size_t count)
{
    return getentropy(bytes, count) == 0;
}
