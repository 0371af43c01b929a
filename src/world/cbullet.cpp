#include "world/cbullet.h"

#include <cmath>
#include <new>
#include <utility>

#include "app/cparams.h"

namespace
{
// The game's own value of pi: bullet paths are tuned with it, so the library constant
// would shift every shot slightly.
constexpr double kPi = 3.1415;

// Freed shots' memory, kept for the next shots: a list threaded through the free blocks.
// Its length never exceeds the most shots ever in flight at once, which the world bounds.
struct SFreeShot
{
    SFreeShot* pNext;
};

struct SShotPool
{
    SFreeShot* pFirst = nullptr;
    ~SShotPool();
};

// The program's objects are destroyed at exit in any order: once the pool has gone, a
// shot still deleted goes to the heap directly.
bool g_bPoolGone = false;

SShotPool::~SShotPool()
{
    while (pFirst)
        ::operator delete(std::exchange(pFirst, pFirst->pNext));
    g_bPoolGone = true;
}

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
    SShotPool& pool = shotPool();
    if (size != sizeof(CBullet) || !pool.pFirst)
        return ::operator new(size);
    return std::exchange(pool.pFirst, pool.pFirst->pNext);
}

void CBullet::operator delete(void* bullet, std::size_t size) noexcept
{
    if (g_bPoolGone || size != sizeof(CBullet))
    {
        ::operator delete(bullet);
        return;
    }
    SShotPool& pool = shotPool();
    pool.pFirst = new (bullet) SFreeShot{pool.pFirst};
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
