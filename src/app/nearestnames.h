#pragma once

#include <string>
#include <vector>

// For a name nobody knows, the known names it most likely misspells: those at the least
// edit distance (insertions, deletions, substitutions; letters compared regardless of
// case, so that "alien_width" finds Alien_Width), in the order given, at most `most`.
// Only the first 64 characters of the name count, so that a hostile name costs little.
std::vector<std::string> nearestNames(const std::string& name, const std::vector<std::string>& known, size_t most);

// "A", "A or B", "A, B or C".
std::string alternatives(const std::vector<std::string>& names);
