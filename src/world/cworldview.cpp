#include "world/cworldview.h"

#include <algorithm>
#include <tuple>

#include "aliens/calien.h"
#include "app/cparams.h"

const CAlien* CWorldView::lastOverlapping(int population, const SRect& box, int excludeId) const
{
    const auto touches = [&](const CAlien& alien) {
        return alien.getId() != excludeId && rectsOverlap(box, alien.getBoundingBox());
    };
    if (!m_pIndex)
    {
        const std::vector<CAlien*>& aliens = m_populations[population]->getAliens();
        for (auto it = aliens.rbegin(); it != aliens.rend(); ++it)
            if (touches(**it))
                return *it;
        return nullptr;
    }
    const CAlien* last = nullptr;
    int lastIndex = -1;
    m_pIndex->forEachAlienNear(box, [&](int p, int i, const CAlien& alien) {
        if (p == population && i > lastIndex && touches(alien))
        {
            last = &alien;
            lastIndex = i;
        }
    });
    return last;
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
