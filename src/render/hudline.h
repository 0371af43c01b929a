#pragma once

#include <vector>

#include "view/chud.h"
#include "view/cmessageline.h"
#include "world/utils.h"

class CPixelSpace;

// The heads-up line across the top of the picture on an opaque strip, badges as filled boxes
// (a pending pause only outlined).
void drawHud(const CPixelSpace& space, const CHud::SState& state);
// Where the heads-up line lies, for overlays that must keep off it.
SRect hudBox(const CPixelSpace& space);
// The messages stacked in the bottom margin, newest lowest, each on a dark strip, fading, beside
// the panel when it reaches down to them (CMessageLayout).
void drawMessages(const CPixelSpace& space, const std::vector<CMessageLine::SShown>& messages,
                  const SRect& panel = SRect(0, 0, 0, 0));
// The top of the newest message's strip, which a page over the picture keeps above.
double newestMessageTop(const CPixelSpace& space);
