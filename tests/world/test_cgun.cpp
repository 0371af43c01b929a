#include "world/cgun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/cparams.h"
#include "world/cbullet.h"

namespace
{
// Sends std::cerr into a string for as long as it lives.
class CCerrCapture
{
public:
    CCerrCapture() : m_pOld(std::cerr.rdbuf(m_ss.rdbuf())) {}
    ~CCerrCapture() { std::cerr.rdbuf(m_pOld); }
    CCerrCapture(const CCerrCapture&) = delete;
    CCerrCapture& operator=(const CCerrCapture&) = delete;

    std::string text() const { return m_ss.str(); }

private:
    std::ostringstream m_ss;
    std::streambuf* m_pOld;
};

// The n-th value (from 1) of rand() after srand(seed).
int nthRand(unsigned seed, int n)
{
    std::srand(seed);
    int value = 0;
    for (int i = 0; i < n; ++i)
        value = std::rand();
    return value;
}

class CGunTest : public ::testing::Test
{
protected:
    // Binary-exact values: one step of force adds Gun_MovementForce / Gun_Mass * kDt = 1 px/ms.
    void SetUp() override
    {
        CParams::Window_Width = 800;
        CParams::Window_Height = 600;
        CParams::Gun_Width = 40;
        CParams::Gun_Height = 20;
        CParams::Gun_Mass = 4;
        CParams::Gun_MovementForce = 8;
        CParams::Gun_MaxSpeed = 4;
        CParams::Gun_FireInterval = 3;
        CParams::Gun_AutoDirectionInterval = 4;
        CParams::Gun_AutoMode = 0;
        CParams::Bullet_Speed = 0.5;
        CParams::Bullet_Width = 4;
        CParams::Bullet_Height = 10;
    }
    void TearDown() override { CParams::resetToInitialValues(); }

    static constexpr double kDt = 0.5;
    static constexpr double kWallX = 800 - 20; // Window_Width - Gun_Width / 2

    CGun m_gun{200.0, 60.0, 4.0};

    // Bullet counts after each of n steps of the stored action.
    std::vector<std::size_t> bulletsAfterSteps(int n)
    {
        std::vector<std::size_t> counts;
        for (int i = 0; i < n; ++i)
        {
            m_gun.step(kDt);
            counts.push_back(m_gun.getBullets().size());
        }
        return counts;
    }
};

TEST_F(CGunTest, StartsAtRestWithFiringOffAndResetActionFollowsTheMode)
{
    EXPECT_EQ(m_gun.getPosition().x, 200.0);
    EXPECT_EQ(m_gun.getPosition().y, 60.0);
    EXPECT_EQ(m_gun.getVelocity().x, 0.0);
    EXPECT_EQ(m_gun.getAngle(), 0.0);
    EXPECT_FALSE(m_gun.isFiring());
    EXPECT_FALSE(m_gun.isAutoMode());
    EXPECT_EQ(m_gun.getAction().movement, 6);
    EXPECT_EQ(m_gun.getAction().fire, 255);
    EXPECT_TRUE(m_gun.getBullets().empty());
    m_gun.step(kDt);
    EXPECT_TRUE(m_gun.getBullets().empty()); // waits for the space bar

    CParams::Gun_AutoMode = 1;
    CGun autoGun(10, 60, 4);
    EXPECT_TRUE(autoGun.isAutoMode());
    autoGun.resetAction();
    EXPECT_EQ(autoGun.getAction().movement, 3);
    EXPECT_EQ(autoGun.getAction().fire, 255);
    autoGun.setAutoMode(false);
    autoGun.resetAction();
    EXPECT_EQ(autoGun.getAction().movement, 6);
    EXPECT_EQ(autoGun.getAction().fire, 255);
}

TEST_F(CGunTest, KeyPushLastsOneStepThenVelocityDecaysByNineTenths)
{
    m_gun.setAction(SAction(3, 255));
    m_gun.step(kDt);
    EXPECT_EQ(m_gun.getVelocity().x, 1.0);
    EXPECT_EQ(m_gun.getPosition().x, 200.5);
    EXPECT_EQ(m_gun.getAction().movement, 6); // player mode: back to (6, 6)
    EXPECT_EQ(m_gun.getAction().fire, 6);

    double v = 1.0;
    double x = 200.5;
    for (int i = 0; i < 5; ++i)
    {
        m_gun.step(kDt);
        v *= 0.9;
        x += v * kDt;
        EXPECT_DOUBLE_EQ(m_gun.getVelocity().x, v);
        EXPECT_DOUBLE_EQ(m_gun.getPosition().x, x);
    }
    EXPECT_EQ(m_gun.getVelocity().y, 0.0);
    EXPECT_EQ(m_gun.getPosition().y, 60.0);
}

TEST_F(CGunTest, WallsHoldTheGunWhileVelocityDecaysAndAPushAwayLeavesAtOnce)
{
    CGun gun(kWallX - 0.25, 60, 4);
    gun.update(SAction(3, 255), kDt);
    EXPECT_EQ(gun.getPosition().x, kWallX);
    EXPECT_EQ(gun.getVelocity().x, 1.0); // the wall does not stop the velocity
    gun.update(SAction(6, 255), kDt);
    gun.update(SAction(6, 255), kDt);
    EXPECT_EQ(gun.getPosition().x, kWallX);
    EXPECT_DOUBLE_EQ(gun.getVelocity().x, 0.81);

    gun.update(SAction(2, 255), kDt);
    EXPECT_DOUBLE_EQ(gun.getVelocity().x, -1 + 0.729);
    EXPECT_DOUBLE_EQ(gun.getPosition().x, kWallX + (-1 + 0.729) * kDt);

    CGun leftGun(20.25, 60, 4);
    leftGun.update(SAction(2, 255), kDt);
    EXPECT_EQ(leftGun.getPosition().x, 20.0); // Gun_Width / 2
    EXPECT_EQ(leftGun.getVelocity().x, -1.0);
}

TEST_F(CGunTest, OverSpeedKeepsTheOldVelocityUntilThePushStops)
{
    CParams::Gun_MaxSpeed = 1.5;
    m_gun.update(SAction(3, 255), kDt); // 1.0: accepted
    for (int i = 0; i < 3; ++i)
    {
        m_gun.update(SAction(3, 255), kDt); // 1 + 0.9 = 1.9: refused
        EXPECT_EQ(m_gun.getVelocity().x, 1.0) << "neither clipped to 1.5 nor damped to 0.9";
    }
    EXPECT_EQ(m_gun.getPosition().x, 200 + 4 * 1.0 * kDt);
    m_gun.update(SAction(6, 255), kDt);
    EXPECT_DOUBLE_EQ(m_gun.getVelocity().x, 0.9);

    CParams::Gun_MaxSpeed = 0.5;
    CGun still(100, 60, 4);
    still.update(SAction(2, 255), kDt);
    EXPECT_EQ(still.getVelocity().x, 0.0);
    EXPECT_EQ(still.getPosition().x, 100.0);
}

TEST_F(CGunTest, VelocityExactlyAtMaxSpeedIsAccepted)
{
    CParams::Gun_MaxSpeed = 1.0;
    m_gun.update(SAction(2, 255), kDt);
    EXPECT_EQ(m_gun.getVelocity().x, -1.0);
}

TEST_F(CGunTest, FiresEveryIntervalStepsFromTheTopOfTheGun)
{
    m_gun.toggleFiring();
    EXPECT_EQ(bulletsAfterSteps(10), (std::vector<std::size_t>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4}));
    const CBullet* first = m_gun.getBullets().front();
    EXPECT_EQ(first->getPosition().x, 200.0);
    EXPECT_EQ(first->getPosition().y, 70.0); // Gun_Height / 2 above the centre
    EXPECT_EQ(first->getAngle(), 0.0);
}

TEST_F(CGunTest, FireIntervalZeroFiresEveryStep)
{
    CParams::Gun_FireInterval = 0;
    m_gun.toggleFiring();
    EXPECT_EQ(bulletsAfterSteps(4), (std::vector<std::size_t>{1, 2, 3, 4}));
}

TEST_F(CGunTest, FiringOffAndOnBeforeTheCounterRunsOutFiresNothingInBetween)
{
    m_gun.toggleFiring();
    m_gun.step(kDt);
    m_gun.toggleFiring();
    m_gun.step(kDt);
    m_gun.toggleFiring();
    EXPECT_EQ(bulletsAfterSteps(2), (std::vector<std::size_t>{1, 2}));
}

TEST_F(CGunTest, FireCounterRunsWhileFiringIsOff)
{
    m_gun.toggleFiring();
    m_gun.step(kDt);
    m_gun.toggleFiring();
    EXPECT_EQ(bulletsAfterSteps(5), (std::vector<std::size_t>(5, 1)));
    m_gun.toggleFiring();
    EXPECT_EQ(bulletsAfterSteps(1), (std::vector<std::size_t>{2})); // the counter is already 0
}

TEST_F(CGunTest, UndefinedMovementReportsAndOnlyLowersTheCounters)
{
    m_gun.setAction(SAction(3, 5));
    m_gun.step(kDt); // moves at 1 px/ms and fires; the fire counter is now 3
    m_gun.setAction(SAction(0, 255)); // the up arrow: no movement the gun knows
    {
        CCerrCapture capture;
        bulletsAfterSteps(3);
        EXPECT_EQ(capture.text(), "Undefined SAction type passed to CGun::update\n"
                                  "Undefined SAction type passed to CGun::update\n"
                                  "Undefined SAction type passed to CGun::update\n");
    }
    EXPECT_EQ(m_gun.getPosition().x, 200.5);
    EXPECT_EQ(m_gun.getVelocity().x, 1.0);
    EXPECT_EQ(m_gun.getBullets().size(), 1u);
    EXPECT_EQ(m_gun.getAction().movement, 0);

    m_gun.setAction(SAction(6, 255));
    m_gun.step(kDt);
    EXPECT_EQ(m_gun.getBullets().size(), 2u) << "the fire counter ran out during the skipped updates";
    EXPECT_DOUBLE_EQ(m_gun.getVelocity().x, 0.9);
}

TEST_F(CGunTest, UndefinedMovementSkipsTheAutomaticDrawToo)
{
    m_gun.setAutoMode(true);
    m_gun.setAction(SAction(1, 255));
    CCerrCapture capture;
    std::srand(5);
    m_gun.step(kDt);
    const int next = std::rand();
    EXPECT_EQ(next, nthRand(5, 1)) << "no random number was drawn";
    EXPECT_EQ(m_gun.getAction().movement, 1);

    m_gun.update(SAction(255, 255), kDt);
    EXPECT_EQ(capture.text(), "Undefined SAction type passed to CGun::update\n"
                              "Undefined SAction type passed to CGun::update\n");
}

TEST_F(CGunTest, SetActionTogglesFiringOnFireAndKeepsTheMovementOn255)
{
    m_gun.setAction(SAction(255, 5));
    EXPECT_TRUE(m_gun.isFiring());
    EXPECT_EQ(m_gun.getAction().movement, 6);
    m_gun.setAction(SAction(2, 6));
    EXPECT_TRUE(m_gun.isFiring());
    EXPECT_EQ(m_gun.getAction().movement, 2);
    m_gun.setAction(SAction(255, 5));
    EXPECT_FALSE(m_gun.isFiring());
    EXPECT_EQ(m_gun.getAction().movement, 2);
    EXPECT_EQ(m_gun.getAction().fire, 255); // setAction stores only the movement
}

TEST_F(CGunTest, AutomaticDirectionIsLeftForOneAndRightForZero)
{
    bool seen[2] = {false, false};
    for (unsigned seed = 1; seed <= 20; ++seed)
    {
        std::srand(seed);
        const int draw = RandInt(0, 1);
        seen[draw] = true;
        CGun gun(200, 60, 4);
        std::srand(seed);
        gun.chooseRandomDirection();
        EXPECT_EQ(gun.getAction().movement, draw == 1 ? 2 : 3) << "seed " << seed;
        EXPECT_EQ(gun.getAction().fire, 255);
        gun.setAction(SAction(6, 255));
        gun.chooseRandomDirection(); // the direction counter is not 0: nothing changes
        EXPECT_EQ(gun.getAction().movement, 6);
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST_F(CGunTest, AutomaticModeKeepsEachDirectionForTheIntervalFromTheNextStep)
{
    CParams::Gun_AutoMode = 1;
    for (unsigned seed = 1; seed <= 6; ++seed)
    {
        SCOPED_TRACE(seed);
        CGun gun(400, 60, 4);
        gun.resetAction();
        std::srand(seed);
        gun.step(kDt); // pushes right as reset, then draws the direction of the next steps
        EXPECT_EQ(gun.getVelocity().x, 1.0);
        const int drawn = gun.getAction().movement;
        gun.step(kDt);
        EXPECT_EQ(gun.getVelocity().x > 0.95, drawn == 3);
        gun.step(kDt);
        gun.step(kDt);
        EXPECT_EQ(gun.getAction().movement, drawn);
        const int afterFour = std::rand();
        EXPECT_EQ(afterFour, nthRand(seed, 2)) << "one draw in the first four steps";

        std::srand(seed);
        gun.step(kDt); // the counter has run out: the fifth step draws again
        const int movement = gun.getAction().movement;
        const int afterFive = std::rand();
        std::srand(seed);
        EXPECT_EQ(movement, RandInt(0, 1) == 1 ? 2 : 3);
        EXPECT_EQ(afterFive, nthRand(seed, 2));
    }
}

TEST_F(CGunTest, RemoveBulletDeletesOnlyThatOneAndShiftsTheLaterOnes)
{
    CParams::Gun_FireInterval = 0;
    m_gun.toggleFiring();
    bulletsAfterSteps(3); // three bullets at one place
    const std::vector<CBullet*> before = m_gun.getBullets();
    m_gun.updateBullets(2.0);
    for (const CBullet* bullet : before)
        EXPECT_EQ(bullet->getPosition().y, 71.0);

    m_gun.removeBullet(1);
    EXPECT_EQ(m_gun.getBullets(), (std::vector<CBullet*>{before[0], before[2]}));
    EXPECT_EQ(before[0]->getPosition().y, 71.0);
    m_gun.removeBullet(1);
    m_gun.removeBullet(0);
    EXPECT_TRUE(m_gun.getBullets().empty());
}

TEST_F(CGunTest, RectIsCentredOnPosition)
{
    const SRect r = m_gun.getRect();
    EXPECT_EQ(r.left, 180);
    EXPECT_EQ(r.right, 220);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.bottom, 50);
}
}
