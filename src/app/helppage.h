#pragma once

#include <string>
#include <vector>

// The lines of a help text file without their line ends; empty when it cannot be read.
// Reads at most maxLines lines of at most maxLength characters each (longer lines are
// cut), so that no file can make the program allocate without limit.
std::vector<std::string> readHelpLines(const std::string& fileName, size_t maxLines = 1000, size_t maxLength = 1000);
