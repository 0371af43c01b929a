#include "world/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace
{
bool fail(std::string& error, const std::string& what)
{
    error = what + ": " + std::strerror(errno);
    return false;
}

bool writeAll(int fd, const std::string& contents)
{
    size_t written = 0;
    while (written < contents.size())
    {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

bool writeFileAtomically(const std::string& fileName, const std::string& contents, std::string& error)
{
    const std::string temporary = fileName + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return fail(error, "cannot create " + temporary);
    bool ok = writeAll(fd, contents) || fail(error, "cannot write " + temporary);
    ok = ok && (::fsync(fd) == 0 || fail(error, "cannot flush " + temporary));
    if (::close(fd) != 0 && ok)
        ok = fail(error, "cannot close " + temporary);
    if (ok && std::rename(temporary.c_str(), fileName.c_str()) != 0)
        ok = fail(error, "cannot replace " + fileName);
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}
