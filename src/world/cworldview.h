#pragma once

#include <vector>

#include "brain/calien_population.h"
#include "world/cbullet.h"
#include "world/cworldindex.h"
#include "world/utils.h"

using PopulationList = std::vector<CAlien_Population*>;

// What an alien senses of the world: the aliens and the gun's bullets near a box. It answers
// either by walking every population (and every bullet of the gun) in order, the reference
// the game's rules are written in, or through the world's spatial index. Both give every question the same answer: forEachAlienNear visits
// a superset of the aliens touching the box (all aliens, in population and list order, on
// the reference walk; those near it, in no order, through the index), so callers whose
// result does not depend on the order (a minimum, "is there one?") test each alien
// themselves, and the one question whose answer depends on list order has its own call.
class CWorldView
{
public:
    static constexpr int kMaxPopulations = 3;

    // Without the gun's bullets, the view sees none.
    explicit CWorldView(const PopulationList& populations, const CWorldIndex* index = nullptr,
                        const std::vector<CBullet*>* gunBullets = nullptr)
        : m_populations(populations), m_pIndex(index), m_pGunBullets(gunBullets)
    {
    }

    const PopulationList& getPopulations() const { return m_populations; }

    // visit(population, index in its list, alien) for every alien that may touch the box.
    template <typename TVisit> void forEachAlienNear(const SRect& box, TVisit&& visit) const
    {
        if (m_pIndex)
        {
            m_pIndex->forEachAlienNear(box, visit);
            return;
        }
        for (int p = 0; p < static_cast<int>(m_populations.size()); ++p)
        {
            const std::vector<CAlien*>& aliens = m_populations[p]->getAliens();
            for (int i = 0; i < static_cast<int>(aliens.size()); ++i)
                visit(p, i, *aliens[i]);
        }
    }

    // visit(motion) for every alien that may touch the box: how it moves, its position,
    // velocity and id, without the alien itself.
    template <typename TVisit> void forEachAlienMotionNear(const SRect& box, TVisit&& visit) const
    {
        if (m_pIndex)
        {
            m_pIndex->forEachAlienMotionOn(box, visit);
            return;
        }
        forEachAlienNear(box, [&](int, int, const auto& alien) { // an alien, known where this is used
            visit(SAlienMotion{alien.getPosition(), alien.getVelocity(), alien.getId()});
        });
    }

    // visit(index in the gun's list, position) for every bullet of the gun whose box may
    // touch the box: all of them on the reference walk, in order; through the index exactly
    // those touching it, in no order.
    template <typename TVisit> void forEachGunBulletNear(const SRect& box, TVisit&& visit) const
    {
        if (!m_pGunBullets)
            return;
        if (m_pIndex)
        {
            m_pIndex->forEachGunBulletOn(box, visit);
            return;
        }
        for (int i = 0; i < static_cast<int>(m_pGunBullets->size()); ++i)
            visit(i, (*m_pGunBullets)[i]->getPosition());
    }

    // The last alien in the population's list whose box overlaps the box, passing over the
    // one with excludeId; null when there is none.
    const CAlien* lastOverlapping(int population, const SRect& box, int excludeId) const;
    // The same for populations 0 to count - 1 at once, into last[0] to last[count - 1].
    void lastOverlappingEach(const SRect& box, int excludeId, int count, const CAlien* last[]) const;

    // getClosestN over these populations: the n aliens nearest to the given one, nearest
    // first, ties in population then list order. Through the index it looks in a square
    // that doubles until it holds n of them.
    std::vector<CAlien*> getClosestN(const CAlien& alien, unsigned n) const;

private:
    const PopulationList& m_populations; // not owned
    const CWorldIndex* m_pIndex;          // not owned; null: the reference walk
    const std::vector<CBullet*>* m_pGunBullets; // not owned; null: no bullets seen
};
