#include "world/cworldview.h"

#include <algorithm>
#include <tuple>

#include "aliens/calien.h"
#include "app/cparams.h"

const CAlien* CWorldView::lastOverlapping(int population, const SRect& box, int excludeId) const
{
    if (!m_pIndex)
    {
        const std::vector<CAlien*>& aliens = m_populations[population]->getAliens();
        for (auto it = aliens.rbegin(); it != aliens.rend(); ++it)
            if ((*it)->getId() != excludeId && rectsOverlap(box, (*it)->getBoundingBox()))
                return *it;
        return nullptr;
    }
    const CAlien* last[kMaxPopulations];
    lastOverlappingEach(box, excludeId, population + 1, last);
    return last[population];
}

void CWorldView::lastOverlappingEach(const SRect& box, int excludeId, int count, const CAlien* last[]) const
{
    if (!m_pIndex)
    {
        for (int p = 0; p < count; ++p)
            last[p] = lastOverlapping(p, box, excludeId);
        return;
    }
    // One pass over the aliens near the box serves every population.
    int lastIndex[kMaxPopulations];
    for (int p = 0; p < count; ++p)
    {
        last[p] = nullptr;
        lastIndex[p] = -1;
    }
    m_pIndex->forEachAlienNear(box, [&](int p, int i, const CAlien& alien) {
        if (p < count && i > lastIndex[p] && alien.getId() != excludeId && rectsOverlap(box, alien.getBoundingBox()))
        {
            last[p] = &alien;
            lastIndex[p] = i;
        }
    });
}

std::vector<CAlien*> CWorldView::getClosestN(const CAlien& alien, unsigned n) const
{
    struct SCandidate
    {
        double dDistance; // squared
        int iPopulation;
        int iIndex;
        CAlien* pAlien;
    };
    const SVector2D p = alien.getPosition();
    // Beyond this every alien on screen lies within the square: the walk answers just as well.
    const double farEnough = 2 * (CParams::Window_Diagonal + CParams::Alien_Diagonal);
    std::vector<SCandidate> candidates;
    for (double r = CParams::Alien_Diagonal; m_pIndex && r <= farEnough; r *= 2)
    {
        candidates.clear();
        // Squared distances within r: every alien nearer than the n-th found is among them.
        m_pIndex->forEachAlienNear(rectAround(p.x, p.y, 2 * r, 2 * r), [&](int population, int index, const CAlien& other) {
            const SVector2D q = other.getPosition();
            const double d = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
            if (d > 0.5 && d <= r * r)
                candidates.push_back({d, population, index, m_populations[population]->getAliens()[index]});
        });
        if (candidates.size() < n)
            continue;
        std::sort(candidates.begin(), candidates.end(), [](const SCandidate& a, const SCandidate& b) {
            return std::tie(a.dDistance, a.iPopulation, a.iIndex) < std::tie(b.dDistance, b.iPopulation, b.iIndex);
        });
        std::vector<CAlien*> closest;
        for (unsigned k = 0; k < n; ++k)
            closest.push_back(candidates[k].pAlien);
        return closest;
    }
    return ::getClosestN(const_cast<CAlien*>(&alien), m_populations.begin(), n);
}
