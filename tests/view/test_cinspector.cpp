#include "view/cinspector.h"

#include <gtest/gtest.h>

#include "aliens/calien_red.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "support/worldfixture.h"
#include "world/cgamecontroller.h"

namespace
{
class CInspectorTest : public CWorldTest
{
protected:
    void start()
    {
        m_controller.setSeed(4);
        m_controller.init();
    }
    CAlien* green(int i) const { return m_controller.getPopulations()[1]->getAliens()[i]; }
    CAlien* red(int i) const { return m_controller.getPopulations()[0]->getAliens()[i]; }
    // Every alien far away in a corner but the ones a test places.
    void clearTheMiddle()
    {
        for (CAlien_Population* population : m_controller.getPopulations())
            for (CAlien* alien : population->getAliens())
                alien->setPosition(20, 200);
    }
    double dt() const { return 1000.0 / CParams::Game_FramesPerSecond; }

    CGameController m_controller;
};
} // namespace

TEST_F(CInspectorTest, DistanceToABoxIsZeroInsideAndEuclideanOutside)
{
    const SRect box(10, 20, 30, 10);
    EXPECT_EQ(CInspector::distanceToBox(SVector2D(15, 15), box), 0);
    EXPECT_EQ(CInspector::distanceToBox(SVector2D(35, 15), box), 5);
    EXPECT_EQ(CInspector::distanceToBox(SVector2D(33, 24), box), 5);
}

TEST_F(CInspectorTest, PickSelectsTheNearestAlienWithinTheTolerance)
{
    start();
    clearTheMiddle();
    green(0)->setPosition(400, 300); // box 384..416 × 288..312
    red(0)->setPosition(460, 300);   // box 444..476
    CInspector inspector;
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(400, 300), 6), green(0));
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(421, 300), 6), green(0)); // 5 off its box
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(438, 300), 6), red(0));   // nearer the red
    EXPECT_EQ(inspector.selected(), red(0));
    // Empty space clears the selection.
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(430, 300), 6), nullptr);
    EXPECT_EQ(inspector.selected(), nullptr);
    inspector.pick(m_controller.getPopulations(), SVector2D(400, 300), 6);
    inspector.clear();
    EXPECT_EQ(inspector.selected(), nullptr);
}

TEST_F(CInspectorTest, DeadAliensAreNotPickedAndTiesGoToTheFirst)
{
    start();
    clearTheMiddle();
    green(0)->setPosition(400, 300);
    green(1)->setPosition(400, 300);
    CInspector inspector;
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(400, 300), 6), green(0));
    green(0)->setState(ALIEN_DEAD);
    EXPECT_EQ(inspector.pick(m_controller.getPopulations(), SVector2D(400, 300), 6), green(1));
}

TEST_F(CInspectorTest, TheSelectionFollowsItsShipThroughDeathAndRebirthOnce)
{
    CParams::Alien_DyingTime = 0;
    start();
    CAlien* ship = green(3);
    CInspector inspector;
    inspector.pick(m_controller.getPopulations(), ship->getPosition(), 0);
    ASSERT_EQ(inspector.selected(), ship);
    m_controller.update(dt());
    EXPECT_FALSE(inspector.wasReborn());
    ship->setState(ALIEN_DYING);
    EXPECT_FALSE(inspector.wasReborn());
    m_controller.update(dt()); // found dead and reborn in this step
    EXPECT_EQ(ship->getState(), ALIEN_BEING_BORN);
    EXPECT_TRUE(inspector.wasReborn());
    EXPECT_FALSE(inspector.wasReborn()); // reported once
    EXPECT_EQ(inspector.selected(), ship);
    EXPECT_EQ(m_controller.getPopulations()[1]->getAliens()[3], ship); // the same object, reused
}

TEST_F(CInspectorTest, NamesAndMessagesSayWhichShipAndWhatBrain)
{
    start();
    const std::string greenName = "green alien " + std::to_string(green(0)->getId());
    EXPECT_EQ(CInspector::name(*green(0)), greenName);
    EXPECT_EQ(CInspector::inspectingMessage(*red(1)), "Inspecting red alien " + std::to_string(red(1)->getId()));
    red(1)->getBrain()->setOrigin(BRAIN_CROSSED);
    EXPECT_EQ(CInspector::rebirthMessage(*red(1)),
              "Red alien " + std::to_string(red(1)->getId()) + " is reborn with a crossed brain");
    EXPECT_EQ(CInspector::stateName(ALIEN_BEING_BORN), "being born");
    EXPECT_EQ(CInspector::stateName(ALIEN_DYING), "dying");
    EXPECT_EQ(CInspector::stateName(2), "state 2");
    EXPECT_EQ(CInspector::originName(BRAIN_RANDOM), "random");
    EXPECT_EQ(CInspector::originName(BRAIN_CLONED), "cloned");
    EXPECT_EQ(CInspector::originName(BRAIN_LOADED), "loaded");
    EXPECT_EQ(CInspector::originName(9), "origin 9");
}
