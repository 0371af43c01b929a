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

TEST_F(CInspectorPanelTest, PanelTakesTheSideAwayFromTheShip)
{
    CInspectorPanel panel;
    panel.layout({800, 600, 100, 22, 80}, 5, 12, true);
    EXPECT_GT(panel.panel().left, 400);
    expectSound(panel, 800, 600);
    EXPECT_EQ(panel.panel().top, 578);
    EXPECT_EQ(panel.panel().bottom, 80);
    panel.layout({800, 600, 700, 22, 80}, 5, 12, false);
    EXPECT_LT(panel.panel().right, 400);
    expectSound(panel, 800, 600);
    EXPECT_FALSE(panel.hasAttack());
    // Room for the labels on both sides of the network.
    EXPECT_GE(panel.movementBox().left - panel.panel().left, CInspectorPanel::kInputLabelRoom);
    EXPECT_GE(panel.panel().right - panel.movementBox().right, CInspectorPanel::kOutputLabelRoom);
    // The facts' rows lie above the movement network.
    EXPECT_GE(panel.factsTop() - 5 * 12, panel.movementCaption().top);
}

TEST_F(CInspectorPanelTest, PanelOnTheLeftKeepsBelowTheStatisticsLines)
{
    CInspectorPanel panel;
    panel.layout({800, 600, 700, 22, 80, 150}, 5, 12, true);
    EXPECT_EQ(panel.panel().top, 450);
    expectSound(panel, 800, 600);
    panel.layout({800, 600, 100, 22, 80, 150}, 5, 12, true); // on the right they are not in the way
    EXPECT_EQ(panel.panel().top, 578);
    panel.layout({800, 600, 700, 200, 80, 150}, 5, 12, true);
    EXPECT_EQ(panel.panel().top, 400);
}

TEST_F(CInspectorPanelTest, SmallAndTinyPicturesKeepEveryPartInside)
{
    for (const auto& size : {std::pair{400.0, 300.0}, {160.0, 120.0}, {20.0, 20.0}, {4.0, 3.0}})
    {
        CInspectorPanel panel;
        panel.layout({size.first, size.second, 0, 22, 40}, 5, 12, true);
        SCOPED_TRACE(std::to_string(size.first));
        expectSound(panel, size.first, size.second);
    }
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
}
