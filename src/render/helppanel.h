#pragma once

#include <string>
#include <vector>

// The help page on a dark translucent panel in the middle of the picture, laid out by
// CHelpLayout in the largest of the overlay fonts whose rows fit; rows that still do not fit
// in the smallest are left out at the bottom.
void drawHelpPanel(const std::vector<std::string>& lines);
