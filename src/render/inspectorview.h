#pragma once

#include "world/cworldview.h"
#include "world/utils.h"

class CAlien;
class CPixelSpace;

// The inspected ship's marks over the scene: a ring about it, its four sensor boxes outlined
// and tinted by their values, and for a red ship its turret line out to where the look-ahead
// walk stops.
void drawInspectorMarks(const CPixelSpace& space, const CAlien& alien, SVector2D gunPos,
                        const PopulationList& populations);
// The side panel in its region of the picture (pixels of a CPixelSpace): the ship's facts, its
// movement network live and, for a red ship, its attack network (blueAliens: whether the world
// has any, without which the network's blue input is unused).
void drawInspectorPanel(CAlien& alien, const SRect& region, bool blueAliens);
