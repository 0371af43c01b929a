#pragma once

#include <string>
#include <vector>

#include "world/utils.h"

class CAlien;

// The side panel of the inspected ship, laid out in pixels of the picture: its facts as text
// rows at the top, then the movement network, and for a red ship the attack network below
// it. Guarantees: the panel is the region given (where it lies is COverlayLayout's choice);
// each part lies inside the panel, the parts do not overlap, and the networks' boxes leave
// room for the labels on both sides. A region too small for networks that can be read (a
// small window's) gets the brief facts alone, as many rows of them as fit, in a panel no
// taller than they are.
class CInspectorPanel
{
public:
    static constexpr double kMargin = 8.0;
    static constexpr double kPadding = 8.0;
    static constexpr double kInputLabelRoom = 64.0;
    static constexpr double kOutputLabelRoom = 60.0;
    static constexpr double kMinNetworkWidth = 60.0; // of a network's box, for its nodes to read
    static constexpr double kMinNetworkHeight = 48.0;
    static constexpr int kBriefFacts = 3;

    // The facts, one a row: name, state, age, fitness so far and the brain's origin; brief:
    // name, state and fitness.
    static std::vector<std::string> facts(CAlien& alien, bool brief = false);

    void layout(const SRect& region, int factRows, double lineHeight, bool withAttack);

    const SRect& panel() const { return m_panel; }
    double factsTop() const { return m_dFactsTop; }                // the baseline area starts here
    const SRect& movementCaption() const { return m_movementCaption; }
    const SRect& movementBox() const { return m_movementBox; }     // the nodes, labels outside it
    const SRect& attackCaption() const { return m_attackCaption; }
    const SRect& attackBox() const { return m_attackBox; }
    bool hasAttack() const { return m_bAttack; }
    bool showsNetworks() const { return m_bNetworks; }
    int factRows() const { return m_iFactRows; }

private:
    void layoutBrief(const SRect& region, double lineHeight);

    SRect m_panel{0, 0, 0, 0};
    double m_dFactsTop = 0.0;
    SRect m_movementCaption{0, 0, 0, 0};
    SRect m_movementBox{0, 0, 0, 0};
    SRect m_attackCaption{0, 0, 0, 0};
    SRect m_attackBox{0, 0, 0, 0};
    bool m_bAttack = false;
    bool m_bNetworks = true;
    int m_iFactRows = 0;
};
