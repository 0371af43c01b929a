#pragma once

#include <cstddef>
#include <string>

// Files from outside the program: what may be read, and where may be written.

// Reads a whole file, but only a regular file: it is opened without blocking (a FIFO does
// not hang the reader), and a folder, FIFO or device is refused ("is a folder", "is not a
// regular file") as is a file longer than maxBytes, before any of it is stored. On failure
// error holds the reason and contents is unchanged.
bool readRegularFile(const std::string& fileName, size_t maxBytes, std::string& contents, std::string& error);
// Opens a regular file for reading as readRegularFile does, for a reader that streams it:
// the descriptor (the caller closes it), or -1 with the reason in error.
int openRegularFile(const std::string& fileName, std::string& error);

// Replaces the file with the contents, only once they are complete (see CAtomicFile).
bool writeFileAtomically(const std::string& fileName, const std::string& contents, std::string& error);
// The same, but never replaces an existing file: fails when the name is taken.
bool writeNewFileAtomically(const std::string& fileName, const std::string& contents, std::string& error);

// Follows the symbolic links of the name, one name of the path at a time, as the kernel
// walks it, to the file that would be written; a name without links is its own target.
// False (with the reason) for links that loop or chain too long, and for a link anywhere on
// the way that belongs to another user in a shared sticky folder, which the kernel's
// protected links rule would not follow either.
bool resolveLinks(const std::string& fileName, std::string& target, std::string& error);

// Checks, before any work is done, that a save could create or replace the file: its
// folder exists and may be written to, and what stands there now (links resolved) is a
// regular file or nothing.
bool checkWritable(const std::string& fileName, std::string& error);

// Do the two names lead to the same file (links resolved, the folders compared by
// identity, so "a/../x" and "x" match), whether or not it exists yet?
bool isSameFile(const std::string& a, const std::string& b);

// Would a save of the file (links resolved) land in the folder (compared by identity)?
bool isInFolder(const std::string& fileName, const std::string& folder);

// "is a folder" or "is not a regular file" for what a file mode describes.
std::string describeNonRegular(unsigned mode);

// A short, printable excerpt of text from outside, for messages: at most maxLength
// characters, anything unprintable shown as \xNN, and "..." when cut.
std::string printableExcerpt(const std::string& text, size_t maxLength = 40);
