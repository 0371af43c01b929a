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
// Pixels the side panel keeps free: at the top, at the bottom, and at the top on the left half.
struct SPanelRooms
{
    double dTop;
    double dBottom;
    double dLeftTop;
};
// The side panel: the ship's facts, its movement network live and, for a red ship, its attack
// network.
void drawInspectorPanel(const CPixelSpace& space, CAlien& alien, const SPanelRooms& rooms);
