#include "world/worldmemory.h"

#include "aliens/calien.h"
#include "brain/calien_population.h"
#include "support/heapbytes.h"
#include "support/worldfixture.h"
#include "world/cgamecontroller.h"

namespace
{
class CWorldMemoryTest : public CWorldTest
{
};

// A world with large brains and full pools holds no more than the estimate, and not far
// less: the estimate adds only bullets at their bound, a pool file being loaded and the
// brains breeding makes.
TEST_F(CWorldMemoryTest, EstimateCoversWhatAWorldHolds)
{
    CParams::Window_Width = 1600;
    CParams::Window_Height = 1200;
    CParams::Alien_NumberOfGreen = 100;
    CParams::Alien_NumberOfRed = 50;
    CParams::Alien_NN_Movement_NeuronsPerHiddenLayer = 200;
    CParams::Alien_NN_Attack_NeuronsPerHiddenLayer = 200;
    CParams::updateDerived();
    const double estimate = estimateWorldBytes();

    const size_t before = heapBytesInUse();
    CGameController controller;
    controller.setSeed(1);
    controller.init();
    // Every network evaluated, so that its scratch is made; the attack network every 11 steps.
    for (int step = 0; step < 12; ++step)
        controller.update(1000.0 / CParams::Game_FramesPerSecond);
    for (CAlien_Population* population : controller.getPopulations())
        for (int i = 0; i < CParams::Alien_NumberInPool && !population->getAliens().empty(); ++i)
            population->addToPool(population->getAliens()[0]->getBrain(), i);
    const double held = static_cast<double>(heapBytesInUse() - before);

    EXPECT_LE(held, estimate) << held / estimate;
    EXPECT_GE(held, 0.6 * estimate) << held / estimate;
}

TEST_F(CWorldMemoryTest, EstimateGrowsWithTheBulletsInFlight)
{
    const double shipped = estimateWorldBytes();
    CParams::Bullet_Speed /= 10; // ten times as long in flight
    EXPECT_GT(estimateWorldBytes(), shipped);
}
} // namespace
