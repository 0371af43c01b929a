#pragma once

#include <cstddef>

// The few system calls whose form differs from one platform to another.

// Renames from to to, both in the folder, but never over a file that stands there: -1 with
// errno EEXIST then. errno EINVAL means the file system cannot promise it (the caller falls
// back to a hard link).
int renameNoReplace(int folderFd, const char* from, const char* to);

// Fills the buffer from the system's own random source, never blocking; false when it cannot.
// Kept apart from rand(), whose sequence a seed replays.
bool systemRandomBytes(unsigned char* bytes, size_t count);
