#include "files/catomicfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/oscalls.h"
#include "files/safefile.h"
#include "files/writeall.h"

namespace
{
constexpr size_t kBufferLimit = 1 << 16;
constexpr int kNameTries = 100;

std::string reason()
{
    return std::strerror(errno);
}

// Twelve hex digits from the system's generator: the game's own random sequence must not
// move because a file was saved.
std::string uniqueSuffix()
{
    unsigned char bytes[6] = {};
    if (!systemRandomBytes(bytes, sizeof bytes))
    {
        static unsigned counter = 0;
        const unsigned long long mix = (static_cast<unsigned long long>(getpid()) << 20) ^ ++counter;
        std::memcpy(bytes, &mix, sizeof bytes);
    }
    char text[13];
    for (int i = 0; i < 6; ++i)
        std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
    return text;
}

// The permissions a newly created file gets from this process.
unsigned newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

CAtomicFile::~CAtomicFile()
{
    discard();
}

bool CAtomicFile::open(const std::string& fileName, EMode mode)
{
    discard();
    m_sError.clear();
    m_eMode = mode;
    std::string error;
    if (!resolveLinks(fileName, m_sTarget, error))
        return fail(error);
    const size_t slash = m_sTarget.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : m_sTarget.substr(0, slash);
    m_sBaseName = slash == std::string::npos ? m_sTarget : m_sTarget.substr(slash + 1);
    if (m_sBaseName.empty() || m_sBaseName == "." || m_sBaseName == "..")
        return fail(m_sTarget + " is a folder");
    m_iFolderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_iFolderFd < 0)
        return fail("cannot open the folder " + folder + ": " + reason());

    struct stat info;
    if (fstatat(m_iFolderFd, m_sBaseName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
    {
        if (!S_ISREG(info.st_mode))
            return fail(m_sTarget + " " + describeNonRegular(info.st_mode));
        if (mode == KEEP_EXISTING)
            return fail(m_sTarget + " already exists");
        // What a shell's redirect would refuse is refused: a file its owner made read-only.
        if (faccessat(m_iFolderFd, m_sBaseName.c_str(), W_OK, AT_EACCESS) != 0)
            return fail("cannot write " + m_sTarget + ": " + reason());
        if (info.st_nlink > 1)
            std::cerr << "Note: " << m_sTarget << " has " << info.st_nlink - 1
                      << " other name(s) (hard links); they keep the old contents, and " << m_sTarget
                      << " gets a file of its own" << std::endl;
        if (!createTemporary(info.st_mode & 07777))
            return false;
        // Root saving someone else's file leaves it theirs; anyone else cannot and need not.
        if (info.st_uid != geteuid() || info.st_gid != getegid())
            (void)fchown(m_iFd, info.st_uid, info.st_gid);
        return true;
    }
    if (errno != ENOENT)
        return fail("cannot examine " + m_sTarget + ": " + reason());
    return createTemporary(newFileMode());
}

bool CAtomicFile::createTemporary(int mode)
{
    for (int tries = 0; tries < kNameTries; ++tries)
    {
        const std::string name = "." + m_sBaseName + "." + uniqueSuffix() + ".tmp";
        // Exclusive and without following links: nothing planted under this name is touched.
        m_iFd = openat(m_iFolderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (m_iFd >= 0)
        {
            m_sTemporary = name;
            if (fchmod(m_iFd, static_cast<mode_t>(mode)) != 0)
                return fail("cannot set the permissions of a temporary file for " + m_sTarget + ": " + reason());
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return fail("cannot create a temporary file for " + m_sTarget + ": " + reason());
}

bool CAtomicFile::write(std::string_view data)
{
    if (m_iFd < 0)
        return false;
    m_sBuffer.append(data);
    return m_sBuffer.size() < kBufferLimit || flushBuffer();
}

bool CAtomicFile::flushBuffer()
{
    if (!writeAll(m_iFd, m_sBuffer.data(), m_sBuffer.size()))
        return fail("cannot write " + m_sTarget + ": " + reason());
    m_sBuffer.clear();
    return true;
}

bool CAtomicFile::commit()
{
    if (m_iFd < 0)
        return false;
    if (!flushBuffer())
        return false;
    if (fsync(m_iFd) != 0)
        return fail("cannot flush " + m_sTarget + ": " + reason());
    const int fd = m_iFd;
    m_iFd = -1;
    if (::close(fd) != 0)
        return fail("cannot write " + m_sTarget + ": " + reason());
    if (!putInPlace())
        return false;
    m_sTemporary.clear();
    // The rename itself must reach the disk too.
    if (fsync(m_iFolderFd) != 0 && errno != EINVAL)
        return fail("cannot flush the folder of " + m_sTarget + ": " + reason());
    discard();
    return true;
}

bool CAtomicFile::putInPlace()
{
    // Looked at again: the target may have changed while the contents were written.
    struct stat info;
    if (fstatat(m_iFolderFd, m_sBaseName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode))
        return fail(m_sTarget + " " + describeNonRegular(info.st_mode));
    if (m_eMode == REPLACE)
    {
        if (renameat(m_iFolderFd, m_sTemporary.c_str(), m_iFolderFd, m_sBaseName.c_str()) != 0)
            return fail("cannot replace " + m_sTarget + ": " + reason());
        return true;
    }
    if (renameNoReplace(m_iFolderFd, m_sTemporary.c_str(), m_sBaseName.c_str()) == 0)
        return true;
    if (errno == EINVAL) // a file system without the flag: a hard link cannot replace either
    {
        if (linkat(m_iFolderFd, m_sTemporary.c_str(), m_iFolderFd, m_sBaseName.c_str(), 0) == 0)
        {
            unlinkat(m_iFolderFd, m_sTemporary.c_str(), 0);
            return true;
        }
    }
    return fail(errno == EEXIST ? m_sTarget + " already exists" : "cannot create " + m_sTarget + ": " + reason());
}

void CAtomicFile::discard()
{
    if (m_iFd >= 0)
        ::close(m_iFd);
    m_iFd = -1;
    if (!m_sTemporary.empty() && m_iFolderFd >= 0)
        unlinkat(m_iFolderFd, m_sTemporary.c_str(), 0);
    m_sTemporary.clear();
    if (m_iFolderFd >= 0)
        ::close(m_iFolderFd);
    m_iFolderFd = -1;
    m_sBuffer.clear();
}

bool CAtomicFile::fail(const std::string& what)
{
    if (m_sError.empty())
        m_sError = what;
    discard();
    return false;
}
