#include "brain/exactnumber.h"

#include <charconv>
#include <ostream>

void writeExactNumber(std::ostream& out, double value)
{
    char text[32]; // the longest shortest form, "-2.2250738585072014e-308", has 24
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    out.write(text, result.ptr - text);
}
