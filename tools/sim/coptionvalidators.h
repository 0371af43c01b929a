#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

// Checks of korvane-sim's option values whose complaints read as sentences about the value
// given; CLI11 puts the option's name in front ("--steps: '0' is not a whole number of at
// least 1"). Each accepts only the whole token and quotes it back as a short printable
// excerpt.
class COptionValidators
{
public:
    // A whole decimal number from min to max. Meant for transform(): the option then gets
    // the plain digits, so that "010" is ten (CLI11 alone would read it as octal).
    static CLI::Validator wholeNumber(long long min, long long max);
    // A finite number above 0: not nan, inf, 0 or below.
    static CLI::Validator positiveNumber();
    // One of the words.
    static CLI::Validator oneOf(const std::vector<std::string>& words);
};
