#pragma once

#include <string>
#include <vector>

class CPixelSpace;

// The help page on a dark translucent panel in the middle of the picture between bottom and
// top (pixels from the picture's bottom), laid out by CHelpLayout in the largest of the
// overlay fonts whose rows fit; rows that still do not fit in the smallest are left out at
// the bottom.
void drawHelpPanel(const CPixelSpace& space, const std::vector<std::string>& lines, double bottom, double top);
