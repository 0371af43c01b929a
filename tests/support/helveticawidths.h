#pragma once

#include <string>

// The advance widths in pixels of GLUT's bitmap Helvetica fonts for the characters 32 to 126,
// as glutBitmapWidth gives them, so that layouts can be tested as the game measures them.
namespace helvetica
{
constexpr int kWidths18[95] = {5,  6,  5,  10, 10, 16, 13, 4,  6,  6,  7,  10, 5,  11, 5,  5,  10, 10, 10, 10,
                               10, 10, 10, 10, 10, 10, 5,  5,  10, 11, 10, 10, 18, 12, 13, 14, 13, 11, 11, 14,
                               13, 6,  10, 13, 10, 16, 13, 15, 12, 15, 12, 13, 12, 13, 14, 18, 13, 14, 12, 5,
                               5,  5,  9,  10, 4,  9,  11, 10, 11, 10, 6,  11, 10, 4,  4,  9,  4,  14, 10, 11,
                               11, 11, 6,  9,  6,  10, 10, 14, 10, 10, 9,  6,  4,  6,  10};
constexpr int kWidths12[95] = {4, 3, 5, 7, 7, 11, 9, 3, 4, 4, 5, 7, 4, 8, 3, 4,  7, 7, 7, 7, 7, 7, 7, 7,
                               7, 7, 3, 3, 7, 7,  7, 7, 12, 9, 8, 9, 9, 8, 8, 9, 9, 3, 7, 8, 7, 11, 9, 10,
                               8, 10, 8, 8, 7, 8, 9, 11, 9, 9, 9, 3, 4, 3, 6, 7, 3, 7, 7, 7, 7, 7, 3, 7,
                               7, 3, 3, 6, 3, 9, 7, 7,  7, 7, 4, 6, 3, 7, 7, 9, 6, 7, 6, 4, 3, 4, 7};

// Characters outside 32 to 126 count as wide as the widest letter.
inline double width(const int (&widths)[95], const std::string& text)
{
    double total = 0;
    for (unsigned char c : text)
        total += c >= 32 && c < 127 ? widths[c - 32] : 18;
    return total;
}
inline double width18(const std::string& text)
{
    return width(kWidths18, text);
}
inline double width12(const std::string& text)
{
    return width(kWidths12, text);
}
} // namespace helvetica
