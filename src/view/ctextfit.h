#pragma once

#include <functional>
#include <string>

// Texts made to fit a room of pixels.
class CTextFit
{
public:
    using TextWidth = std::function<double(const std::string&)>;
    // The text as it stands when it fits the room, else cut and ended with "..." so that it
    // fits, else empty.
    static std::string fitted(const std::string& text, const TextWidth& width, double room);
};
