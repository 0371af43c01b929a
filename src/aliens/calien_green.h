#pragma once

#include "aliens/calien.h"

// The plain learner: steered by its movement network alone, it can have offspring, and its
// fitness is how long it stayed alive.
class CAlien_Green : public CAlien
{
public:
    CAlien_Green(double x, double y, double mass);

    void update(SAction action, double dt) override;
    double getFitness() override;

    bool isSpawnDue() const { return m_dSpawnTimer < 0; }
    void resetSpawnTimer();
    double getSpawnTimer() const { return m_dSpawnTimer; }

private:
    double m_dSpawnTimer; // ms to the next offspring; runs in every state, across rebirths
};
