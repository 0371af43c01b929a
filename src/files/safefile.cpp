#include "files/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/catomicfile.h"

namespace
{
// As many links as the kernel itself follows before it gives up.
constexpr int kMaxLinkHops = 40;
constexpr size_t kReadChunk = 1 << 16;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// As the kernel's protected links rule has it: in a folder that everyone may write to and
// only owners may delete from (sticky, like /tmp), a link is followed only when it belongs to
// the one following it or to the folder's owner, so that nobody's save goes through a link
// someone else planted.
bool mayFollow(const std::string& link, const struct stat& linkInfo)
{
    struct stat folder;
    if (stat(folderOf(link).c_str(), &folder) != 0)
        return true;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkInfo.st_uid == geteuid() || linkInfo.st_uid == folder.st_uid;
}

bool refuse(std::string& error, const std::string& why)
{
    error = why;
    return false;
}

// The same for a function that answers with a descriptor.
int refuseOpen(std::string& error, const std::string& why)
{
    error = why;
    return -1;
}

bool readAll(int fd, size_t maxBytes, std::string& contents, std::string& error)
{
    std::string data;
    char chunk[kReadChunk];
    for (;;)
    {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(error, std::strerror(errno));
        if (n == 0)
            break;
        if (data.size() + static_cast<size_t>(n) > maxBytes)
            return refuse(error, "is larger than " + std::to_string(maxBytes) + " bytes");
        data.append(chunk, static_cast<size_t>(n));
    }
    contents.swap(data);
    return true;
}

bool writeWith(CAtomicFile::EMode mode, const std::string& fileName, const std::string& contents, std::string& error)
{
    CAtomicFile file;
    if (file.open(fileName, mode) && file.write(contents) && file.commit())
        return true;
    error = file.error();
    return false;
}
} // namespace

int openRegularFile(const std::string& fileName, std::string& error)
{
    // Looked at before opening, so that opening a device has no effect of its own.
    struct stat info;
    if (stat(fileName.c_str(), &info) != 0)
        return refuseOpen(error, std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return refuseOpen(error, describeNonRegular(info.st_mode));
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refuseOpen(error, std::strerror(errno));
    // And again once open: the name may have been swapped for something else meanwhile.
    const bool regular = (fstat(fd, &info) == 0 || refuse(error, std::strerror(errno)))
                         && (S_ISREG(info.st_mode) || refuse(error, describeNonRegular(info.st_mode)));
    if (regular)
        return fd;
    ::close(fd);
    return -1;
}

bool readRegularFile(const std::string& fileName, size_t maxBytes, std::string& contents, std::string& error)
{
    const int fd = openRegularFile(fileName, error);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 || refuse(error, std::strerror(errno));
    ok = ok && (static_cast<unsigned long long>(info.st_size) <= maxBytes
                || refuse(error, "is larger than " + std::to_string(maxBytes) + " bytes"));
    ok = ok && readAll(fd, maxBytes, contents, error);
    ::close(fd);
    return ok;
}

bool writeFileAtomically(const std::string& fileName, const std::string& contents, std::string& error)
{
    return writeWith(CAtomicFile::REPLACE, fileName, contents, error);
}

bool writeNewFileAtomically(const std::string& fileName, const std::string& contents, std::string& error)
{
    return writeWith(CAtomicFile::KEEP_EXISTING, fileName, contents, error);
}

bool resolveLinks(const std::string& fileName, std::string& target, std::string& error)
{
    // Every name on the way is looked at, as the kernel walks a path, so that the rule of
    // mayFollow holds for a link anywhere in it ("shared/dir/file", dir a planted link), not
    // for the last name alone. The names still to walk are kept last first.
    std::vector<std::string> names;
    const auto push = [&names](const std::string& path) {
        size_t end = path.size();
        while (end > 0)
        {
            const size_t slash = path.find_last_of('/', end - 1);
            const size_t start = slash == std::string::npos ? 0 : slash + 1;
            if (end > start && path.compare(start, end - start, ".") != 0)
                names.push_back(path.substr(start, end - start));
            if (slash == std::string::npos)
                break;
            end = slash;
        }
    };
    push(fileName);
    std::string resolved = !fileName.empty() && fileName[0] == '/' ? "/" : "";
    for (int hops = 0; !names.empty();)
    {
        const std::string name = names.back();
        names.pop_back();
        const std::string path = resolved.empty() ? name : resolved == "/" ? "/" + name : resolved + "/" + name;
        struct stat info;
        if (name == ".." || lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        {
            resolved = path;
            continue;
        }
        if (++hops > kMaxLinkHops)
            return refuse(error, fileName + ": " + std::strerror(ELOOP));
        if (!mayFollow(path, info))
            return refuse(error, "the link " + path + " belongs to another user in a shared folder: it is not "
                                 "followed, as the system would not follow it");
        char link[4096];
        const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
        if (n < 0)
            return refuse(error, "cannot read the link " + path + ": " + std::strerror(errno));
        const std::string next(link, static_cast<size_t>(n));
        if (!next.empty() && next[0] == '/')
            resolved = "/";
        push(next);
    }
    target = resolved.empty() && !fileName.empty() ? "." : resolved;
    return true;
}

bool checkWritable(const std::string& fileName, std::string& error)
{
    std::string target;
    if (!resolveLinks(fileName, target, error))
        return false;
    struct stat info;
    const bool exists = lstat(target.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return refuse(error, target + " " + describeNonRegular(info.st_mode));
    // As the save itself refuses it (and a shell's redirect): a file its owner made read-only.
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return refuse(error, "cannot write " + target + ": " + std::strerror(errno));
    const std::string folder = folderOf(target);
    if (baseOf(target).empty() || stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return refuse(error, "the folder " + folder + " does not exist");
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return refuse(error, "cannot write in the folder " + folder + ": " + std::strerror(errno));
    return true;
}

bool isSameFile(const std::string& a, const std::string& b)
{
    std::string targetA, targetB, error;
    if (!resolveLinks(a, targetA, error) || !resolveLinks(b, targetB, error))
        return a == b;
    struct stat infoA, infoB;
    if (stat(targetA.c_str(), &infoA) == 0 && stat(targetB.c_str(), &infoB) == 0)
        return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    if (baseOf(targetA) != baseOf(targetB))
        return false;
    if (stat(folderOf(targetA).c_str(), &infoA) == 0 && stat(folderOf(targetB).c_str(), &infoB) == 0)
        return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    return targetA == targetB;
}

bool isInFolder(const std::string& fileName, const std::string& folder)
{
    std::string target, error;
    return resolveLinks(fileName, target, error) && isSameFile(folderOf(target), folder);
}

std::string describeNonRegular(unsigned mode)
{
    return S_ISDIR(mode) ? "is a folder" : "is not a regular file";
}

std::string printableExcerpt(const std::string& text, size_t maxLength)
{
    std::string out;
    const size_t shown = text.size() > maxLength ? maxLength : text.size();
    for (size_t i = 0; i < shown; ++i)
    {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F)
            out.push_back(static_cast<char>(c));
        else
        {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    if (shown < text.size())
        out += "...";
    return out;
}
