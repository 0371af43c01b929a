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
} // namespace
