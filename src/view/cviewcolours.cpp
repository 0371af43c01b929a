#include "view/cviewcolours.h"

#include <algorithm>
#include <cmath>

namespace
{
float mix(float from, float to, double t)
{
    return static_cast<float>(from + (to - from) * t);
}

SColour mix(const SColour& from, const SColour& to, double t)
{
    t = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    return {mix(from.r, to.r, t), mix(from.g, to.g, t), mix(from.b, to.b, t), mix(from.a, to.a, t)};
}
} // namespace

SColour CViewColours::activation(double value)
{
    return mix({0.10f, 0.15f, 0.45f, 1.0f}, {1.0f, 0.95f, 0.60f, 1.0f}, value);
}

SColour CViewColours::weight(double value)
{
    return value >= 0 ? SColour{0.35f, 0.65f, 1.0f, 0.9f} : SColour{0.95f, 0.35f, 0.80f, 0.9f};
}

double CViewColours::weightWidth(double value)
{
    const double size = std::min(std::fabs(value), kWeightForWidest) / kWeightForWidest;
    return kThinnest + (kWidest - kThinnest) * (std::isnan(size) ? 0.0 : size);
}

SColour CViewColours::sensor(double value)
{
    return mix({1.0f, 0.2f, 0.9f, 0.6f}, {0.2f, 0.9f, 1.0f, 0.12f}, value);
}
