#pragma once

#include <string>

#include "world/cworldview.h"
#include "world/utils.h"

class CAlien;

// Which ship the player looks into. The selection is the alien object itself: the world
// reuses its alien objects through death and rebirth and deletes none before it ends, so the
// selection follows the same ship until it is cleared. Guarantees: a pick selects the
// nearest drawn (active) alien whose box, widened by the tolerance on every side, holds the
// point, the first in population and list order among equally near ones, and clears the
// selection when there is none; wasReborn reports each rebirth of the selected ship once,
// when called after every world step.
class CInspector
{
public:
    // Distance from the point to the box (0 inside it).
    static double distanceToBox(SVector2D point, const SRect& box);
    static CAlien* nearestAlien(const PopulationList& populations, SVector2D point, double tolerance);

    // Selects what nearestAlien finds; returns it, null when the selection is cleared.
    CAlien* pick(const PopulationList& populations, SVector2D point, double tolerance);
    void clear() { m_pSelected = nullptr; }
    CAlien* selected() const { return m_pSelected; }
    // True once after the selected ship went from dying or dead to being born (or alive).
    bool wasReborn();

    // "green alien 12", "red alien 3".
    static std::string name(const CAlien& alien);
    // "Inspecting green alien 12".
    static std::string inspectingMessage(const CAlien& alien);
    // "Green alien 12 is reborn with a crossed brain".
    static std::string rebirthMessage(const CAlien& alien);
    static std::string stateName(int state);
    static std::string originName(int origin);

private:
    CAlien* m_pSelected = nullptr; // the world's; not owned
    int m_iLastState = 0;
};
