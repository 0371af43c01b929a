#include "aliens/calien_green.h"

#include "app/cparams.h"

CAlien_Green::CAlien_Green(double x, double y, double mass)
    : CAlien(x, y, mass, ANIM_GREEN), m_dSpawnTimer(CParams::Alien_Green_SpawnInterval)
{
    m_iType = TYPE_GREEN;
}

void CAlien_Green::update(SAction action, double dt)
{
    CAlien::update(action, dt);
    m_dSpawnTimer -= dt;
}

double CAlien_Green::getFitness()
{
    return m_iAge;
}

void CAlien_Green::resetSpawnTimer()
{
    m_dSpawnTimer = CParams::Alien_Green_SpawnInterval;
}
