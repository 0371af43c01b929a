#include "view/clabelplacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
SRect moved(const SRect& box, double dx, double dy)
{
    return SRect(box.left + dx, box.top + dy, box.right + dx, box.bottom + dy);
}

// Shifts the box into the bounds along each axis where it fits; otherwise its left or bottom
// edge goes to the bounds'.
SRect clamped(const SRect& box, const SRect& bounds)
{
    double dx = 0.0, dy = 0.0;
    if (box.right > bounds.right)
        dx = bounds.right - box.right;
    if (box.left + dx < bounds.left)
        dx = bounds.left - box.left;
    if (box.top > bounds.top)
        dy = bounds.top - box.top;
    if (box.bottom + dy < bounds.bottom)
        dy = bounds.bottom - box.bottom;
    return moved(box, dx, dy);
}

bool coversAny(const SRect& box, const std::vector<SRect>& keepOut)
{
    return std::any_of(keepOut.begin(), keepOut.end(), [&](const SRect& k) { return rectsOverlap(box, k); });
}

bool isWithin(const SRect& box, const SRect& bounds)
{
    return box.left >= bounds.left && box.right <= bounds.right && box.bottom >= bounds.bottom && box.top <= bounds.top;
}
} // namespace

SRect CLabelPlacer::place(SRect label, const SRect& bounds, const std::vector<SRect>& keepOut, double margin)
{
    const SRect start = clamped(label, bounds);
    if (!coversAny(start, keepOut))
        return start;
    const bool fits = isWithin(start, bounds);
    SRect best = start;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const SRect& k : keepOut)
    {
        const SRect candidates[] = {
            moved(start, k.left - margin - start.right, 0.0), moved(start, k.right + margin - start.left, 0.0),
            moved(start, 0.0, k.top + margin - start.bottom), moved(start, 0.0, k.bottom - margin - start.top)};
        for (const SRect& candidate : candidates)
        {
            const double distance = std::hypot(candidate.left - start.left, candidate.bottom - start.bottom);
            if (distance < bestDistance && !coversAny(candidate, keepOut) &&
                (!fits || isWithin(candidate, bounds)))
            {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    return best;
}
