#include <cmath>

#include "aliens/calien_red.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "support/randomplayer.h"
#include "support/worldfixture.h"
#include "support/worldsnapshot.h"
#include "world/cbullet.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"
#include "world/worldbounds.h"

namespace
{
bool isLifeState(int state)
{
    return state == ALIEN_BEING_BORN || state == ALIEN_ALIVE || state == ALIEN_DYING || state == ALIEN_DEAD;
}

class CWorldInvariantTest : public CWorldTest
{
protected:
    static void checkAlien(const CAlien& alien, int type)
    {
        ASSERT_TRUE(isLifeState(alien.getState()));
        ASSERT_EQ(alien.getType(), type);
        ASSERT_TRUE(std::isfinite(alien.getPosition().x) && std::isfinite(alien.getPosition().y));
        ASSERT_GE(alien.getPosition().x, 0);
        ASSERT_LE(alien.getPosition().x, CParams::Window_Width);
        ASSERT_LE(Vec2DLength(alien.getVelocity()), CParams::Alien_MaxSpeed);
        for (int i = 0; i < alien.getBrain()->getNumberOfNN(); ++i)
        {
            CNeuralNet* net = alien.getBrain()->getNN(i);
            for (double out : net->update(std::vector<double>(net->getNumInputs(), 0.5)))
                ASSERT_TRUE(out > 0 && out < 1) << out;
        }
    }
};

TEST_F(CWorldInvariantTest, RandomPlayHoldsTheWorldsInvariantsAfterEveryStep)
{
    CParams::Gun_AutoMode = 1;
    CGameController controller;
    controller.setSeed(2024);
    controller.init();
    CRandomPlayer player(7);
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const SWorldBounds bounds = worldBounds();
    int deaths = 0;
    for (int step = 0; step < 20000; ++step)
    {
        player.play(controller);
        controller.update(dt);
        const auto populations = controller.getPopulations();
        for (int p = 0; p < 2; ++p)
            for (const CAlien* alien : populations[p]->getAliens())
                checkAlien(*alien, p == 0 ? TYPE_RED : TYPE_GREEN);
        const char* exceeded = exceededBound(controller, bounds);
        ASSERT_EQ(exceeded, nullptr) << exceeded << " at step " << step;
        ASSERT_TRUE(std::isfinite(populations[0]->getBestFitness()));
        ASSERT_TRUE(std::isfinite(populations[1]->getBestFitness()));
        deaths += populations[1]->getNumDead();
        populations[1]->setNumDead(0);
        // A red bullet strikes one thing at most: never more red strikes than red shots.
        const CWorldTally& tally = controller.getTally();
        ASSERT_LE(tally.hitsOnGun() + tally.deaths(0, CAUSE_RED_BULLET) + tally.deaths(1, CAUSE_RED_BULLET),
                  tally.redShots())
            << "at step " << step;
    }
    EXPECT_GT(controller.getTally().hitsOnGun(), 0) << "the red aliens' shots were tried";
    // The run really exercised death, rebirth and breeding.
    EXPECT_GT(deaths, CParams::Alien_NumberInPool);
    EXPECT_TRUE(controller.getPopulations()[1]->isPoolFull());
}

TEST_F(CWorldInvariantTest, TwoWorldsFromOneSeedStayIdentical)
{
    CParams::Gun_AutoMode = 1;
    CParams::Alien_ReproductionOn = 1;
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    std::vector<double> runs[2];
    for (std::vector<double>& run : runs)
    {
        CGameController controller;
        controller.setSeed(77);
        controller.init();
        CRandomPlayer player(3);
        for (int step = 0; step < 5000; ++step)
        {
            player.play(controller);
            controller.update(dt);
        }
        run = worldSnapshot(controller);
        ASSERT_FALSE(controller.getPopulations()[1]->getPool().empty());
    }
    ASSERT_GT(runs[0].size(), 100u);
    EXPECT_EQ(runs[0], runs[1]);
}
} // namespace
