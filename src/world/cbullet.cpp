#include "world/cbullet.h"

#include <cmath>

#include "app/cparams.h"

namespace
{
// The game's own value of pi: bullet paths are tuned with it, so the library constant
// would shift every shot slightly.
constexpr double kPi = 3.1415;
}

CBullet::CBullet(double x, double y, double angle) : m_vPos(x, y), m_dAngle(angle) {}

void CBullet::move(double dt)
{
    const double r = m_dAngle * kPi / 180;
    const SVector2D velocity(std::sin(r) * CParams::Bullet_Speed, std::cos(r) * CParams::Bullet_Speed);
    m_vPos += velocity * dt;
}

SRect CBullet::getRect() const
{
    return rectAround(m_vPos.x, m_vPos.y, CParams::Bullet_Width, CParams::Bullet_Height);
}
