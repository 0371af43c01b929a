#include "app/cshellstate.h"

#include <cmath>

#include "support/worldfixture.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
class CShellStateTest : public CWorldTest
{
};

// A session beside a game whose gun drives itself and fires, stepped as the shell steps it:
// the learning graph takes one point a statistics period for the game and one for its control
// world, at the period's end in game minutes, the gun's kills a minute being the game's own
// count over that time; a new world's graph starts empty.
TEST_F(CShellStateTest, TheSessionsGraphTakesAPointAPeriodForTheGameAndItsControl)
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    CGameController game;
    game.setSeed(9);
    game.init();
    game.getGun()->setAutoMode(true);
    if (!game.getGun()->isFiring())
        game.getGun()->toggleFiring();
    CShellState::SSession session;
    session.controlWorld.init(game.getSeed());
    session.startLearning();
    const auto& series = session.learningGraph.panel(CLearningGraph::Player).getSeries();
    ASSERT_EQ(series.size(), 4u);
    const auto& gameKills = series[1].vPoints;
    const auto& controlKills = series[3].vPoints;
    const double periodMs = CParams::Stats_UpdateInterval;
    for (int step = 1; session.worldClock.worldMs() < 10 * periodMs + dt / 2; ++step)
    {
        game.update(dt);
        session.controlWorld.step(*game.getGun(), dt);
        session.worldClock.addStep(dt, step * dt);
        session.sampleLearning(game);
        const size_t ended = static_cast<size_t>(std::floor(session.worldClock.worldMs() / periodMs));
        ASSERT_EQ(gameKills.size(), ended) << "step " << step;
        ASSERT_EQ(controlKills.size(), ended) << "step " << step;
    }
    for (size_t period = 0; period < gameKills.size(); ++period)
    {
        EXPECT_GE(gameKills[period].x * 60000.0, (period + 1) * periodMs);
        EXPECT_LT(gameKills[period].x * 60000.0, (period + 1) * periodMs + dt);
        EXPECT_EQ(controlKills[period].x, gameKills[period].x);
    }
    ASSERT_GT(game.getTally().gunKills(), 0);
    EXPECT_DOUBLE_EQ(gameKills.back().y, game.getTally().gunKills() / gameKills.back().x);

    session.startLearning();
    EXPECT_TRUE(session.learningGraph.panel(CLearningGraph::Player).isEmpty());
    EXPECT_TRUE(session.learningGraph.panel(CLearningGraph::Green).isEmpty());
}
} // namespace
