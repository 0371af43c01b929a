#pragma once

#include <string>
#include <string_view>

// A file written so that nobody ever sees it half done, and that never replaces what it
// should not:
// - a target that exists and is not a regular file (a folder, device, FIFO, socket) is
//   refused and left untouched;
// - a target that is a symbolic link is written through: the link chain is resolved here,
//   step by step, and the final file is replaced in its own folder; the link stays a link; a
//   link in a shared sticky folder (like /tmp) is followed only when it belongs to this user
//   or to the folder's owner, as the kernel's protected links rule has it;
// - a target this user may not write to (a read-only file) is refused, as a shell's redirect
//   refuses it; one with other names (hard links) is replaced under this name alone, and the
//   standard error stream says that the other names keep the old contents;
// - the contents go to a temporary file with a fresh unique name in that folder, created
//   exclusively and without following links, with the old file's permissions;
// - commit flushes the file, renames it over the target and flushes the folder; until then
//   the old file is untouched, and every failure (or a destruction without commit) removes
//   the temporary file.
// The first failure is kept in error(); later writes are then ignored.
class CAtomicFile
{
public:
    enum EMode
    {
        REPLACE,       // an existing regular file is replaced
        KEEP_EXISTING  // an existing file makes open and commit fail: nothing is ever replaced
    };

    CAtomicFile() = default;
    ~CAtomicFile(); // removes the temporary file unless committed
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool open(const std::string& fileName, EMode mode = REPLACE);
    bool write(std::string_view data);
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    bool isOpen() const { return m_iFd >= 0; }
    const std::string& error() const { return m_sError; }

private:
    bool fail(const std::string& what);
    bool flushBuffer();
    bool createTemporary(int mode);
    bool putInPlace();

    std::string m_sTarget;     // the final file, links resolved
    std::string m_sBaseName;   // its name inside m_iFolderFd
    std::string m_sTemporary;  // the temporary file's name inside m_iFolderFd
    std::string m_sBuffer;     // written data not yet handed to the kernel
    std::string m_sError;
    EMode m_eMode = REPLACE;
    int m_iFolderFd = -1;      // owned: the target's folder
    int m_iFd = -1;            // owned: the temporary file
};
