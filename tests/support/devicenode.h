#pragma once

#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>

// A character device node like the system's memory devices (major 1: 3 null, 5 zero,
// 7 full), made at path, which must lie in the test's own scratch folder; false where the
// test may not make device nodes (the caller then skips).
inline bool makeDeviceNode(const std::string& path, unsigned minor)
{
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}
