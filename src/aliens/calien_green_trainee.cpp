#include "aliens/calien_green_trainee.h"

#include "app/cparams.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"

namespace
{
constexpr int kNumTargets = 5;

// One-hot over five outputs: right, left, up, down, and code 4.
std::vector<double> targetsFor(int movement)
{
    std::vector<double> outputs(kNumTargets, 0.0);
    switch (movement)
    {
    case ACTION_RIGHT: outputs[0] = 1.0; break;
    case ACTION_LEFT: outputs[1] = 1.0; break;
    case ACTION_UP: outputs[2] = 1.0; break;
    case ACTION_DOWN: outputs[3] = 1.0; break;
    case 4: outputs[4] = 1.0; break;
    default: break;
    }
    return outputs;
}
} // namespace

CAlien_Green_Trainee::CAlien_Green_Trainee(double x, double y, double mass)
    : CAlien_Green(x, y, mass), m_sTrainingAction(ACTION_UNDEFINED, ACTION_UNDEFINED)
{
    save("test.txt");
}

void CAlien_Green_Trainee::setTrainingAction(SAction action)
{
    m_sTrainingAction = action;
}

void CAlien_Green_Trainee::setLastAction(SAction action)
{
    m_sLastAction = action;
}

void CAlien_Green_Trainee::trainStep(double dt, SVector2D gunPos, const PopulationList& populations)
{
    trainAndMove(movementInputs(gunPos, CWorldView(populations)), dt);
}

void CAlien_Green_Trainee::learn(double dt, SVector2D gunPos, double, std::vector<double> sensorValues)
{
    std::vector<double> inputs;
    appendGunDistances(gunPos, inputs);
    if (CParams::Alien_NN_Movement_UseSensors)
        inputs.insert(inputs.end(), sensorValues.begin(), sensorValues.end());
    trainAndMove(inputs, dt);
}

void CAlien_Green_Trainee::trainAndMove(std::vector<double> inputs, double dt)
{
    // A target vector of another length than the network's outputs is refused by train.
    m_pBrain->getNN(0)->train(inputs, targetsFor(m_sTrainingAction.movement));
    CAlien_Green::update(m_sTrainingAction, dt);
}
