#include "world/cworldview.h"

#include "aliens/calien.h"

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
