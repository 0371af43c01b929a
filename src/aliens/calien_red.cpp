#include "aliens/calien_red.h"

#include <cmath>

#include "app/cparams.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "world/cbullet.h"
#include "files/kassert.h"

CAlien_Red::CAlien_Red(double x, double y, double mass)
    : CAlien(x, y, mass, ANIM_RED), m_dFireDelay(0.0), m_dTurretAngle(0.0), m_iGunHits(0), m_iBlueHits(0),
      m_iGreenHits(0), m_iRedHits(0), m_iAimedShots(0)
{
    m_iType = TYPE_RED;
    m_pBrain->addNN(new CNeuralNet(CParams::Alien_NN_Attack_NumInputs, CParams::Alien_NN_Attack_NumOutputs,
                                   CParams::Alien_NN_Attack_NumHiddenLayers,
                                   CParams::Alien_NN_Attack_NeuronsPerHiddenLayer));
    CAlien_Red::reset();
}

CAlien_Red::~CAlien_Red()
{
    for (CBullet* bullet : m_vBullets)
        delete bullet;
}

void CAlien_Red::reset()
{
    CAlien::reset();
    m_dFireDelay = CParams::Alien_Red_FireDelay;
    m_dTurretAngle = 0.0;
    m_iGunHits = m_iBlueHits = m_iGreenHits = m_iRedHits = 0;
    m_iAimedShots = 0;
}

SAction CAlien_Red::decideAction(SVector2D gunPos, const CWorldView& world)
{
    SAction resAct = CAlien::decideAction(gunPos, world);
    m_bGunOnTheLine = false;
    if (m_dFireDelay > 0)
    {
        m_dFireDelay -= 1.0;
        resAct.fire = ACTION_NONE;
        return resAct;
    }
    m_dFireDelay = CParams::Alien_Red_FireDelay;
    CNeuralNet* ptrNNAttack = m_pBrain->getNN(1);
    KA_ASSERT(ptrNNAttack != NULL);
    const std::array<double, 4> lookAheadValues = lookAhead(gunPos, world, getLookAheadAngle());
    m_vAttackInputs.assign(lookAheadValues.begin(), lookAheadValues.end());
    const std::vector<double>& outputs = ptrNNAttack->update(m_vAttackInputs);
    KA_ASSERT((int) outputs.size() > 0);
    resAct.fire = outputs[0] > 0.5 ? ACTION_FIRE : ACTION_NONE;
    // The look-ahead found the gun on the turret's line: a shot now is aimed at it.
    m_bGunOnTheLine = m_vAttackInputs[3] < 1.0;
    return resAct;
}

void CAlien_Red::update(SAction action, double dt)
{
    for (CBullet* bullet : m_vBullets)
        bullet->move(dt);
    removeLostBullets();
    m_bFiredInLastUpdate = action.fire == ACTION_FIRE && getNumBullets() < MaxShotsInFlight;
    if (m_bFiredInLastUpdate)
    {
        fire();
        m_iAimedShots += m_bGunOnTheLine;
    }
    CAlien::update(action, dt);
    // The rate is at most 360 either way, so one correction keeps the angle in [0, 360].
    m_dTurretAngle += CParams::Alien_Red_TurretTurnRate;
    if (m_dTurretAngle > 360)
        m_dTurretAngle -= 360;
    else if (m_dTurretAngle < 0)
        m_dTurretAngle += 360;
}

void CAlien_Red::fire()
{
    const double r = CParams::Alien_Diagonal / 1.7 + CParams::Bullet_Height / 2;
    const double a = (90 - m_dTurretAngle) * 3.1415926 / 180;
    CBullet* ptrBullet = new CBullet(m_vPos.x + std::cos(a) * r, m_vPos.y + std::sin(a) * r, m_dTurretAngle);
    m_vBullets.push_back(ptrBullet);
}

// A bullet wholly outside the window widened by one alien box on every side (boxes poke
// past the side edges through the wrap-around) can never hit anything again.
void CAlien_Red::removeLostBullets()
{
    const SRect reach(-CParams::Alien_Width, CParams::Window_Height + CParams::Alien_Height,
                      CParams::Window_Width + CParams::Alien_Width, -CParams::Alien_Height);
    for (int i = static_cast<int>(m_vBullets.size()) - 1; i >= 0; --i)
        if (!rectsOverlap(m_vBullets[i]->getRect(), reach))
            removeBullet(i);
}

void CAlien_Red::removeBullet(int index)
{
    delete m_vBullets[index];
    m_vBullets.erase(m_vBullets.begin() + index);
}

void CAlien_Red::addHit(int targetType)
{
    switch (targetType)
    {
    case TYPE_RED: ++m_iRedHits; break;
    case TYPE_GREEN: ++m_iGreenHits; break;
    case TYPE_BLUE: ++m_iBlueHits; break;
    case TYPE_GUN: ++m_iGunHits; break;
    default: break;
    }
}

double CAlien_Red::getFitness()
{
    return CParams::Alien_Red_FitnessRule == FITNESS_FIGHTS_GUN ? fightingScore() : firstScore();
}

double CAlien_Red::firstScore() const
{
    const double reward = (m_iGunHits + 1.0) * (m_iGunHits + 1.0) * (m_iRedHits + 1.0) * (m_iRedHits + 1.0);
    // 64-bit: a long-lived alien's hit counts would overflow an int product.
    const long long g = m_iGreenHits + 1;
    const long long b = m_iBlueHits + 1;
    const double penalty = static_cast<double>(g * g * g * b * b * b * b);
    return std::pow(static_cast<double>(m_iAge), 0.25) * reward / penalty;
}

// Hits on the gun are rare (one red life in ten or so scores one), so a score of hits alone
// is luck; the shots aimed at the gun come several times as often and pay for aiming itself,
// so that a red alien that stops shooting never scores best. Nothing pays for hitting another
// alien and nothing costs: a cost of hitting green aliens made silence the safest life.
double CAlien_Red::fightingScore() const
{
    const double hits = (m_iGunHits + 1.0) * (m_iGunHits + 1.0);
    const double aimed = m_iAimedShots + 1.0;
    return std::pow(static_cast<double>(m_iAge), 0.25) * hits * hits * aimed * aimed;
}
