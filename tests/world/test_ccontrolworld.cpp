#include "world/ccontrolworld.h"

#include "aliens/calien.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "support/randomplayer.h"
#include "support/worldfixture.h"
#include "support/worldsnapshot.h"
#include "world/cgun.h"

namespace
{
class CControlWorldTest : public CWorldTest
{
};

// A game played by keys, its gun switched to the automatic mode for a while: after every step
// the control's gun stands where the game's does and has fired as many shots, and the game's
// own course is bit for bit the course of the same game played alone.
TEST_F(CControlWorldTest, ReplaysTheGameGunAndNeverChangesTheGame)
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const auto play = [dt](CControlWorld* control) {
        CGameController game;
        game.setSeed(9);
        game.init();
        if (control)
            control->init(game.getSeed());
        CRandomPlayer player(3);
        for (int step = 1; step <= 3000; ++step)
        {
            player.play(game);
            game.getGun()->setAutoMode(step > 1000 && step <= 2000);
            game.update(dt);
            if (!control)
                continue;
            control->step(*game.getGun(), dt);
            const CGun& gun = *control->world().getGun();
            EXPECT_EQ(gun.getPosition().x, game.getGun()->getPosition().x) << "step " << step;
            EXPECT_EQ(gun.getShotsFired(), game.getGun()->getShotsFired()) << "step " << step;
            if (HasFailure())
                break;
        }
        EXPECT_GT(game.getGun()->getShotsFired(), 10);
        return fingerprint(worldSnapshot(game));
    };
    CControlWorld control;
    const uint64_t beside = play(&control);
    EXPECT_EQ(beside, play(nullptr));
    // Its aliens died and were reborn with random brains: its pools record them, no breeding.
    const CAlien_Population& greens = *control.world().getPopulations()[1];
    EXPECT_GT(greens.getTotalOffered(), 100);
    for (const CAlien* alien : greens.getAliens())
        EXPECT_EQ(alien->getBrain()->getOrigin(), BRAIN_RANDOM);
    EXPECT_NE(CControlWorld::seedFor(9), 9u);
}
// A control keeps its pools for the record alone; their copies drew from the control's own
// random sequence, so that which brains a pool took in (by its half-lives, by the red
// aliens' score) set the course of the aliens beside it: the same seed's control differed
// from minute 1 between the pool rules it was compared with.
TEST_F(CControlWorldTest, ControlsCourseDependsOnItsPoolsRuleIsMended)
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const auto course = [dt](double halfLife, int fitnessRule) {
        CParams::Alien_Green_PoolHalfLife = CParams::Alien_Red_PoolHalfLife = halfLife;
        CParams::Alien_Red_FitnessRule = fitnessRule;
        // A game's gun, played by keys that draw nothing: the same gun whatever the pools do.
        CGun gun(200.0, 60.0, CParams::Gun_Mass);
        gun.toggleFiring();
        CControlWorld control;
        control.init(4);
        for (int step = 0; step < 2000; ++step)
        {
            gun.setAction(SAction((step / 40) % 2 ? ACTION_LEFT : ACTION_RIGHT, ACTION_UNDEFINED));
            gun.step(dt);
            control.step(gun, dt);
        }
        // Where every alien is and how it moves, and its weights: the course, without the pools.
        std::vector<double> values;
        for (const CAlien_Population* population : control.world().getPopulations())
            for (const CAlien* alien : population->getAliens())
            {
                values.insert(values.end(), {alien->getPosition().x, alien->getPosition().y, alien->getVelocity().x,
                                             static_cast<double>(alien->getState())});
                appendWeights(*alien->getBrain(), values);
            }
        const CWorldTally& tally = control.world().getTally();
        values.insert(values.end(), {static_cast<double>(tally.gunKills()), static_cast<double>(tally.hitsOnGun())});
        return values;
    };
    const std::vector<double> shipped = course(0.25, 0);
    EXPECT_GT(shipped.back() + shipped[shipped.size() - 2], 10) << "things happened";
    EXPECT_EQ(firstDifference(shipped, course(0, 0)), -1);
    EXPECT_EQ(firstDifference(shipped, course(0.25, 1)), -1);
}
} // namespace
