#include "view/cinspectorpanel.h"

#include <gtest/gtest.h>

#include "aliens/calien_green.h"
#include "aliens/calien_red.h"
#include "brain/cbrain.h"
#include "support/worldfixture.h"

namespace
{
class CInspectorPanelTest : public CWorldTest
{
};

bool within(const SRect& inner, const SRect& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.bottom >= outer.bottom &&
           inner.top <= outer.top;
}

bool apart(const SRect& a, const SRect& b)
{
    return a.bottom >= b.top || b.bottom >= a.top;
}

void expectSound(const CInspectorPanel& panel, double width, double height)
{
    EXPECT_TRUE(within(panel.panel(), SRect(0, height, width, 0)));
    if (!panel.showsNetworks())
        return;
    EXPECT_TRUE(within(panel.movementCaption(), panel.panel()));
    EXPECT_TRUE(within(panel.movementBox(), panel.panel()));
    EXPECT_LE(panel.factsTop(), panel.panel().top);
    EXPECT_TRUE(apart(panel.movementCaption(), panel.movementBox()));
    if (!panel.hasAttack())
        return;
    EXPECT_TRUE(within(panel.attackBox(), panel.panel()));
    EXPECT_TRUE(apart(panel.movementBox(), panel.attackCaption()));
    EXPECT_TRUE(apart(panel.attackCaption(), panel.attackBox()));
}
} // namespace

TEST_F(CInspectorPanelTest, EveryPartLiesInsideItsRegionAtAnySize)
{
    for (const auto& size : {std::pair{300.0, 494.0}, {160.0, 120.0}, {20.0, 20.0}, {4.0, 3.0}, {0.0, 0.0}})
    {
        SCOPED_TRACE(std::to_string(size.first));
        CInspectorPanel panel;
        const SRect region(8, 40 + size.second, 8 + size.first, 40);
        panel.layout(region, 5, 12, true);
        EXPECT_EQ(panel.panel().left, region.left);
        EXPECT_EQ(panel.panel().top, region.top);
        expectSound(panel, 8 + size.first, 40 + size.second);
    }
    CInspectorPanel green;
    green.layout(SRect(492, 578, 792, 84), 5, 12, false);
    EXPECT_FALSE(green.hasAttack());
    // Room for the labels on both sides of the network, and the facts' rows above it.
    EXPECT_GE(green.movementBox().left - green.panel().left, CInspectorPanel::kInputLabelRoom);
    EXPECT_GE(green.panel().right - green.movementBox().right, CInspectorPanel::kOutputLabelRoom);
    EXPECT_GE(green.factsTop() - 5 * 12, green.movementCaption().top);
}

// In a 320 x 240 window the inspector's half is about 150 x 180 pixels: the networks were
// squeezed into boxes too small to read. The panel now gives the name, state and fitness,
// as many rows as fit, just tall enough for them; the 800 x 600 window keeps its networks.
TEST_F(CInspectorPanelTest, SqueezedNetworkInASmallWindowIsMended)
{
    CInspectorPanel small;
    small.layout(SRect(164, 218, 316, 40), 5, 12, true);
    EXPECT_FALSE(small.showsNetworks());
    EXPECT_FALSE(small.hasAttack());
    EXPECT_EQ(small.factRows(), CInspectorPanel::kBriefFacts);
    EXPECT_EQ(small.panel().top, 218);
    EXPECT_LE(small.panel().top - small.panel().bottom, 3 * 12 + 3 * CInspectorPanel::kPadding);
    CInspectorPanel tiny;
    tiny.layout(SRect(0, 40, 100, 10), 5, 12, true);
    EXPECT_EQ(tiny.factRows(), 1) << "as many rows as fit";
    CInspectorPanel large;
    large.layout(SRect(492, 578, 792, 84), 5, 12, true);
    EXPECT_TRUE(large.showsNetworks());
    EXPECT_GE(large.attackBox().top - large.attackBox().bottom, CInspectorPanel::kMinNetworkHeight);
    CAlien_Green green(100, 200, CParams::Alien_Mass);
    green.reset();
    EXPECT_EQ(CInspectorPanel::facts(green, true),
              (std::vector<std::string>{"green alien " + std::to_string(green.getId()), "state: being born",
                                        "fitness: 0"}));
}

TEST_F(CInspectorPanelTest, FactsNameTheShipItsStateAgeFitnessAndBrain)
{
    CAlien_Green green(100, 200, CParams::Alien_Mass);
    green.reset();
    green.setState(ALIEN_ALIVE);
    for (int i = 0; i < 7; ++i)
        green.update(SAction(ACTION_UP, ACTION_UNDEFINED), 1.0);
    green.getBrain()->setOrigin(BRAIN_CLONED);
    const std::vector<std::string> facts = CInspectorPanel::facts(green);
    EXPECT_EQ(facts, (std::vector<std::string>{"green alien " + std::to_string(green.getId()), "state: alive",
                                               "age: 7 steps", "fitness so far: 7", "brain: cloned"}));
    CAlien_Red red(100, 200, CParams::Alien_Mass);
    EXPECT_EQ(CInspectorPanel::facts(red)[1], "state: being born");
    EXPECT_EQ(CInspectorPanel::facts(red)[4], "brain: random");
    red.reset();
    red.setState(ALIEN_ALIVE);
    for (int i = 0; i < 7; ++i)
        red.update(SAction(ACTION_UP, ACTION_UNDEFINED), 1.0);
    EXPECT_EQ(CInspectorPanel::facts(red)[3], "fitness so far: 1.63") << "a score to two decimals: 7^0.25";
}
