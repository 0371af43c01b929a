#include "world/worldbounds.h"

#include <algorithm>
#include <cmath>

#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
// Steps a bullet can fly before it has left the window widened by an alien box.
long long bulletLifeSteps()
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    const double reach = (CParams::Window_Width + 2 * CParams::Alien_Width) +
                         (CParams::Window_Height + 2 * CParams::Alien_Height);
    return static_cast<long long>(std::ceil(reach / (CParams::Bullet_Speed * dt))) + 1;
}
} // namespace

long long bandSeats()
{
    const int zoneHeight = CParams::Window_Height - CParams::Window_TopMargin - CParams::Window_BottomMargin;
    return static_cast<long long>(CParams::Window_Width / (2 * CParams::Alien_Width)) *
           static_cast<long long>(zoneHeight / (2 * CParams::Alien_Height));
}

SWorldBounds worldBounds()
{
    const long long life = bulletLifeSteps();
    SWorldBounds bounds;
    bounds.llGreenAliens = CParams::Alien_ReproductionOn
                               ? std::max<long long>(CParams::Alien_NumberOfGreen, bandSeats())
                               : CParams::Alien_NumberOfGreen;
    bounds.llRedAliens = CParams::Alien_NumberOfRed;
    bounds.llGunBullets = life / std::max(1, CParams::Gun_FireInterval) + 1;
    bounds.llRedBullets = CParams::Alien_NumberOfRed * std::min<long long>(CAlien_Red::MaxShotsInFlight,
                                                                           life / (CParams::Alien_Red_FireDelay + 1) + 1);
    return bounds;
}

const char* exceededBound(const CGameController& controller, const SWorldBounds& bounds)
{
    const auto populations = controller.getPopulations();
    if (static_cast<long long>(populations[1]->getAliens().size()) > bounds.llGreenAliens)
        return "green aliens";
    if (static_cast<long long>(populations[0]->getAliens().size()) > bounds.llRedAliens)
        return "red aliens";
    if (!populations[2]->getAliens().empty())
        return "aliens of the third population";
    if (static_cast<long long>(controller.getGun()->getBullets().size()) > bounds.llGunBullets)
        return "gun bullets";
    long long redBullets = 0;
    for (const CAlien* alien : populations[0]->getAliens())
        redBullets += static_cast<const CAlien_Red*>(alien)->getNumBullets();
    if (redBullets > bounds.llRedBullets)
        return "red bullets";
    return nullptr;
}
