#include "world/cbullet.h"

#include <cmath>
#include <algorithm>
#include <new>
#include <vector>
#include <utility>

#include "app/cparams.h"

namespace
{
// The game's own value of pi: bullet paths are tuned with it, so the library constant
// would shift every shot slightly.
constexpr double kPi = 3.1415;

// Shots' memory, taken from the heap a chunk of shots at a time and never given back before
// the program ends: the free shots form a list threaded through their blocks. The chunks
// never number more than the most shots ever in flight at once, which the world bounds.
struct SFreeShot
{
    SFreeShot* pNext;
};

constexpr std::size_t kShotsPerChunk = 64;
constexpr std::size_t kShotSize = std::max(sizeof(CBullet), sizeof(SFreeShot));

struct SShotPool
{
    SFreeShot* pFirst = nullptr;
    std::vector<void*> vChunks;
    ~SShotPool();
    void addChunk();
};

// The program's objects are destroyed at exit in any order: once the pool has gone, a
// shot still deleted goes to the heap directly.
bool g_bPoolGone = false;

SShotPool::~SShotPool()
{
    for (void* chunk : vChunks)
        ::operator delete(chunk);
    g_bPoolGone = true;
}

void SShotPool::addChunk()
{
    char* chunk = static_cast<char*>(::operator new(kShotsPerChunk * kShotSize));
    vChunks.push_back(chunk);
    for (std::size_t i = kShotsPerChunk; i-- > 0;)
        pFirst = new (chunk + i * kShotSize) SFreeShot{pFirst};
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
    if (size != sizeof(CBullet))
        return ::operator new(size);
    SShotPool& pool = shotPool();
    if (!pool.pFirst)
        pool.addChunk();
    return std::exchange(pool.pFirst, pool.pFirst->pNext);
}

void CBullet::operator delete(void* bullet, std::size_t size) noexcept
{
    if (size != sizeof(CBullet))
    {
        ::operator delete(bullet);
        return;
    }
    if (g_bPoolGone)
        return; // its chunks went back to the heap with it
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
