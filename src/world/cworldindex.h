#pragma once

#include <vector>

#include "world/cspatialgrid.h"
#include "world/utils.h"

class CAlien;
class CAlien_Population;
class CGun;

// Where every alien and every bullet of the world is, filed in two spatial grids so that
// the questions of a world step ("what is near this box?") look only at what is near.
//
// Guarantees, as long as its owner keeps it current:
// - forEachAlienNear visits every alien whose box overlaps the given box (and perhaps some
//   near it; the caller tests), each once, in no particular order;
// - firstGunBulletOverlapping and firstRedBulletOverlapping name the same bullet a walk over
//   the gun's bullets, or over the red aliens in list order and each one's bullets in order,
//   would meet first;
// - it reads positions from the objects themselves, so a query sees every object where it
//   is at that moment, provided the owner has reported each move since the last rebuild:
//   alienMoved after an alien's position changed, redBulletsChanged after a red alien's
//   bullets moved, were fired or removed, gunBulletsChanged likewise for the gun. Aliens
//   appended to a population (start-up, offspring) are filed by fileNewAliens.
// It owns nothing it points to.
class CWorldIndex
{
public:
    static constexpr int kGun = -1; // the owner of the gun's bullets

    // Lays the grids over the window and files everything as it is now.
    void rebuild(const std::vector<CAlien_Population*>& populations, const CGun& gun);
    void fileNewAliens();
    void alienMoved(int population, int index);
    void redBulletsChanged(int index);
    void gunBulletsChanged();

    template <typename TVisit> void forEachAlienNear(const SRect& box, TVisit&& visit) const
    {
        m_aliens.forEachIn(box.left - m_dAlienHalfWidth, box.bottom - m_dAlienHalfHeight,
                           box.right + m_dAlienHalfWidth, box.top + m_dAlienHalfHeight,
                           [&](const CSpatialGrid::SItem& item) { visit(item.iA, item.iB, *alienAt(item.iA, item.iB)); });
    }
    // The index of the first of the gun's bullets touching the box, or -1.
    int firstGunBulletOverlapping(const SRect& box) const;
    // The first red bullet touching the box, by its alien's index in population 0 and its
    // own index; false when none does.
    bool firstRedBulletOverlapping(const SRect& box, int& alien, int& bullet) const;

private:
    const CAlien* alienAt(int population, int index) const;
    void fileBullets(int owner, std::vector<int>& handles);
    template <typename TVisit> void forEachBulletNear(const SRect& box, TVisit&& visit) const
    {
        m_bullets.forEachIn(box.left - m_dBulletHalfWidth, box.bottom - m_dBulletHalfHeight,
                            box.right + m_dBulletHalfWidth, box.top + m_dBulletHalfHeight, visit);
    }

    const std::vector<CAlien_Population*>* m_pPopulations = nullptr; // the controller's
    const CGun* m_pGun = nullptr;
    CSpatialGrid m_aliens;  // items: population, index in its list
    CSpatialGrid m_bullets; // items: owner (a red alien's index, or kGun), bullet index
    std::vector<std::vector<int>> m_vAlienHandles;     // by population, then list index
    std::vector<std::vector<int>> m_vRedBulletHandles; // by red alien, then bullet index
    std::vector<int> m_vGunBulletHandles;
    double m_dAlienHalfWidth = 0, m_dAlienHalfHeight = 0;
    double m_dBulletHalfWidth = 0, m_dBulletHalfHeight = 0;
};
