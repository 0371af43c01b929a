#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "aliens/calien_red.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "world/cbullet.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

// Everything the world's course depends on, as one record to compare bit for bit: every
// alien's position, velocity, state, timers, age, fitness and weights, a red alien's turret,
// counters and bullets, both brain pools, the gun and its bullets. Ids are left out: they
// count every alien ever made in the process.
inline void appendWeights(const CBrain& brain, std::vector<double>& values)
{
    for (int i = 0; i < brain.getNumberOfNN(); ++i)
    {
        const std::vector<double> weights = brain.getNN(i)->getWeights();
        values.insert(values.end(), weights.begin(), weights.end());
    }
}

inline void appendBullets(const std::vector<CBullet*>& bullets, std::vector<double>& values)
{
    values.push_back(static_cast<double>(bullets.size()));
    for (const CBullet* bullet : bullets)
        values.insert(values.end(), {bullet->getPosition().x, bullet->getPosition().y, bullet->getAngle()});
}

inline std::vector<double> worldSnapshot(const CGameController& controller)
{
    std::vector<double> values;
    for (const CAlien_Population* population : controller.getPopulations())
    {
        values.push_back(static_cast<double>(population->getAliens().size()));
        for (CAlien* alien : population->getAliens())
        {
            values.insert(values.end(), {alien->getPosition().x, alien->getPosition().y, alien->getVelocity().x,
                                         alien->getVelocity().y, static_cast<double>(alien->getState()),
                                         alien->getStateTimer(), static_cast<double>(alien->getAge()),
                                         static_cast<double>(alien->getPrevAge()), alien->getFitness()});
            appendWeights(*alien->getBrain(), values);
            if (const auto* red = dynamic_cast<const CAlien_Red*>(alien))
            {
                values.insert(values.end(), {red->getTurretAngle(), red->getFireDelay(),
                                             static_cast<double>(red->getGunHits()),
                                             static_cast<double>(red->getGreenHits()),
                                             static_cast<double>(red->getRedHits())});
                appendBullets(red->getBullets(), values);
            }
        }
        values.push_back(static_cast<double>(population->getPool().size()));
        for (const auto& entry : population->getPool())
        {
            values.push_back(entry.first);
            appendWeights(*entry.second, values);
        }
    }
    const CGun& gun = *controller.getGun();
    values.insert(values.end(), {gun.getPosition().x, gun.getPosition().y, gun.getVelocity().x, gun.getAngle()});
    appendBullets(gun.getBullets(), values);
    return values;
}

// The index of the first value whose bits differ, or -1 when the records are identical.
inline long firstDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return static_cast<long>(std::min(a.size(), b.size()));
    for (size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(double)) != 0)
            return static_cast<long>(i);
    return -1;
}

// FNV-1a over the bits of every value: equal fingerprints mean bit-identical states.
inline uint64_t fingerprint(const std::vector<double>& values)
{
    uint64_t hash = 1469598103934665603ull;
    for (double value : values)
    {
        unsigned char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        for (unsigned char byte : bytes)
            hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}
