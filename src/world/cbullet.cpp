#include "world/cbullet.h"

#include <cmath>
#include <memory_resource>

#include "app/cparams.h"

namespace
{
// The game's own value of pi: bullet paths are tuned with it, so the library constant
// would shift every shot slightly.
constexpr double kPi = 3.1415;

// The shots' pool, made at the first shot. It may go before the last shots do, as the
// program's objects are destroyed at exit: those then go to the heap directly.
bool g_bPoolGone = false;

struct SShotPool
{
    std::pmr::unsynchronized_pool_resource resource;
    ~SShotPool() { g_bPoolGone = true; }
};

// The step a shot makes each millisecond: worked out once, as it never turns.
SVector2D velocityAlong(double angle)
{
    const double r = angle * kPi / 180;
    return SVector2D(std::sin(r) * CParams::Bullet_Speed, std::cos(r) * CParams::Bullet_Speed);
}

SShotPool& shotPool()
{
    static SShotPool pool;
    return pool;
}
} // namespace

void* CBullet::operator new(std::size_t size)
{
    return shotPool().resource.allocate(size, alignof(CBullet));
}

void CBullet::operator delete(void* bullet, std::size_t size) noexcept
{
    if (g_bPoolGone)
        return; // the pool gave its memory back to the heap as it went
    shotPool().resource.deallocate(bullet, size, alignof(CBullet));
}

CBullet::CBullet(double x, double y, double angle) : m_vPos(x, y), m_dAngle(angle), m_vVelocity(velocityAlong(angle)) {}

void CBullet::move(double dt)
{
    m_vPos += m_vVelocity * dt;
}

SRect CBullet::getRect() const
{
    return rectAround(m_vPos.x, m_vPos.y, CParams::Bullet_Width, CParams::Bullet_Height);
}
