#pragma once

#include "world/utils.h"

// Where each of the player's panels lies in the picture (pixels, y up), so that any of them
// shown together never overlap: the statistics lines keep the place they always had at the
// top left, the learning graph takes the top of the right half, the inspector's panel the half
// away from its ship below what lies at that half's top, and the help page what is left (the
// other half while a ship is inspected, else the whole width below the statistics lines and
// the graph). Guarantees: every region lies within the picture between the room kept at the
// top (the heads-up line) and at the bottom (the gun's, or the messages' for the help page);
// the regions shown do not overlap each other or the statistics block, in a picture of any
// size (a region with no room left is empty). The inspector's panel changes sides only when
// its ship is kSwitchShare of the width past the middle, so that it does not flit across.
class COverlayLayout
{
public:
    static constexpr double kSwitchShare = 0.15;
    static constexpr double kMaxInspectorWidth = 300.0;
    // Of the right half's height, at least kMinGraphHeight: half while the help page or the
    // inspector's panel may share that half, more when the graph has it alone (its three
    // panels then keep their legends).
    static constexpr double kGraphShare = 0.5;
    static constexpr double kGraphAloneShare = 0.75;
    static constexpr double kMinGraphHeight = 150.0;

    struct SShown
    {
        double dWidth, dHeight;
        double dTopRoom;         // kept free at the top
        double dBottomRoom;      // kept free at the bottom for the graph and the inspector's panel
        double dHelpBottomRoom;  // and for the help page
        const SRect* pStats;     // the statistics lines' block, null when they are not shown
        bool bGraph;
        bool bInspector;
        double dShipX;           // the inspected ship's x
        bool bHelp;
    };
    void layout(const SShown& shown);

    const SRect& graph() const { return m_graph; }
    const SRect& inspector() const { return m_inspector; }
    const SRect& help() const { return m_help; }

private:
    bool inspectorOnTheLeft(const SShown& shown);

    SRect m_graph{0, 0, 0, 0};
    SRect m_inspector{0, 0, 0, 0};
    SRect m_help{0, 0, 0, 0};
    int m_iInspectorSide = 0; // -1 left, 1 right, 0 none yet: a new inspection picks afresh
};
