#include "world/cbullet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/cparams.h"

namespace
{
class CBulletTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CParams::Bullet_Speed = 0.5;
        CParams::Bullet_Width = 4;
        CParams::Bullet_Height = 10;
    }
    void TearDown() override { CParams::resetToInitialValues(); }

    static constexpr double kDt = 4.0; // one step moves a bullet Bullet_Speed * kDt = 2 pixels
};

TEST_F(CBulletTest, AngleZeroFliesExactlyUp)
{
    CBullet bullet(10, 20, 0);
    bullet.move(kDt);
    EXPECT_EQ(bullet.getPosition().x, 10.0); // sin 0 is exactly 0: no sideways drift
    EXPECT_EQ(bullet.getPosition().y, 22.0);
    bullet.move(kDt);
    EXPECT_EQ(bullet.getPosition().y, 24.0);
    EXPECT_EQ(bullet.getAngle(), 0.0);
}

TEST_F(CBulletTest, AngleNinetyFliesRightWithTheDriftOfTheGamesPi)
{
    CBullet bullet(10, 20, 90);
    bullet.move(kDt);
    const double r = 90 * 3.1415 / 180;
    const double dy = bullet.getPosition().y - 20;
    EXPECT_DOUBLE_EQ(bullet.getPosition().x, 10 + std::sin(r) * 0.5 * kDt);
    EXPECT_DOUBLE_EQ(bullet.getPosition().y, 20 + std::cos(r) * 0.5 * kDt);
    // 3.1415 falls short of pi, so the shot climbs about 1e-4 px; the exact pi gives ~1e-16.
    EXPECT_GT(dy, 1e-5);
    EXPECT_LT(dy, 1e-3);
}

TEST_F(CBulletTest, RectIsCentredOnPosition)
{
    const SRect r = CBullet(10, 20, 45).getRect();
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.right, 12);
    EXPECT_EQ(r.top, 25);
    EXPECT_EQ(r.bottom, 15);
}
}
