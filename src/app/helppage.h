#pragma once

#include <string>
#include <vector>

// The lines of a help text file without their line ends; empty when it cannot be read.
// Only a regular file of at most maxBytes is read, never blocking on it: for a folder,
// FIFO, device or larger file "Cannot read <file>: <reason>" goes to the standard error
// stream (a missing file stays silent: the page is optional). Keeps at most maxLines lines
// of at most maxLength characters each (longer lines are cut), so that no file can make the
// program allocate without limit.
std::vector<std::string> readHelpLines(const std::string& fileName, size_t maxLines = 1000, size_t maxLength = 1000,
                                       size_t maxBytes = 1 << 20);
