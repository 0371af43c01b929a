#pragma once

// How the tools quote and read a word of a file or command line they were given.
#include <cerrno>
#include <charconv>
#include <cctype>
#include <cstdlib>
#include <string>
#include <type_traits>

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
#if !defined(__cpp_lib_to_chars)
    // A C++ library without from_chars for floating point (the browser build's): strtod, held
    // to from_chars' grammar, which takes no blank, plus sign or hexadecimal prefix.
    if constexpr (std::is_floating_point_v<T>)
    {
        const size_t digits = word.size() > 0 && word[0] == '-' ? 1 : 0;
        if (word.empty() || std::isspace(static_cast<unsigned char>(word[0])) || word[0] == '+' ||
            (word.size() > digits + 1 && word[digits] == '0' && (word[digits + 1] == 'x' || word[digits + 1] == 'X')))
            return false;
        char* stop = nullptr;
        errno = 0;
        const T parsed = static_cast<T>(std::strtod(word.c_str(), &stop));
        if (stop != end || errno == ERANGE)
            return false;
        value = parsed;
        return true;
    }
    else
#endif
    {
        const auto [stop, error] = std::from_chars(word.data(), end, value);
        return error == std::errc() && stop == end;
    }
}
