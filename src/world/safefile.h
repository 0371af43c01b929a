#pragma once

#include <string>

// Replaces the file with the contents only once they are completely on disk: they go to a
// temporary file beside it, are flushed with fsync, and are renamed over the old file.
// On failure the old file is untouched and error says what went wrong.
bool writeFileAtomically(const std::string& fileName, const std::string& contents, std::string& error);
