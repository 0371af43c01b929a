// Linux.
#include "files/oscalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>

int renameNoReplace(int folderFd, const char* from, const char* to)
{
    return renameat2(folderFd, from, folderFd, to, RENAME_NOREPLACE);
}

bool systemRandomBytes(unsigned char* bytes, size_t count)
{
    return getrandom(bytes, count, GRND_NONBLOCK) == static_cast<ssize_t>(count);
}
