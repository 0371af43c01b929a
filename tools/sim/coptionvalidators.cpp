#include "sim/coptionvalidators.h"

#include <cmath>
#include <limits>

#include "common/wordparse.h"

CLI::Validator COptionValidators::wholeNumber(long long min, long long max)
{
    const std::string range = max == std::numeric_limits<long long>::max()
                                  ? "of at least " + std::to_string(min)
                                  : "from " + std::to_string(min) + " to " + std::to_string(max);
    return CLI::Validator(
        [min, max, range](std::string& text) {
            long long value = 0;
            if (!parseWhole(text, value) || value < min || value > max)
                return inQuotes(text) + " is not a whole number " + range;
            text = std::to_string(value);
            return std::string();
        },
        "whole number " + range);
}

CLI::Validator COptionValidators::positiveNumber()
{
    return CLI::Validator(
        [](std::string& text) {
            double value = 0.0;
            if (!parseWhole(text, value) || !std::isfinite(value) || value <= 0.0)
                return inQuotes(text) + " is not a finite number above 0";
            return std::string();
        },
        "number above 0");
}

CLI::Validator COptionValidators::oneOf(const std::vector<std::string>& words)
{
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : ", ") + word;
    return CLI::Validator(
        [words, list](std::string& text) {
            for (const std::string& word : words)
                if (text == word)
                    return std::string();
            return inQuotes(text) + " is not one of " + list;
        },
        "one of " + list);
}
