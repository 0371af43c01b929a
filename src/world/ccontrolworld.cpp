#include "world/ccontrolworld.h"

unsigned CControlWorld::seedFor(unsigned gameSeed)
{
    // An odd multiplier makes the mix one to one: two games never share a control world.
    return gameSeed * 2654435761u + 0x9E3779B9u;
}

void CControlWorld::init(unsigned gameSeed)
{
    m_world.setSeed(seedFor(gameSeed));
    m_world.setEvolution(false);
    m_world.setQuiet(true);
    m_world.init();
    m_bInitialized = true;
}

void CControlWorld::step(const CGun& gameGun, double dt)
{
    m_world.setGunLeader(&gameGun);
    m_world.update(dt);
}
