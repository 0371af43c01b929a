#include "world/cgun.h"

#include <iostream>

#include "app/cparams.h"
#include "world/cbullet.h"

namespace
{
// Share of the old velocity kept each step: the gun glides to a stop once pushing ends.
constexpr double kVelocityDamping = 0.9;

// The x force of a movement code; false for a code the gun cannot follow.
bool forceFor(int movement, double& fx)
{
    switch (movement)
    {
    case ACTION_LEFT: fx = -CParams::Gun_MovementForce; return true;
    case ACTION_RIGHT: fx = CParams::Gun_MovementForce; return true;
    case ACTION_NONE: fx = 0.0; return true;
    default: return false;
    }
}
}

CGun::CGun(double x, double y, double mass)
    : m_bFiring(false), // waits for the first press of the space bar
      m_bAutoMode(CParams::Gun_AutoMode != 0),
      m_iFireCounter(0),
      m_iDirectionCounter(0),
      m_vPos(x, y),
      m_vVelocity(0, 0),
      m_dMass(mass),
      m_dAngle(0.0),
      m_sAction(ACTION_NONE, ACTION_UNDEFINED)
{
}

CGun::~CGun()
{
    for (CBullet* pBullet : m_vBullets)
        delete pBullet;
}

void CGun::resetAction()
{
    m_sAction = SAction(m_bAutoMode ? ACTION_RIGHT : ACTION_NONE, ACTION_UNDEFINED);
}

void CGun::update(SAction action, double dt)
{
    m_bFiredInLastUpdate = false;
    lowerCounters();
    double fx = 0.0;
    if (!forceFor(action.movement, fx))
    {
        std::cerr << "Undefined SAction type passed to CGun::update" << std::endl;
        return;
    }
    prepareNextAction();
    accelerate(SVector2D(fx / m_dMass, 0.0), dt);
    m_vPos += m_vVelocity * dt;
    keepInsideWindow();
    fireIfReady();
}

void CGun::follow(const CGun& leader)
{
    m_vPos = leader.m_vPos;
    m_vVelocity = leader.m_vVelocity;
    m_dAngle = leader.m_dAngle;
    m_bFiredInLastUpdate = false;
    if (leader.m_bFiredInLastUpdate)
        fire();
}

void CGun::setAction(SAction action)
{
    if (action.fire == ACTION_FIRE)
        toggleFiring();
    if (action.movement != ACTION_UNDEFINED)
        m_sAction.movement = action.movement;
}

SRect CGun::getRect() const
{
    return rectAround(m_vPos.x, m_vPos.y, CParams::Gun_Width, CParams::Gun_Height);
}

void CGun::updateBullets(double dt)
{
    for (CBullet* pBullet : m_vBullets)
        pBullet->move(dt);
}

void CGun::removeBullet(unsigned index)
{
    delete m_vBullets[index];
    m_vBullets.erase(m_vBullets.begin() + index);
}

void CGun::chooseRandomDirection()
{
    if (m_iDirectionCounter != 0)
        return;
    m_sAction.movement = RandInt(0, 1) == 1 ? ACTION_LEFT : ACTION_RIGHT;
    m_iDirectionCounter = CParams::Gun_AutoDirectionInterval;
}

void CGun::lowerCounters()
{
    if (m_iDirectionCounter > 0)
        --m_iDirectionCounter;
    if (m_iFireCounter > 0)
        --m_iFireCounter;
}

void CGun::prepareNextAction()
{
    if (m_bAutoMode)
        chooseRandomDirection();
    else
        m_sAction = SAction(ACTION_NONE, ACTION_NONE); // each key event pushes for one step
}

void CGun::accelerate(SVector2D acceleration, double dt)
{
    SVector2D candidate = acceleration * dt;
    candidate += kVelocityDamping * m_vVelocity;
    // Too fast: the old velocity stays as it was, neither clipped nor damped.
    if (Vec2DLength(candidate) <= CParams::Gun_MaxSpeed)
        m_vVelocity = candidate;
}

void CGun::keepInsideWindow()
{
    const double halfWidth = CParams::Gun_Width / 2;
    if (m_vPos.x > CParams::Window_Width - halfWidth)
        m_vPos.x = CParams::Window_Width - halfWidth;
    if (m_vPos.x < halfWidth)
        m_vPos.x = halfWidth;
}

void CGun::fireIfReady()
{
    if (m_iFireCounter != 0 || !m_bFiring)
        return;
    fire();
    m_iFireCounter = CParams::Gun_FireInterval;
}

void CGun::fire()
{
    m_vBullets.push_back(new CBullet(m_vPos.x, m_vPos.y + CParams::Gun_Height / 2, m_dAngle));
    m_bFiredInLastUpdate = true;
    ++m_llShotsFired;
}
