#pragma once

#include <cmath>

#include <vector>

#include "world/cspatialgrid.h"
#include "world/utils.h"

class CAlien;
class CAlien_Population;
class CGun;

// How an alien moves, as another alien's sensors see it: read from the index, it spares
// them a visit to the alien's own memory, which in a world of thousands lies anywhere.
struct SAlienMotion
{
    SVector2D vPos;
    SVector2D vVelocity;
    int iId;
};

// Where every alien and every bullet of the world is, filed in spatial grids so that
// the questions of a world step ("what is near this box?") look only at what is near.
//
// Guarantees, as long as its owner keeps it current:
// - forEachAlienNear visits every alien whose box overlaps the given box (and perhaps some
//   near it; the caller tests), each once, in no particular order;
// - firstGunBulletOverlapping and firstRedBulletOverlapping name the same bullet a walk over
//   the gun's bullets, or over the red aliens in list order and each one's bullets in order,
//   would meet first;
// - a query sees every object where it is at that moment, provided the owner has reported
//   each change since the last sync: alienMoved after an alien's position or velocity changed,
//   redBulletsChanged after a red alien's bullets moved, were fired or removed,
//   gunBulletsChanged likewise for the gun, fileNewAliens after aliens were appended to a
//   population (start-up, offspring). sync catches up with any change at all, at the cost
//   of looking at every object once.
// It owns nothing it points to.
class CWorldIndex
{
public:
    static constexpr int kGun = -1; // the owner of the gun's bullets

    // Files everything as it is now; cheap when little has changed since the last sync.
    void sync(const std::vector<CAlien_Population*>& populations, const CGun& gun);
    void fileNewAliens();
    void alienMoved(int population, int index);
    void redBulletsChanged(int index);
    void gunBulletsChanged();

    // Here exactly the aliens whose boxes overlap the box are visited.
    template <typename TVisit> void forEachAlienNear(const SRect& box, TVisit&& visit) const
    {
        forEachAlienItemOn(box,
                           [&](const CSpatialGrid::SItem& item) { visit(item.iA, item.iB, *alienAt(item.iA, item.iB)); });
    }
    // visit(motion) for exactly the aliens whose boxes overlap the box, as each moved last.
    template <typename TVisit> void forEachAlienMotionOn(const SRect& box, TVisit&& visit) const
    {
        forEachAlienItemOn(box, [&](const CSpatialGrid::SItem& item) { visit(m_vAlienMotions[item.iA][item.iB]); });
    }
    // The index of the first of the gun's bullets touching the box, or -1.
    int firstGunBulletOverlapping(const SRect& box) const;
    // visit(index, position) for exactly the gun's bullets whose boxes overlap the box.
    template <typename TVisit> void forEachGunBulletOn(const SRect& box, TVisit&& visit) const
    {
        forEachBulletOn(m_gunBullets, box,
                        [&](const CSpatialGrid::SItem& item) { visit(item.iB, SVector2D(item.dX, item.dY)); });
    }
    // The first red bullet touching the box, by its alien's index in population 0 and its
    // own index; false when none does.
    bool firstRedBulletOverlapping(const SRect& box, int& alien, int& bullet) const;

private:
    // A point whose box just touches the query box can lie a rounding error beyond the
    // margin (x + half a width may round onto the box's edge): the search reaches a hair
    // further, and the exact test of the item's box decides.
    static double lower(double v) { return v - (std::abs(v) + 1.0) * 1e-12; }
    static double upper(double v) { return v + (std::abs(v) + 1.0) * 1e-12; }
    void rebuild();
    const CAlien* alienAt(int population, int index) const;
    SAlienMotion motionOf(int population, int index) const;
    template <typename TVisit> void forEachAlienItemOn(const SRect& box, TVisit&& visit) const
    {
        m_aliens.forEachIn(lower(box.left - m_dAlienHalfWidth), lower(box.bottom - m_dAlienHalfHeight),
                           upper(box.right + m_dAlienHalfWidth), upper(box.top + m_dAlienHalfHeight),
                           [&](const CSpatialGrid::SItem& item) {
                               // The box an alien at the filed place has, to the bit.
                               if (rectsOverlap(rectAround(item.dX, item.dY, m_dAlienWidth, m_dAlienHeight), box))
                                   visit(item);
                           });
    }
    CSpatialGrid& bulletsOf(int owner) { return owner == kGun ? m_gunBullets : m_redBullets; }
    void fileBullets(int owner, std::vector<int>& handles);
    // Visits exactly the bullets of the grid whose boxes overlap the box.
    template <typename TVisit> void forEachBulletOn(const CSpatialGrid& bullets, const SRect& box, TVisit&& visit) const
    {
        bullets.forEachIn(lower(box.left - m_dBulletHalfWidth), lower(box.bottom - m_dBulletHalfHeight),
                          upper(box.right + m_dBulletHalfWidth), upper(box.top + m_dBulletHalfHeight),
                          [&](const CSpatialGrid::SItem& item) {
                              if (rectsOverlap(rectAround(item.dX, item.dY, m_dBulletWidth, m_dBulletHeight), box))
                                  visit(item);
                          });
    }

    const std::vector<CAlien_Population*>* m_pPopulations = nullptr; // the controller's
    const CGun* m_pGun = nullptr;
    CSpatialGrid m_aliens;  // items: population, index in its list
    // The gun's few bullets apart from the red aliens' many, so that neither question
    // looks through the other's: items are the owner (kGun, or a red alien's index) and
    // the bullet's index.
    CSpatialGrid m_gunBullets;
    CSpatialGrid m_redBullets;
    std::vector<std::vector<int>> m_vAlienHandles;     // by population, then list index
    std::vector<std::vector<SAlienMotion>> m_vAlienMotions; // likewise
    std::vector<std::vector<int>> m_vRedBulletHandles; // by red alien, then bullet index
    std::vector<int> m_vGunBulletHandles;
    double m_dAlienWidth = 0, m_dAlienHeight = 0, m_dAlienHalfWidth = 0, m_dAlienHalfHeight = 0;
    double m_dBulletWidth = 0, m_dBulletHeight = 0, m_dBulletHalfWidth = 0, m_dBulletHalfHeight = 0;
};
