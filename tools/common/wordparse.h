#pragma once

// How the tools quote and read a word of a file or command line they were given.
#include <charconv>
#include <string>

#include "files/safefile.h"

// The word in single quotes for a message, its control bytes made visible and its length cut.
inline std::string inQuotes(const std::string& word)
{
    return "'" + printableExcerpt(word) + "'";
}

// The whole word as a number of type T; false unless all of it is one that T holds.
template <typename T>
bool parseWhole(const std::string& word, T& value)
{
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return error == std::errc() && stop == end;
}
