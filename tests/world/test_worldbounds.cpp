#include "world/worldbounds.h"

#include "aliens/calien_red.h"
#include "brain/calien_population.h"
#include "support/worldfixture.h"
#include "world/cgamecontroller.h"

namespace
{
class CWorldBoundsTest : public CWorldTest
{
};

TEST_F(CWorldBoundsTest, BoundsFollowTheRules)
{
    const SWorldBounds off = worldBounds();
    EXPECT_EQ(off.llGreenAliens, CParams::Alien_NumberOfGreen);
    EXPECT_EQ(off.llRedAliens, CParams::Alien_NumberOfRed);
    // 1512 px of flight at 20 px a step: 76 steps, and one more; a gun shot every
    // Gun_FireInterval steps, a red one every 21 (a fire delay of 20 and the shot).
    ASSERT_EQ(CParams::Alien_Red_FireDelay, 20);
    EXPECT_EQ(off.llGunBullets, 77 / CParams::Gun_FireInterval + 1);
    EXPECT_EQ(off.llRedBullets, CParams::Alien_NumberOfRed * (77 / 21 + 1));
    CParams::Alien_ReproductionOn = 1;
    EXPECT_EQ(worldBounds().llGreenAliens, 12 * 8); // seats of 64 x 48 in 800 x 410
}

TEST_F(CWorldBoundsTest, ExceededBoundIsNamed)
{
    CGameController controller;
    controller.setSeed(4);
    controller.init();
    CParams::Alien_Red_FireDelay = 30; // three shots in flight at most
    const SWorldBounds bounds = worldBounds();
    EXPECT_EQ(exceededBound(controller, bounds), nullptr);
    // Every red alien firing at every update, as no delay holds them: each keeps at most its
    // shots in flight, which together pass the bound the fire delay sets.
    for (CAlien* alien : controller.getPopulations()[0]->getAliens())
        for (int i = 0; i < 2 * CAlien_Red::MaxShotsInFlight; ++i)
            alien->update(SAction(ACTION_UP, ACTION_FIRE), 0);
    EXPECT_EQ(static_cast<CAlien_Red*>(controller.getPopulations()[0]->getAliens()[0])->getNumBullets(),
              CAlien_Red::MaxShotsInFlight);
    EXPECT_STREQ(exceededBound(controller, bounds), "red bullets");
}
} // namespace
