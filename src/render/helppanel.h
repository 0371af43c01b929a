#pragma once

#include <string>
#include <vector>

#include "world/utils.h"

// The help page on a dark translucent panel in the middle of its region (pixels of a
// CPixelSpace), laid out by CHelpLayout in the largest of the overlay fonts whose rows fit;
// when even the smallest leaves rows out at the bottom, its last row says that the rest of
// the page does not fit.
void drawHelpPanel(const std::vector<std::string>& lines, const SRect& region);
