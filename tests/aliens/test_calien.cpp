#include "aliens/calien.h"

#include <cmath>

#include "aliens/calien_green.h"
#include "aliens/calien_green_trainee.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "brain/textureids.h"
#include "support/worldfixture.h"

namespace
{
const SAction kUp(ACTION_UP, ACTION_UNDEFINED);
const SAction kRight(ACTION_RIGHT, ACTION_UNDEFINED);

// Exposes the gun distances the movement network sees.
class CProbeAlien : public CAlien_Green
{
public:
    using CAlien_Green::CAlien_Green;
    std::vector<double> gunDistances(SVector2D gunPos) const
    {
        std::vector<double> distances;
        appendGunDistances(gunPos, distances);
        return distances;
    }
};

// Weights of a network without hidden layer whose outputs are the given values whatever
// its inputs: only the bias weights are set.
std::vector<double> constantOutputWeights(int numInputs, const std::vector<double>& outputs)
{
    std::vector<double> weights;
    for (double o : outputs)
    {
        weights.insert(weights.end(), numInputs, 0.0);
        weights.push_back(std::log(o / (1 - o)) / CParams::NN_Bias); // sigmoid(w * bias) = o
    }
    return weights;
}

class CAlienTest : public CWorldTest
{
protected:
    // An alien that is already alive, standing still at (x, y).
    static void makeAlive(CAlien& alien, double x, double y)
    {
        alien.reset();
        alien.setState(ALIEN_ALIVE);
        alien.setPosition(x, y);
    }
};

TEST_F(CAlienTest, IdsCountUpAcrossKinds)
{
    CAlien_Green green(0, 0, 1);
    CAlien_Green_Trainee trainee(0, 0, 1);
    CAlien_Green another(0, 0, 1);
    EXPECT_EQ(trainee.getId(), green.getId() + 1);
    EXPECT_EQ(another.getId(), green.getId() + 2);
    EXPECT_EQ(green.getType(), TYPE_GREEN);
    EXPECT_EQ(green.getState(), ALIEN_DEAD);
    EXPECT_FALSE(green.isActive());
}

TEST_F(CAlienTest, BeingBornTimerCountsDownThenSwitchesInItsOwnUpdate)
{
    CParams::Alien_BeingBornTime = 100;
    CAlien_Green alien(400, 300, CParams::Alien_Mass);
    alien.reset();
    EXPECT_EQ(alien.getTextureId(), TEX_BEING_BORN);
    for (double expected : {60.0, 20.0, -20.0})
    {
        alien.update(kUp, 40);
        EXPECT_EQ(alien.getState(), ALIEN_BEING_BORN);
        EXPECT_DOUBLE_EQ(alien.getStateTimer(), expected);
    }
    alien.update(kUp, 40);
    EXPECT_EQ(alien.getState(), ALIEN_ALIVE);
    EXPECT_EQ(alien.getAge(), 0);
    EXPECT_EQ(alien.getTextureId(), TEX_GREEN_ALIVE);
    alien.update(kUp, 40);
    EXPECT_EQ(alien.getAge(), 1);
    EXPECT_EQ(alien.getFitness(), 1.0);
}

TEST_F(CAlienTest, DyingPlaysTheExplosionThenDies)
{
    CParams::Alien_DyingTime = 140;
    CParams::Alien_ExplosionFrameTime = 30;
    buildAnimationTables();
    CAlien_Green alien(400, 300, CParams::Alien_Mass);
    makeAlive(alien, 400, 300);
    alien.setState(ALIEN_DYING);
    std::vector<int> pictures;
    while (alien.isActive())
    {
        pictures.push_back(alien.getTextureId());
        alien.update(kUp, 20);
    }
    // 30 ms frames at 20 ms steps: each shows until an update finds its time at or below 0.
    const std::vector<int> expected{22, 22, 22, 24, 24, 24, 26, 26};
    EXPECT_EQ(pictures, expected);
    EXPECT_EQ(alien.getTextureId(), TEX_UNDEFINED);
}

TEST_F(CAlienTest, OverSpeedIsRefusedNotClipped)
{
    CParams::Alien_MaxSpeed = 1.0;
    CParams::Alien_MovementForce = 2;
    CAlien_Green alien(400, 300, 10); // +0.2 per update of 1 ms
    makeAlive(alien, 400, 300);
    alien.setVelocity(SVector2D(0.9, 0));
    alien.update(kRight, 1);
    EXPECT_DOUBLE_EQ(alien.getVelocity().x, 0.9);
    EXPECT_DOUBLE_EQ(alien.getPosition().x, 400.9);
    alien.update(SAction(ACTION_LEFT, ACTION_UNDEFINED), 1);
    EXPECT_NEAR(alien.getVelocity().x, 0.7, 1e-12);
}

TEST_F(CAlienTest, WrapsToExactlyZeroAndToWindowWidth)
{
    CParams::Alien_MovementForce = 0;
    CParams::Alien_MaxSpeed = 5;
    CAlien_Green alien(0, 0, 1);
    makeAlive(alien, CParams::Window_Width - 0.5, 300);
    alien.setVelocity(SVector2D(1, 0));
    alien.update(kRight, 1);
    EXPECT_EQ(alien.getPosition().x, 0.0);

    alien.setPosition(0.3, 300);
    alien.setVelocity(SVector2D(-1, 0));
    alien.update(kRight, 1);
    EXPECT_EQ(alien.getPosition().x, CParams::Window_Width);
}

TEST_F(CAlienTest, DeadAlienIgnoresAnUndefinedAction)
{
    CAlien_Green alien(123, 234, 1);
    alien.update(SAction(ACTION_UNDEFINED, ACTION_UNDEFINED), 33);
    EXPECT_EQ(alien.getPosition().x, 123);
    EXPECT_EQ(alien.getPosition().y, 234);
    EXPECT_EQ(alien.getLastAction().movement, ACTION_UNDEFINED);
}

TEST_F(CAlienTest, UndefinedMovementOfAnActiveAlienEndsTheProgram)
{
    CAlien_Green alien(100, 300, 1);
    alien.reset();
    EXPECT_EXIT(alien.update(SAction(ACTION_NONE, ACTION_NONE), 1), ::testing::ExitedWithCode(255),
                "Undefined SAction.movement type passed to CAlien_Green::update");
}

TEST_F(CAlienTest, GunDistancesWrapAroundTheWindow)
{
    CProbeAlien alien(700, 300, 1);
    EXPECT_EQ(alien.gunDistances(SVector2D(100, 60)), (std::vector<double>{600, 200}));
    alien.setPosition(100, 300);
    EXPECT_EQ(alien.gunDistances(SVector2D(100, 60)), (std::vector<double>{800, 0}));
    alien.setPosition(100, 300);
    EXPECT_EQ(alien.gunDistances(SVector2D(300, 60)), (std::vector<double>{600, 200}));
}

struct SDecisionCase
{
    double o0;
    double o1;
    int movement;
};

void PrintTo(const SDecisionCase& c, std::ostream* os)
{
    *os << "outputs " << c.o0 << " " << c.o1;
}

class CDecisionTest : public CAlienTest, public ::testing::WithParamInterface<SDecisionCase>
{
};

TEST_P(CDecisionTest, LargerCentredOutputChoosesTheAxis)
{
    sensorsOff();
    CParams::Alien_NN_Movement_NumHiddenLayers = 0;
    CAlien_Green alien(400, 300, 1);
    alien.reset();
    const SDecisionCase& c = GetParam();
    alien.getBrain()->getNN(0)->putWeights(constantOutputWeights(2, {c.o0, c.o1}));
    const std::vector<double> outputs = alien.getBrain()->getNN(0)->update({123, 677});
    ASSERT_NEAR(outputs[0], c.o0, 1e-9);
    ASSERT_NEAR(outputs[1], c.o1, 1e-9);
    const SAction action = alien.decideAction(SVector2D(200, 60), {});
    EXPECT_EQ(action.movement, c.movement);
    EXPECT_EQ(action.fire, ACTION_UNDEFINED);
}

INSTANTIATE_TEST_SUITE_P(FourOutcomes, CDecisionTest,
                         ::testing::Values(SDecisionCase{0.9, 0.2, ACTION_RIGHT}, SDecisionCase{0.1, 0.7, ACTION_LEFT},
                                           SDecisionCase{0.5, 0.5, ACTION_UP}, SDecisionCase{0.6, 0.2, ACTION_DOWN}));

TEST_F(CAlienTest, DeadAlienDecidesNothing)
{
    CAlien_Green alien(400, 300, 1);
    const SAction action = alien.decideAction(SVector2D(200, 60), {});
    EXPECT_EQ(action.movement, ACTION_UNDEFINED);
    EXPECT_EQ(action.fire, ACTION_UNDEFINED);
}

TEST_F(CAlienTest, SensorsWithoutNeighboursReadTheWalls)
{
    CAlien_Population population;
    CAlien_Green alien(400, 300, 1);
    makeAlive(alien, 400, 300);
    population.addAlien(&alien);
    const PopulationList populations{&population};

    EXPECT_EQ(alien.getSensorValues(populations), (std::vector<double>{1, 1, 1, 1}));

    // Rising at 0.5 px/ms with the top of the zone 260 px away: 520 ms of a 1000 ms horizon.
    alien.setVelocity(SVector2D(0, 0.5));
    EXPECT_EQ(alien.getSensorValues(populations), (std::vector<double>{0.52, 1, 1, 1}));
    // Slow enough that the wall lies beyond the horizon.
    alien.setVelocity(SVector2D(0, 0.1));
    EXPECT_EQ(alien.getSensorValues(populations)[0], 1.0);
    alien.setVelocity(SVector2D(0, -0.5));
    EXPECT_EQ(alien.getSensorValues(populations), (std::vector<double>{1, 1, 0.3, 1}));
}

TEST_F(CAlienTest, SensorsTimeApproachingNeighboursAlongTheirAxis)
{
    CAlien_Population population;
    CAlien_Green alien(400, 300, 1);
    CAlien_Green right(0, 0, 1);
    CAlien_Green above(0, 0, 1);
    makeAlive(alien, 400, 300);
    makeAlive(right, 440, 300); // inside the right box (reach 48 px)
    makeAlive(above, 400, 340);
    for (CAlien* a : {&alien, &right, &above})
        population.addAlien(a);
    const PopulationList populations{&population};

    right.setVelocity(SVector2D(-0.1, 0)); // 40 px closing at 0.1 px/ms: 400 ms
    above.setVelocity(SVector2D(0, 0.2));  // moving away: never
    std::vector<double> values = alien.getSensorValues(populations);
    EXPECT_DOUBLE_EQ(values[1], 0.4);
    EXPECT_EQ(values[0], 1.0);
    EXPECT_EQ(values[3], 1.0);

    // Same x velocity: dv = 0 reads as nothing, although the box is occupied.
    alien.setVelocity(SVector2D(-0.1, 0));
    values = alien.getSensorValues(populations);
    EXPECT_EQ(values[1], 1.0);
}

TEST_F(CAlienTest, TraineeConstructionWritesTheSaveLineOnce)
{
    ::testing::internal::CaptureStderr();
    CAlien_Green_Trainee trainee(100, 200, 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "If you need CAlien::save, then come and fix it!\n");
    EXPECT_EQ(trainee.getTrainingAction().movement, ACTION_UNDEFINED);
}

TEST_F(CAlienTest, TraineeLearnsTowardsItsTeacherAndMakesTheMove)
{
    sensorsOff();
    CParams::Alien_NN_Movement_NumOutputs = 5; // one output per target, so training applies
    CAlien_Green_Trainee trainee(400, 300, CParams::Alien_Mass);
    trainee.reset();
    trainee.setTrainingAction(SAction(ACTION_LEFT, ACTION_UNDEFINED));
    CNeuralNet* net = trainee.getBrain()->getNN(0);
    const std::vector<double> inputs{200, 600};
    const double before = net->update(inputs)[1];
    for (int i = 0; i < 50; ++i)
    {
        trainee.learn(1, SVector2D(200, 60), 0, {});
        trainee.setPosition(400, 300);
    }
    EXPECT_GT(net->update(inputs)[1], before);
    EXPECT_TRUE(net->isTrained());
    EXPECT_LT(trainee.getVelocity().x, 0); // left pushes
}
} // namespace
