#pragma once

#include <iosfwd>

// Writes the shortest text that reads back as exactly this value: a stream's default six
// significant digits would round the weights and fitness values of saved brains and pools.
void writeExactNumber(std::ostream& out, double value);
