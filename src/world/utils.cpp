#include "world/utils.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>

#include "aliens/calien.h"
#include "brain/calien_population.h"
#include "world/crandom.h"

namespace
{
// The generator in use, else the C library's sequence.
int draw()
{
    CRandom* random = CRandom::inUse();
    return random ? random->next() : std::rand();
}
} // namespace

double Vec2DLength(const SVector2D& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

bool isEqual(double a, double b)
{
    return std::fabs(a - b) < 0.0001;
}

int RandInt(int x, int y)
{
    return x + draw() % (y - x + 1);
}

double RandFloat()
{
    // The sequence reaches 2^31 - 1, not 32767: keep the low 15 bits so the result stays
    // below 1.0 with the 1/32768 granularity the game is tuned for.
    return (draw() % 32768) / 32768.0;
}

double RandomClamped()
{
    // Two separate statements fix the order of the draws: first minus second.
    const double first = RandFloat();
    const double second = RandFloat();
    return first - second;
}

std::vector<CAlien*> getClosestN(CAlien* alien, std::vector<CAlien_Population*>::const_iterator first, unsigned n)
{
    constexpr int kPopulations = 3;
    const SVector2D p = alien->getPosition();
    std::multimap<double, CAlien*> byDistance; // equal keys keep their insertion order
    for (int i = 0; i < kPopulations; ++i, ++first)
        for (CAlien* other : (*first)->getAliens())
        {
            const SVector2D q = other->getPosition();
            const double d = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
            if (d > 0.5)
                byDistance.insert({d, other});
        }
    if (byDistance.size() < n)
    {
        std::cerr << "Number of aliens in the world is less than n" << std::endl;
        std::cerr << "Error in utils.cpp: getClosestN()" << std::endl;
        std::exit(-1);
    }
    std::vector<CAlien*> closest;
    for (auto it = byDistance.begin(); closest.size() < n; ++it)
        closest.push_back(it->second);
    return closest;
}
