#include "aliens/cgunbulletsense.h"

#include <algorithm>
#include <array>

#include "app/cparams.h"

namespace
{
struct SSeen
{
    double dTime; // over the horizon
    int iIndex;   // in the gun's list
    double dOffset;
    bool operator<(const SSeen& other) const
    {
        return dTime < other.dTime || (dTime == other.dTime && iIndex < other.iIndex);
    }
};
} // namespace

void CGunBulletSense::append(const SRect& alienBox, double x, const CWorldView& world, int count,
                             std::vector<double>& inputs)
{
    count = std::clamp(count, 0, MaxBullets);
    if (count == 0)
        return;
    const double horizon = CParams::Alien_SensorMaxTime;
    const double travel = horizon * CParams::Bullet_Speed; // pixels a bullet covers within it
    const double halfHeight = CParams::Bullet_Height / 2;
    // Every bullet that comes at the alien touches this box; the exact tests decide.
    const double aside = Reach * CParams::Alien_Width;
    const SRect near(x - aside, alienBox.top, x + aside, alienBox.bottom - travel);
    std::array<SSeen, MaxBullets> nearest;
    int found = 0;
    world.forEachGunBulletNear(near, [&](int index, SVector2D at) {
        const double offset = (at.x - x) / aside;
        const double gap = alienBox.bottom - (at.y + halfHeight);
        const double time = std::max(0.0, gap) / CParams::Bullet_Speed / horizon;
        if (!(offset > -1 && offset < 1) || at.y - halfHeight > alienBox.top || !(time < 1))
            return;
        const SSeen seen{time, index, offset};
        if (found < count)
            nearest[found++] = seen;
        else if (seen < nearest[found - 1])
            nearest[found - 1] = seen;
        else
            return;
        std::sort(nearest.begin(), nearest.begin() + found);
    });
    for (int k = 0; k < count; ++k)
    {
        inputs.push_back(k < found ? nearest[k].dOffset : 0.0);
        inputs.push_back(k < found ? nearest[k].dTime : 1.0);
    }
}
