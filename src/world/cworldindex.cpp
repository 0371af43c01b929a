#include "world/cworldindex.h"

#include <algorithm>
#include <climits>

#include "aliens/calien.h"
#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "world/cbullet.h"
#include "world/cgun.h"

namespace
{
constexpr int kRed = 0;

// Cells twice an alien's size, the box it is seated in: a sensor's reach or a look-ahead box
// then spans three or four cells a side, each holding one or two aliens at the densities the
// band allows, so that a query looks at few aliens beyond those it wants. A bullet grid's
// cells hold a bullet too, as its queries reach half a bullet beyond an alien's box.
void layOut(CSpatialGrid& grid, double objectSize)
{
    const double alienSize = std::max(CParams::Alien_Width, CParams::Alien_Height);
    grid.reset(CParams::Window_Width, CParams::Window_Height, 2 * std::max(alienSize, objectSize));
}
} // namespace

void CWorldIndex::sync(const std::vector<CAlien_Population*>& populations, const CGun& gun)
{
    const bool sameWorld = m_pPopulations == &populations && m_pGun == &gun && m_dAlienWidth == CParams::Alien_Width &&
                           m_dAlienHeight == CParams::Alien_Height && m_dBulletWidth == CParams::Bullet_Width &&
                           m_dBulletHeight == CParams::Bullet_Height;
    m_pPopulations = &populations;
    m_pGun = &gun;
    if (!sameWorld)
    {
        rebuild();
        return;
    }
    // Only what moved changes cells; new aliens are appended, red aliens' bullets refiled.
    for (int p = 0; p < static_cast<int>(m_vAlienHandles.size()); ++p)
    {
        const int filed = std::min(m_vAlienHandles[p].size(), populations[p]->getAliens().size());
        for (int i = 0; i < filed; ++i)
            alienMoved(p, i);
    }
    fileNewAliens();
    for (int i = 0; i < static_cast<int>(m_vRedBulletHandles.size()); ++i)
        redBulletsChanged(i);
    gunBulletsChanged();
}

// Lays the grids over the window and files everything anew.
void CWorldIndex::rebuild()
{
    m_dAlienWidth = CParams::Alien_Width;
    m_dAlienHeight = CParams::Alien_Height;
    m_dAlienHalfWidth = m_dAlienWidth / 2;
    m_dAlienHalfHeight = m_dAlienHeight / 2;
    m_dBulletWidth = CParams::Bullet_Width;
    m_dBulletHeight = CParams::Bullet_Height;
    m_dBulletHalfWidth = m_dBulletWidth / 2;
    m_dBulletHalfHeight = m_dBulletHeight / 2;
    const double bulletSize = std::max(m_dBulletWidth, m_dBulletHeight);
    layOut(m_aliens, 0);
    layOut(m_gunBullets, bulletSize);
    layOut(m_redBullets, bulletSize);
    const std::vector<CAlien_Population*>& populations = *m_pPopulations;
    m_vAlienHandles.resize(populations.size());
    for (std::vector<int>& handles : m_vAlienHandles)
        handles.clear();
    m_vAlienMotions.resize(populations.size());
    for (std::vector<SAlienMotion>& motions : m_vAlienMotions)
        motions.clear();
    m_vRedBulletHandles.resize(populations.empty() ? 0 : populations[kRed]->getAliens().size());
    for (std::vector<int>& handles : m_vRedBulletHandles)
        handles.clear();
    m_vGunBulletHandles.clear();
    fileNewAliens();
    for (int i = 0; i < static_cast<int>(m_vRedBulletHandles.size()); ++i)
        redBulletsChanged(i);
    gunBulletsChanged();
}

void CWorldIndex::fileNewAliens()
{
    const std::vector<CAlien_Population*>& populations = *m_pPopulations;
    for (int p = 0; p < static_cast<int>(populations.size()); ++p)
    {
        const std::vector<CAlien*>& aliens = populations[p]->getAliens();
        std::vector<int>& handles = m_vAlienHandles[p];
        if (handles.size() > aliens.size())
        {
            rebuild(); // an alien left its list: refile everything
            return;
        }
        for (size_t i = handles.size(); i < aliens.size(); ++i)
        {
            const SVector2D position = aliens[i]->getPosition();
            handles.push_back(m_aliens.insert(position.x, position.y, p, static_cast<int>(i)));
            m_vAlienMotions[p].push_back(motionOf(p, static_cast<int>(i)));
        }
    }
    if (m_vRedBulletHandles.size() < populations[kRed]->getAliens().size())
        m_vRedBulletHandles.resize(populations[kRed]->getAliens().size());
}

void CWorldIndex::alienMoved(int population, int index)
{
    const SAlienMotion motion = motionOf(population, index);
    m_aliens.move(m_vAlienHandles[population][index], motion.vPos.x, motion.vPos.y);
    m_vAlienMotions[population][index] = motion;
}

SAlienMotion CWorldIndex::motionOf(int population, int index) const
{
    const CAlien* alien = alienAt(population, index);
    return SAlienMotion{alien->getPosition(), alien->getVelocity(), alien->getId()};
}

void CWorldIndex::redBulletsChanged(int index)
{
    fileBullets(index, m_vRedBulletHandles[index]);
}

void CWorldIndex::gunBulletsChanged()
{
    fileBullets(kGun, m_vGunBulletHandles);
}

// Handle j stays with bullet j whatever happened to the list: the item it carries names
// the index, and only the position it is filed at follows the bullet.
void CWorldIndex::fileBullets(int owner, std::vector<int>& handles)
{
    const std::vector<CBullet*>& bullets =
        owner == kGun ? m_pGun->getBullets() : static_cast<const CAlien_Red*>(alienAt(kRed, owner))->getBullets();
    const size_t count = bullets.size();
    CSpatialGrid& grid = bulletsOf(owner);
    while (handles.size() > count)
    {
        grid.remove(handles.back());
        handles.pop_back();
    }
    for (size_t j = 0; j < handles.size(); ++j)
        grid.move(handles[j], bullets[j]->getPosition().x, bullets[j]->getPosition().y);
    for (size_t j = handles.size(); j < count; ++j)
    {
        const SVector2D position = bullets[j]->getPosition();
        handles.push_back(grid.insert(position.x, position.y, owner, static_cast<int>(j)));
    }
}

int CWorldIndex::firstGunBulletOverlapping(const SRect& box) const
{
    int first = INT_MAX;
    forEachBulletOn(m_gunBullets, box, [&](const CSpatialGrid::SItem& item) {
        if (item.iB < first)
            first = item.iB;
    });
    return first == INT_MAX ? -1 : first;
}

bool CWorldIndex::firstRedBulletOverlapping(const SRect& box, int& alien, int& bullet) const
{
    alien = INT_MAX;
    bullet = INT_MAX;
    forEachBulletOn(m_redBullets, box, [&](const CSpatialGrid::SItem& item) {
        if ((item.iA < alien || (item.iA == alien && item.iB < bullet)))
        {
            alien = item.iA;
            bullet = item.iB;
        }
    });
    return alien != INT_MAX;
}

const CAlien* CWorldIndex::alienAt(int population, int index) const
{
    return (*m_pPopulations)[population]->getAliens()[index];
}
