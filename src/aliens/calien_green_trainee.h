#pragma once

#include "aliens/calien_green.h"

// A green alien taught by example: its movement network is trained towards a teacher's
// action on the alien's own inputs, and then the alien makes that move.
class CAlien_Green_Trainee : public CAlien_Green
{
public:
    CAlien_Green_Trainee(double x, double y, double mass);

    void setTrainingAction(SAction action) override;
    void setLastAction(SAction action) override;
    // The training step on the sensor values given.
    void learn(double dt, SVector2D gunPos, double gunAngle, std::vector<double> sensorValues) override;
    // The training step on sensor values it computes itself.
    void trainStep(double dt, SVector2D gunPos, const PopulationList& populations);

    SAction getTrainingAction() const { return m_sTrainingAction; }

private:
    void trainAndMove(std::vector<double> inputs, double dt);

    SAction m_sTrainingAction; // the teacher's move
};
