#pragma once

#include <vector>

class CAlien;
class CAlien_Population;

// Geometry and random numbers shared by the whole game. The random numbers come from the
// generator a world put in use (CRandom::CScope), so that a seed replays a whole world, and
// from the C library's rand() outside every world.

struct SVector2D
{
    double x;
    double y;

    SVector2D(double dX, double dY) : x(dX), y(dY) {}

    // Inline: every alien and bullet moves by these each step.
    SVector2D& operator+=(const SVector2D& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    SVector2D& operator*=(double s)
    {
        x *= s;
        y *= s;
        return *this;
    }
};

inline SVector2D operator*(const SVector2D& v, double s)
{
    return SVector2D(v.x * s, v.y * s);
}

inline SVector2D operator*(double s, const SVector2D& v)
{
    return v * s;
}
double Vec2DLength(const SVector2D& v);

// Axis-aligned box; y grows upwards, so top is the largest y.
struct SRect
{
    double left;
    double right;
    double top;
    double bottom;

    SRect(double dLeft, double dTop, double dRight, double dBottom)
        : left(dLeft), right(dRight), top(dTop), bottom(dBottom) {}
};

// The box of width w and height h centred on (cx, cy), as every object describes itself.
inline SRect rectAround(double cx, double cy, double w, double h)
{
    return SRect(cx - w / 2, cy + h / 2, cx + w / 2, cy - h / 2);
}

// True when the boxes overlap or merely touch. Inline: collision tests run for every pair
// of aliens in every world step.
inline bool rectsOverlap(const SRect& a, const SRect& b)
{
    // Strict comparisons: boxes sharing an edge or a corner count as overlapping.
    if (a.right < b.left) return false;
    if (b.right < a.left) return false;
    if (a.top < b.bottom) return false;
    if (b.top < a.bottom) return false;
    return true;
}

bool isEqual(double a, double b);

int RandInt(int x, int y);       // in [x, y]; needs y >= x
double RandFloat();              // in [0, 1)
double RandomClamped();          // in (-1, 1)

// The n aliens nearest to the given one over the three populations starting at first,
// nearest first, ties in population then list order. Aliens centred within sqrt(0.5) of it
// (itself included) are left out. Ends the program when fewer than n remain.
std::vector<CAlien*> getClosestN(CAlien* alien, std::vector<CAlien_Population*>::const_iterator first, unsigned n);
