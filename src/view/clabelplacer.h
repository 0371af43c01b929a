#pragma once

#include <vector>

#include "world/utils.h"

// Keeps text boxes on screen and off what they must not cover. Guarantees: the box comes back
// the same size and inside the bounds when it fits in them. Clamped into them, a box that
// covers a kept-out box moves to the nearest of the places beside one (left of it, right,
// above or below, a margin apart) that covers none and stays in the bounds; only when no such
// place exists does it stay where the clamping put it.
class CLabelPlacer
{
public:
    static SRect place(SRect label, const SRect& bounds, const std::vector<SRect>& keepOut, double margin);
};
