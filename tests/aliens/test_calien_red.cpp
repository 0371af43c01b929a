#include "aliens/calien_red.h"

#include <array>
#include <cmath>

#include "aliens/calien_green.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "support/worldfixture.h"
#include "world/cbullet.h"

namespace
{
const SAction kUpNoFire(ACTION_UP, ACTION_NONE);

class CAlienRedTest : public CWorldTest
{
protected:
    void SetUp() override
    {
        CWorldTest::SetUp();
        CParams::Alien_MovementForce = 0; // aliens stay where the test puts them
    }

    static void place(CAlien& alien, double x, double y)
    {
        alien.reset();
        alien.setState(ALIEN_ALIVE);
        alien.setPosition(x, y);
    }

    // The three populations the aliens look through; empty unless a test adds aliens.
    CAlien_Population m_reds, m_greens, m_blues;
    const PopulationList m_populations{&m_reds, &m_greens, &m_blues};
};

TEST_F(CAlienRedTest, FireDelayCountsDownThenConsultsTheAttackNetwork)
{
    CParams::Alien_Red_FireDelay = 3;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    red.reset();
    for (double expected : {2.0, 1.0, 0.0})
    {
        EXPECT_EQ(red.decideAction(SVector2D(200, 60), m_populations).fire, ACTION_NONE);
        EXPECT_EQ(red.getFireDelay(), expected);
    }
    const SAction attack = red.decideAction(SVector2D(200, 60), m_populations);
    EXPECT_TRUE(attack.fire == ACTION_FIRE || attack.fire == ACTION_NONE);
    EXPECT_EQ(red.getFireDelay(), 3.0);
}

TEST_F(CAlienRedTest, AttackNetworkOutputAboveHalfFires)
{
    CParams::Alien_Red_FireDelay = 0;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    red.reset();
    CNeuralNet* attack = red.getBrain()->getNN(1);
    std::vector<double> weights(attack->getNumberOfWeights(), 0.0);
    weights.back() = -1.0; // output bias weight times a bias of -1: net +1, output 0.73
    attack->putWeights(weights);
    EXPECT_EQ(red.decideAction(SVector2D(200, 60), m_populations).fire, ACTION_FIRE);
    weights.back() = 1.0;
    attack->putWeights(weights);
    EXPECT_EQ(red.decideAction(SVector2D(200, 60), m_populations).fire, ACTION_NONE);
}

TEST_F(CAlienRedTest, TurretWrapsPast360)
{
    CParams::Alien_Red_TurretTurnRate = 7;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    for (int i = 0; i < 51; ++i)
        red.update(kUpNoFire, 1);
    EXPECT_DOUBLE_EQ(red.getTurretAngle(), 357);
    red.update(kUpNoFire, 1);
    EXPECT_DOUBLE_EQ(red.getTurretAngle(), 4);
}

// A negative rate used to turn the angle ever further below 0; with the extreme rates the
// angle and so the look-ahead walk went non-finite.
TEST_F(CAlienRedTest, TurretAngleLeavingItsRangeForNegativeRatesIsMended)
{
    CParams::Alien_Red_TurretTurnRate = -7;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    red.update(kUpNoFire, 1);
    EXPECT_DOUBLE_EQ(red.getTurretAngle(), 353);
    for (int i = 0; i < 1000; ++i)
    {
        red.update(kUpNoFire, 1);
        ASSERT_GE(red.getTurretAngle(), 0);
        ASSERT_LE(red.getTurretAngle(), 360);
    }
}

TEST_F(CAlienRedTest, TurretAtTheExtremeRatesStaysInRange)
{
    for (double rate : {360.0, -360.0, 359.5})
    {
        CParams::Alien_Red_TurretTurnRate = rate;
        CAlien_Red red(400, 300, CParams::Alien_Mass);
        for (int i = 0; i < 5; ++i)
        {
            red.update(kUpNoFire, 1);
            EXPECT_GE(red.getTurretAngle(), 0) << rate;
            EXPECT_LE(red.getTurretAngle(), 360) << rate;
        }
    }
}

TEST_F(CAlienRedTest, BulletLeavesAlongTheTurret)
{
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    place(red, 400, 300);
    red.update(SAction(ACTION_UP, ACTION_FIRE), 0);
    ASSERT_EQ(red.getNumBullets(), 1);
    const double r = CParams::Alien_Diagonal / 1.7 + CParams::Bullet_Height / 2;
    EXPECT_NEAR(red.getBullets()[0]->getPosition().x, 400, 1e-6);
    EXPECT_NEAR(red.getBullets()[0]->getPosition().y, 300 + r, 1e-9);
    EXPECT_EQ(red.getBullets()[0]->getAngle(), 0);
}

TEST_F(CAlienRedTest, LookAheadFindsNothingInAnEmptyLine)
{
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    m_reds.addAlien(&red);
    const std::vector<double> values = red.getLookAheadValues(SVector2D(200, 60), m_populations, M_PI / 2);
    EXPECT_EQ(values, (std::vector<double>{1, 1, 1, 1}));
}

TEST_F(CAlienRedTest, LookAheadKeepsTheLaterOverlappingAlienAndSeesTheGun)
{
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    CAlien_Green nearer(0, 0, 1);
    CAlien_Green farther(0, 0, 1);
    place(red, 200, 300);
    place(nearer, 200, 260);
    place(farther, 200, 250);
    m_reds.addAlien(&red);
    m_greens.addAlien(&nearer);
    m_greens.addAlien(&farther);
    // Straight down: both greens overlap the first box positions; the gun lies further on.
    const std::vector<double> values = red.getLookAheadValues(SVector2D(200, 60), m_populations, -M_PI / 2);
    const double D2 = CParams::Window_Diagonal * CParams::Window_Diagonal;
    EXPECT_DOUBLE_EQ(values[1], 50.0 * 50.0 / D2);
    EXPECT_EQ(values[0], 1.0);
    EXPECT_EQ(values[2], 1.0);
    EXPECT_DOUBLE_EQ(values[3], 240.0 * 240.0 / D2);
}

TEST_F(CAlienRedTest, RedFoundFirstStopsThePassOverLaterPopulations)
{
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    CAlien_Red otherRed(0, 0, CParams::Alien_Mass);
    CAlien_Green green(0, 0, 1);
    place(red, 400, 300);
    place(otherRed, 430, 300); // in the very first box
    place(green, 520, 300);    // further along the line
    m_reds.addAlien(&red);
    m_reds.addAlien(&otherRed);
    m_greens.addAlien(&green);
    const std::vector<double> values = red.getLookAheadValues(SVector2D(200, 60), m_populations, 0.0);
    const double D2 = CParams::Window_Diagonal * CParams::Window_Diagonal;
    EXPECT_DOUBLE_EQ(values[0], 30.0 * 30.0 / D2);
    EXPECT_EQ(values[1], 1.0); // the green one is never recorded

    m_reds.removeAlien(1);
    EXPECT_DOUBLE_EQ(red.getLookAheadValues(SVector2D(200, 60), m_populations, 0.0)[1], 120.0 * 120.0 / D2);
}

TEST_F(CAlienRedTest, FitnessRewardsGunHitsAndPunishesGreenHits)
{
    CParams::Alien_Red_FitnessRule = CAlien_Red::FITNESS_FIRST;
    CParams::Alien_BeingBornTime = 0;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    red.update(kUpNoFire, 1); // timer already 0: alive from here
    ASSERT_EQ(red.getState(), ALIEN_ALIVE);
    for (int i = 0; i < 16; ++i)
        red.update(kUpNoFire, 1);
    ASSERT_EQ(red.getAge(), 16);
    EXPECT_DOUBLE_EQ(red.getFitness(), 2.0);
    red.addHit(TYPE_GUN);
    red.addHit(TYPE_GREEN);
    red.addHit(7);
    EXPECT_DOUBLE_EQ(red.getFitness(), 1.0); // 2 * 4 * 1 / 8
    red.addHit(TYPE_RED);
    EXPECT_DOUBLE_EQ(red.getFitness(), 4.0);
    red.reset();
    EXPECT_EQ(red.getFitness(), 0.0);
}

// The score for fighting the gun: A^0.25 x (gun hits + 1)^4 x (aimed shots + 1)^2, where a
// shot is aimed when its attack decision saw the gun on the turret's line; hits on aliens
// neither pay nor cost. The first score of the same life stays as it was.
TEST_F(CAlienRedTest, ScoreForFightingTheGunPaysForGunHitsAndShotsAimedAtIt)
{
    CParams::Alien_Red_FitnessRule = CAlien_Red::FITNESS_FIGHTS_GUN;
    CParams::Alien_Red_FireDelay = 0;
    CParams::Alien_Red_TurretTurnRate = 0; // the turret looks straight up
    CParams::Alien_BeingBornTime = 0;
    CAlien_Red red(400, 300, CParams::Alien_Mass);
    CNeuralNet* attack = red.getBrain()->getNN(1);
    std::vector<double> weights(attack->getNumberOfWeights(), 0.0);
    weights.back() = -1.0; // fires at every attack decision
    attack->putWeights(weights);
    red.update(kUpNoFire, 50); // alive from here
    for (int i = 0; i < 12; ++i)
        red.update(kUpNoFire, 50);
    EXPECT_DOUBLE_EQ(red.getFitness(), std::pow(12.0, 0.25));
    const SVector2D above(400, 500), aside(100, 60);
    for (int i = 0; i < 4; ++i)
        red.update(red.decideAction(above, m_populations), 50);
    ASSERT_EQ(red.getAge(), 16);
    EXPECT_EQ(red.getNumBullets(), 4);
    EXPECT_EQ(red.getAimedShots(), 4);
    EXPECT_DOUBLE_EQ(red.getFitness(), 2.0 * 25);
    red.addHit(TYPE_GUN);
    EXPECT_DOUBLE_EQ(red.getFitness(), 2.0 * 16 * 25);
    red.addHit(TYPE_RED);
    red.addHit(TYPE_GREEN);
    EXPECT_DOUBLE_EQ(red.getFitness(), 2.0 * 16 * 25);
    CParams::Alien_Red_FitnessRule = CAlien_Red::FITNESS_FIRST;
    EXPECT_DOUBLE_EQ(red.getFitness(), 2.0 * 4 * 4 / 8);
    // A shot that does not see the gun, or an aimed decision that fires nothing, is not aimed.
    red.update(red.decideAction(aside, m_populations), 50);
    EXPECT_EQ(red.getNumBullets(), 5);
    red.decideAction(above, m_populations);
    red.update(kUpNoFire, 50);
    EXPECT_EQ(red.getAimedShots(), 4);
    red.reset();
    EXPECT_EQ(red.getAimedShots(), 0);
}

TEST_F(CAlienRedTest, RedBulletsLiveForeverIsMended)
{
    CParams::Alien_Red_TurretTurnRate = 0;
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    place(red, 400, 500);
    red.update(SAction(ACTION_UP, ACTION_FIRE), 0);
    ASSERT_EQ(red.getNumBullets(), 1);
    const double dt = 10;
    int steps = 0;
    // The bullet flies up; it goes once its box is wholly above the window plus one alien height.
    while (red.getNumBullets() == 1 && steps < 1000)
    {
        const double yBefore = red.getBullets()[0]->getPosition().y;
        red.update(SAction(ACTION_UP, ACTION_NONE), dt);
        ++steps;
        if (red.getNumBullets() == 1)
            ASSERT_LE(red.getBullets()[0]->getRect().bottom, CParams::Window_Height + CParams::Alien_Height);
        else
            EXPECT_GT(yBefore + CParams::Bullet_Speed * dt - CParams::Bullet_Height / 2,
                      CParams::Window_Height + CParams::Alien_Height);
    }
    EXPECT_EQ(red.getNumBullets(), 0);
    EXPECT_LT(steps, 1000);
}
} // namespace

TEST_F(CAlienRedTest, LookAheadReportsWhereItsWalkStops)
{
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    place(red, 400, 300);
    m_reds.addAlien(&red);
    // Straight up through an empty line: it stops at the first box wholly above the window.
    SVector2D end(0, 0);
    red.getLookAheadValues(SVector2D(200, 60), m_populations, M_PI / 2, &end);
    const double halfBox = CParams::Alien_Height / 1.5;
    EXPECT_NEAR(end.x, 400, 1e-9);
    EXPECT_GT(end.y - halfBox, CParams::Window_Height);
    EXPECT_LE(end.y - CParams::Alien_Diagonal - halfBox, CParams::Window_Height);
    // A red alien in the first box, and the gun left behind: it stops there at once.
    CAlien_Red other(0, 0, CParams::Alien_Mass);
    place(other, 430, 300);
    m_reds.addAlien(&other);
    red.getLookAheadValues(SVector2D(200, 60), m_populations, 0.0, &end);
    EXPECT_EQ(end.x, 400);
    EXPECT_EQ(end.y, 300);
}

TEST_F(CAlienRedTest, AttackInputsAreTheLookAheadAlongTheDecisionsAngle)
{
    CParams::Alien_Red_FireDelay = 0;
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    CAlien_Green green(0, 0, 1);
    place(red, 400, 300);
    place(green, 480, 340);
    m_reds.addAlien(&red);
    m_greens.addAlien(&green);
    for (int i = 0; i < 40; ++i)
    {
        red.update(kUpNoFire, 1); // the turret turns
        red.decideAction(SVector2D(200, 60), m_populations);
        EXPECT_EQ(red.getLookAheadAngle(), (90 - red.getTurretAngle()) * 3.1415 / 180);
        EXPECT_EQ(red.getAttackInputs(),
                  red.getLookAheadValues(SVector2D(200, 60), m_populations, red.getLookAheadAngle()));
    }
}

TEST_F(CAlienRedTest, SensorBoxesAndMovementInputsAreThoseOfTheLastDecision)
{
    CAlien_Red red(0, 0, CParams::Alien_Mass);
    place(red, 400, 300);
    m_reds.addAlien(&red);
    const std::array<SRect, 4> boxes = red.getSensorBoxes();
    const SRect own = red.getBoundingBox();
    EXPECT_EQ(boxes[0].bottom, own.top);
    EXPECT_EQ(boxes[1].left, own.right);
    EXPECT_EQ(boxes[2].top, own.bottom);
    EXPECT_EQ(boxes[3].right, own.left);
    EXPECT_DOUBLE_EQ(boxes[0].top - boxes[0].bottom, CParams::Alien_Height * CParams::Alien_SensorLengthScale);
    red.decideAction(SVector2D(300, 60), m_populations);
    const std::vector<double>& inputs = red.getMovementInputs();
    ASSERT_EQ(inputs.size(), 8u);
    EXPECT_EQ(inputs[0], 100); // the gun lies 100 pixels to the left
    EXPECT_EQ(inputs[1], CParams::Window_Width - 100.0);
    const std::vector<double> sensors = red.getSensorValues(m_populations);
    EXPECT_EQ(std::vector<double>(inputs.begin() + 2, inputs.begin() + 6), sensors);
    EXPECT_EQ(std::vector<double>(inputs.begin() + 6, inputs.end()), std::vector<double>({0, 1})) << "no bullet seen";
}
