#pragma once

#include <functional>
#include <string>

// What a layout needs to know of a font, in pixels: how wide a text is, a line's height, and
// how far letters reach below the baseline.
struct SFontMetrics
{
    std::function<double(const std::string&)> width;
    double dLineHeight;
    double dDescent;
};
