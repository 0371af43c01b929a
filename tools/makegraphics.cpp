// Draws the game's sprite, mask and background bitmaps into a folder (default "graphics").
// Every picture comes from signed-distance shapes lit from the top left; the random numbers
// are seeded, so each run writes the same bytes.
#include "render/cbitmap.h"
#include "files/outofmemory.h"
#include "files/safefile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace
{
struct SVec
{
    double x, y;
};

SVec operator+(SVec a, SVec b) { return {a.x + b.x, a.y + b.y}; }
SVec operator-(SVec a, SVec b) { return {a.x - b.x, a.y - b.y}; }
SVec operator*(SVec a, double s) { return {a.x * s, a.y * s}; }
double dot(SVec a, SVec b) { return a.x * b.x + a.y * b.y; }
double length(SVec a) { return std::sqrt(dot(a, a)); }
SVec polar(double radius, double angle) { return {radius * std::cos(angle), radius * std::sin(angle)}; }
SVec stretch(SVec a, double sx, double sy) { return {a.x * sx, a.y * sy}; }

struct SColour
{
    double r, g, b;
};

SColour operator+(SColour a, SColour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
SColour operator*(SColour a, double s) { return {a.r * s, a.g * s, a.b * s}; }

const SColour kWhite{1, 1, 1};
const double kTurn = 2 * 3.14159265358979323846; // a full circle in radians

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double smoothstep(double from, double to, double v)
{
    const double t = clamp01((v - from) / (to - from));
    return t * t * (3 - 2 * t);
}
SColour mix(SColour a, SColour b, double t) { return a * (1 - t) + b * t; }

// Colours along t from 0 to 1, at evenly spaced stops.
SColour ramp(const std::vector<SColour>& stops, double t)
{
    const double at = clamp01(t) * static_cast<double>(stops.size() - 1);
    const size_t i = std::min(static_cast<size_t>(at), stops.size() - 2);
    return mix(stops[i], stops[i + 1], at - static_cast<double>(i));
}

// SplitMix64: small, fast and the same on every platform.
class CRandom
{
public:
    explicit CRandom(uint64_t seed) : m_uState(seed) {}
    double uniform(double from, double to)
    {
        m_uState += 0x9E3779B97F4A7C15ull;
        uint64_t z = m_uState;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return from + (to - from) * static_cast<double>(z >> 11) / 9007199254740992.0;
    }

private:
    uint64_t m_uState;
};

// A value in [0, 1) per lattice point, from an integer hash rather than a table.
double latticeValue(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFFFF) / 16777216.0;
}

double valueNoise(SVec p, uint32_t seed)
{
    const int ix = static_cast<int>(std::floor(p.x));
    const int iy = static_cast<int>(std::floor(p.y));
    const double fx = smoothstep(0, 1, p.x - ix);
    const double fy = smoothstep(0, 1, p.y - iy);
    const double bottom = std::lerp(latticeValue(ix, iy, seed), latticeValue(ix + 1, iy, seed), fx);
    const double top = std::lerp(latticeValue(ix, iy + 1, seed), latticeValue(ix + 1, iy + 1, seed), fx);
    return std::lerp(bottom, top, fy);
}

// Fractal noise in [0, 1): octaves of value noise, each twice as fine and half as strong,
// and turned a little so that the lattices of the octaves do not line up into streaks.
double fractalNoise(SVec p, int octaves, uint32_t seed)
{
    double sum = 0, weight = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i, p = SVec{1.6 * p.x - 1.2 * p.y, 1.2 * p.x + 1.6 * p.y}, weight *= 0.5)
    {
        sum += weight * valueNoise(p, seed + static_cast<uint32_t>(i));
        total += weight;
    }
    return sum / total;
}

// Noise around a circle, so that a ragged outline closes on itself.
double ringNoise(double angle, double frequency, uint32_t seed)
{
    return fractalNoise(polar(frequency, angle) + SVec{50, 50}, 3, seed);
}

// Shapes: signed distance in pixels, negative inside.
using FShape = std::function<double(SVec)>;
using FShader = std::function<SColour(SVec)>;

FShape circle(SVec centre, double radius)
{
    return [=](SVec p) { return length(p - centre) - radius; };
}

// Not an exact distance, but close enough for edges and shading of flat ellipses.
FShape ellipse(SVec centre, double rx, double ry)
{
    return [=](SVec p) {
        const SVec q{(p.x - centre.x) / rx, (p.y - centre.y) / ry};
        return (length(q) - 1) * std::min(rx, ry);
    };
}

FShape roundBox(SVec centre, SVec half, double radius)
{
    return [=](SVec p) {
        const SVec q{std::abs(p.x - centre.x) - half.x + radius, std::abs(p.y - centre.y) - half.y + radius};
        return length({std::max(q.x, 0.0), std::max(q.y, 0.0)}) + std::min(std::max(q.x, q.y), 0.0) - radius;
    };
}

FShape capsule(SVec a, SVec b, double radius)
{
    return [=](SVec p) {
        const SVec ab = b - a;
        const double t = clamp01(dot(p - a, ab) / dot(ab, ab));
        return length(p - (a + ab * t)) - radius;
    };
}

// Any simple polygon: the distance to the nearest edge, negative where a ray crosses an odd
// number of edges.
FShape polygon(std::vector<SVec> corners)
{
    return [corners = std::move(corners)](SVec p) {
        double nearest = 1e9;
        bool inside = false;
        for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++)
        {
            const SVec a = corners[j], b = corners[i];
            nearest = std::min(nearest, capsule(a, b, 0)(p));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

FShape unite(FShape a, FShape b)
{
    return [=](SVec p) { return std::min(a(p), b(p)); };
}
FShape intersect(FShape a, FShape b)
{
    return [=](SVec p) { return std::max(a(p), b(p)); };
}
FShape grow(FShape a, double by)
{
    return [=](SVec p) { return a(p) - by; };
}
FShape mirrorX(FShape a)
{
    return [=](SVec p) { return a({-p.x, p.y}); };
}
FShape above(double y)
{
    return [=](SVec p) { return y - p.y; };
}

// The shape's outward direction at p, from its distance field.
SVec outward(const FShape& shape, SVec p)
{
    const double e = 0.5;
    const SVec g{shape({p.x + e, p.y}) - shape({p.x - e, p.y}), shape({p.x, p.y + e}) - shape({p.x, p.y - e})};
    const double n = length(g);
    return n > 1e-9 ? g * (1 / n) : SVec{0, 0};
}

// Lights the shape as a solid with rounded edges bevel pixels wide (a sphere when bevel is
// its radius), from the top left and a little in front; shine adds a specular highlight.
FShader lit(FShape shape, SColour base, double bevel, double shine)
{
    return [=](SVec p) {
        const double tilt = 1 - clamp01(-shape(p) / bevel);
        const SVec side = outward(shape, p) * tilt;
        const double nz = std::sqrt(std::max(0.0, 1 - dot(side, side)));
        const double lx = -0.48, ly = 0.6, lz = 0.64; // unit vector towards the light
        const double diffuse = std::max(0.0, side.x * lx + side.y * ly + nz * lz);
        const double hx = lx, hy = ly, hz = lz + 1, hn = std::sqrt(hx * hx + hy * hy + hz * hz);
        const double specular = std::pow(std::max(0.0, (side.x * hx + side.y * hy + nz * hz) / hn), 24);
        return base * (0.3 + 0.85 * diffuse) + kWhite * (shine * specular);
    };
}

FShader flat(SColour colour)
{
    return [=](SVec) { return colour; };
}

// A picture being drawn: its colours over black, and how much of each pixel the shape covers.
class CCanvas
{
public:
    CCanvas(int width, int height)
        : m_iWidth(width), m_iHeight(height), m_vColour(size(), SColour{0, 0, 0}), m_vCover(size(), 0.0)
    {
    }

    // Paints the shader's colour over the shape, with a one-pixel soft edge.
    void fill(const FShape& shape, const FShader& shader)
    {
        forEachPixel([&](SVec p, size_t i) {
            const double cover = clamp01(0.5 - shape(p));
            if (cover <= 0)
                return;
            m_vColour[i] = mix(m_vColour[i], shader(p), cover);
            m_vCover[i] = cover + m_vCover[i] * (1 - cover);
        });
    }

    // Adds a soft round light, only where something is already painted.
    void glow(SVec centre, double radius, SColour colour)
    {
        const SVec reach{radius * 3, radius * 3};
        forEachPixel(
            [&](SVec p, size_t i) {
                const double r = length(p - centre) / radius;
                m_vColour[i] = m_vColour[i] + colour * (std::exp(-r * r) * m_vCover[i]);
            },
            centre - reach, centre + reach);
    }

    // Pixels the shape covers at least half of, in colour; every other pixel pure black.
    // Shape pixels are never pure black, so that black means "outside" in every picture.
    CBitmap picture() const
    {
        return toBitmap([this](size_t i, int channel) {
            if (!inShape(i))
                return 0;
            const double v = channel == 0 ? m_vColour[i].b : channel == 1 ? m_vColour[i].g : m_vColour[i].r;
            return std::clamp(static_cast<int>(std::lround(v * 255)), 1, 255);
        });
    }

    // Black where the shape is, white elsewhere.
    CBitmap mask() const
    {
        return toBitmap([this](size_t i, int) { return inShape(i) ? 0 : 255; });
    }

private:
    size_t size() const { return static_cast<size_t>(m_iWidth) * static_cast<size_t>(m_iHeight); }
    bool inShape(size_t i) const { return m_vCover[i] >= 0.5; }

    // Points are pixel centres with the origin in the middle of the picture and y up, and
    // pixel y is bitmap row y, bottom first. Only the pixels between from and to are visited.
    void forEachPixel(const std::function<void(SVec, size_t)>& visit, SVec from = {-1e9, -1e9}, SVec to = {1e9, 1e9}) const
    {
        const SVec origin{m_iWidth / 2.0 - 0.5, m_iHeight / 2.0 - 0.5};
        auto first = [](double v, int side) { return std::clamp(static_cast<int>(std::ceil(v)), 0, side); };
        auto last = [](double v, int side) { return std::clamp(static_cast<int>(std::floor(v)) + 1, 0, side); };
        for (int y = first(from.y + origin.y, m_iHeight); y < last(to.y + origin.y, m_iHeight); ++y)
            for (int x = first(from.x + origin.x, m_iWidth); x < last(to.x + origin.x, m_iWidth); ++x)
                visit(SVec{static_cast<double>(x), static_cast<double>(y)} - origin, static_cast<size_t>(y) * m_iWidth + x);
    }

    CBitmap toBitmap(const std::function<int(size_t, int)>& byteAt) const
    {
        CBitmap bitmap(m_iWidth, m_iHeight);
        forEachPixel([&](SVec, size_t i) {
            unsigned char* pixel = bitmap.row(static_cast<int>(i) / m_iWidth) + i % m_iWidth * 3;
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] = static_cast<unsigned char>(byteAt(i, channel));
        });
        return bitmap;
    }

    int m_iWidth;
    int m_iHeight;
    std::vector<SColour> m_vColour;
    std::vector<double> m_vCover;
};

// A part of a sprite: a dark rim around it first, then the lit body.
void part(CCanvas& canvas, const FShape& shape, SColour base, double bevel, double shine, SColour rim)
{
    canvas.fill(grow(shape, 1.5), flat(rim));
    canvas.fill(shape, lit(shape, base, bevel, shine));
}

// Small round lamps along a row, each with its halo.
void lamps(CCanvas& canvas, const std::vector<SVec>& at, double radius, SColour colour)
{
    for (const SVec c : at)
    {
        canvas.fill(circle(c, radius), lit(circle(c, radius), colour, radius, 0.9));
        canvas.glow(c, radius * 1.6, colour * 0.6);
    }
}

// Sprites are drawn at twice the size of their on-screen boxes: aliens 64 x 48.
// The green ship: a round saucer with a glass dome and a ring of lamps.
CCanvas drawGreenShip()
{
    CCanvas canvas(64, 48);
    const SColour rim{0.02, 0.1, 0.04};
    part(canvas, ellipse({0, -11}, 15, 6), {0.12, 0.3, 0.16}, 5, 0.3, rim);
    part(canvas, intersect(circle({0, -3}, 15), above(-5)), {0.3, 0.75, 0.85}, 15, 1.2, rim);
    const FShape hull = ellipse({0, -6}, 29, 8.5);
    part(canvas, hull, {0.28, 0.78, 0.3}, 8, 0.6, rim);
    // A dark band along the rim carries the lamps.
    canvas.fill(intersect(hull, roundBox({0, -7}, {40, 1.6}, 0)), flat({0.05, 0.22, 0.08}));
    lamps(canvas, {{-21, -7}, {-11, -7}, {0, -7}, {11, -7}, {21, -7}}, 1.8, {1, 0.95, 0.45});
    canvas.glow({-5, 5}, 3, {0.6, 0.8, 0.8}); // the sun in the glass dome
    return canvas;
}

// The armed ship: an angular hull with swept wings, and a turret whose cannon points down
// at the player's gun.
CCanvas drawRedShip()
{
    CCanvas canvas(64, 48);
    const SColour rim{0.12, 0.01, 0.01};
    const SColour steel{0.5, 0.5, 0.56};
    part(canvas, roundBox({0, -14}, {2.6, 8}, 1.2), steel, 2.6, 0.9, rim);
    part(canvas, roundBox({0, -21}, {3.8, 1.6}, 0.8), steel, 1.6, 0.9, rim);
    part(canvas, circle({0, -6}, 7.5), {0.35, 0.3, 0.32}, 7.5, 0.8, rim);
    const FShape wing = polygon({{-29.5, 6}, {-20, 2}, {-22, -4}, {-27, -13}});
    part(canvas, unite(wing, mirrorX(wing)), {0.6, 0.06, 0.05}, 4, 0.5, rim);
    const FShape hull = polygon({{-26, 0}, {-14, 9}, {14, 9}, {26, 0}, {17, -5}, {-17, -5}});
    part(canvas, hull, {0.85, 0.12, 0.08}, 6, 0.7, rim);
    const FShape visor = polygon({{-9, 4}, {9, 4}, {5, 0}, {-5, 0}});
    canvas.fill(visor, lit(visor, {0.9, 0.65, 0.1}, 2, 1.2));
    lamps(canvas, {{-20, 0}, {20, 0}}, 1.6, {1, 0.6, 0.2});
    return canvas;
}

// The gun, 96 x 48: treads, an armoured body, a domed turret and a barrel pointing up.
CCanvas drawGun()
{
    CCanvas canvas(96, 48);
    const SColour rim{0.03, 0.04, 0.06};
    const SColour steel{0.55, 0.6, 0.68};
    part(canvas, roundBox({0, 9}, {3.6, 12}, 1.5), steel, 3.6, 1.2, rim);
    part(canvas, roundBox({0, 19.5}, {5, 2.2}, 1), steel, 2.2, 1.2, rim);
    part(canvas, intersect(circle({0, -3}, 14), above(-7)), {0.45, 0.5, 0.58}, 14, 1.0, rim);
    part(canvas, polygon({{-38, -13}, {38, -13}, {28, -2}, {-28, -2}}), steel, 4, 0.8, rim);
    part(canvas, roundBox({0, -17.5}, {45, 4.5}, 4.5), {0.2, 0.21, 0.24}, 4.5, 0.4, rim);
    for (double x = -36; x <= 36; x += 12)
        part(canvas, circle({x, -17.5}, 2.6), {0.5, 0.52, 0.55}, 2.6, 0.8, rim);
    lamps(canvas, {{-20, -7.5}, {20, -7.5}}, 1.5, {0.3, 0.9, 1});
    return canvas;
}

// A shot, 16 x 48: a white-hot core fading to orange towards its edge and its tail.
CCanvas drawBullet()
{
    CCanvas canvas(16, 48);
    const FShape shot = capsule({0, -17}, {0, 16}, 5);
    canvas.fill(shot, [=](SVec p) {
        const double heat = clamp01(-shot(p) / 3.5) * (0.6 + 0.4 * smoothstep(-20, 14, p.y));
        return ramp({{0.8, 0.25, 0.05}, {1, 0.7, 0.2}, {1, 1, 0.85}, kWhite}, heat);
    });
    return canvas;
}

// A four-pointed sparkle: two thin crossed diamonds.
FShape sparkle(SVec centre, double size)
{
    return [=](SVec p) {
        const double x = std::abs(p.x - centre.x), y = std::abs(p.y - centre.y);
        return (std::min(5 * x + y, x + 5 * y) - size) / std::sqrt(26.0);
    };
}

// A ship taking shape: glowing contour rings of a saucer, and sparkles around it.
CCanvas drawBeingBorn()
{
    CCanvas canvas(64, 48);
    const FShape body = unite(ellipse({0, -6}, 29, 8), intersect(circle({0, -3}, 14), above(-6)));
    const double period = 4.5;
    // Distance to the nearest contour line, 0 on the outline.
    auto ringOffset = [=](SVec p) {
        const double d = -body(p) + 0.8;
        return std::abs(d - period * std::round(d / period));
    };
    FShape shape = intersect(grow(body, 0.8), [=](SVec p) { return ringOffset(p) - 1.2; });
    CRandom random(7);
    std::vector<SVec> stars;
    for (int i = 0; i < 9; ++i)
        stars.push_back(stretch(polar(random.uniform(17, 24), random.uniform(0, kTurn)), 1.05, 0.72) + SVec{0, -2});
    for (const SVec s : stars)
        shape = unite(shape, sparkle(s, random.uniform(4, 6.5)));
    canvas.fill(shape, [=](SVec p) {
        const double shimmer = fractalNoise(p * 0.25, 2, 11);
        return mix({0.1, 0.75, 1}, kWhite, clamp01(1 - ringOffset(p) / 1.2) * 0.6 + shimmer * 0.4);
    });
    for (const SVec s : stars)
        canvas.glow(s, 1.8, kWhite);
    return canvas;
}

// One explosion frame: a fireball, sparks, smoke and flying pieces in the given amounts.
struct SBlast
{
    double fireRadius; // 0 for none
    double heat;       // 1 is white-hot in the middle
    int sparks;
    int smokePuffs;
    int debris;
    double spread;     // how far the smoke and debris have flown
    uint64_t seed;
};

SColour fireColour(double heat)
{
    return ramp({{0.35, 0.04, 0.02}, {0.9, 0.25, 0.03}, {1, 0.6, 0.1}, {1, 0.9, 0.4}, kWhite}, heat);
}

// A blob with a ragged outline, wider than it is tall like the explosion's box.
FShape ragged(SVec centre, double radius, double roughness, uint32_t seed)
{
    return [=](SVec p) {
        const SVec q{(p.x - centre.x) / 1.3, p.y - centre.y};
        const double wobble = 1 + roughness * (ringNoise(std::atan2(q.y, q.x), 3, seed) - 0.5);
        return (length(q) - radius * wobble) * 0.8; // scaled down: the wobble steepens the field
    };
}

// Grey-brown puffs with a hint of glowing soot.
void smoke(CCanvas& canvas, CRandom& random, const SBlast& blast)
{
    for (int i = 0; i < blast.smokePuffs; ++i)
    {
        const SVec c = stretch(polar(random.uniform(0, blast.spread), random.uniform(0, kTurn)), 1.3, 0.6);
        const FShape puff = ragged(c + SVec{0, 2}, random.uniform(5, 7), 0.5, 20 + i);
        const double shade = random.uniform(0.2, 0.32);
        canvas.fill(puff, [=](SVec p) {
            const double n = fractalNoise(p * 0.2, 3, 30 + i);
            return SColour{shade * 1.1, shade, shade * 0.9} * (0.6 + 0.8 * n) + SColour{0.25, 0.06, 0} * (n * n);
        });
    }
}

// A turbulent fireball, hottest in the middle, and sparks shooting out of it.
void fire(CCanvas& canvas, CRandom& random, const SBlast& blast)
{
    const FShape ball = ragged({0, 0}, blast.fireRadius, 0.6, 3);
    canvas.fill(ball, [=](SVec p) {
        const double depth = clamp01(-ball(p) / blast.fireRadius * 1.5);
        return fireColour(blast.heat * (0.35 + 0.65 * depth) + 0.35 * (fractalNoise(p * 0.18, 3, 5) - 0.5));
    });
    canvas.glow(SVec{-0.2, 0.2} * blast.fireRadius, blast.fireRadius * 0.5, SColour{1, 0.9, 0.6} * blast.heat);
    for (int i = 0; i < blast.sparks; ++i)
    {
        const double angle = random.uniform(0, kTurn);
        const SVec from = polar(blast.fireRadius * 0.8, angle), to = polar(random.uniform(13, 17), angle);
        canvas.fill(capsule(stretch(from, 1.3, 1), stretch(to, 1.3, 1), 1.1), flat({1, 0.85, 0.4}));
    }
}

// Green hull shards with glowing edges, flung outwards.
void debris(CCanvas& canvas, CRandom& random, const SBlast& blast)
{
    for (int i = 0; i < blast.debris; ++i)
    {
        const SVec at = stretch(polar(random.uniform(blast.spread * 0.6, blast.spread), random.uniform(0, kTurn)), 1.4, 0.75);
        const double a = random.uniform(0, kTurn), r = random.uniform(2.5, 4);
        const FShape shard = polygon({at + polar(r, a), at + polar(r * 0.6, a + 2.3), at + polar(r * 0.8, a + 4)});
        part(canvas, shard, {0.25, 0.45, 0.28}, 2, 0.6, {0.05, 0.03, 0.02});
        canvas.glow(at + polar(r * 0.5, a + 2), 1.2, {1, 0.5, 0.1});
    }
}

CCanvas drawExplosion(const SBlast& blast)
{
    CCanvas canvas(64, 48);
    CRandom random(blast.seed);
    smoke(canvas, random, blast);
    if (blast.fireRadius > 0)
        fire(canvas, random, blast);
    debris(canvas, random, blast);
    return canvas;
}

// The placeholder for a texture that is never drawn.
CCanvas drawUndefined()
{
    CCanvas canvas(16, 16);
    auto square = [](double v) { return static_cast<int>(std::floor(v / 4)); };
    canvas.fill([=](SVec p) { return (square(p.x) + square(p.y)) & 1 ? 1.0 : -1.0; }, flat({1, 0, 1}));
    return canvas;
}

// The window's background, 1024 x 768 (the window's 4:3): deep space with nebulae and stars.
CCanvas drawBackground()
{
    const int width = 1024, height = 768;
    CCanvas canvas(width, height);
    struct SCloud
    {
        SVec centre;
        double radius;
        SColour colour;
    };
    CRandom random(2024);
    std::vector<SCloud> clouds;
    for (int i = 0; i < 7; ++i)
        clouds.push_back({{random.uniform(-500, 500), random.uniform(-380, 380)},
                          random.uniform(160, 330),
                          i % 2 ? SColour{0.34, 0.14, 0.46} : SColour{0.06, 0.32, 0.38}});
    canvas.fill([](SVec) { return -1e9; }, [&](SVec p) {
        const double t = p.y / height + 0.5;
        SColour sky = mix({0.03, 0.035, 0.09}, {0.005, 0.006, 0.02}, t);
        // Warping the noise by another noise makes the clouds wispy rather than blotchy.
        const SVec warp{fractalNoise(p * 0.004, 3, 1), fractalNoise(p * 0.004, 3, 2)};
        const double gas = std::pow(fractalNoise(p * 0.006 + warp * 3, 5, 3), 2.2);
        for (const SCloud& c : clouds)
        {
            const double r = length(p - c.centre) / c.radius;
            sky = sky + c.colour * (0.55 * gas * std::exp(-r * r));
        }
        return sky;
    });
    for (int i = 0; i < 1400; ++i)
    {
        const SVec at{random.uniform(-width / 2.0, width / 2.0), random.uniform(-height / 2.0, height / 2.0)};
        const double brightness = 0.15 + 0.85 * std::pow(random.uniform(0, 1), 4);
        const SColour tint = mix({0.75, 0.85, 1}, {1, 0.9, 0.7}, random.uniform(0, 1));
        canvas.glow(at, 0.7 + 1.1 * brightness, tint * brightness);
        if (brightness > 0.85) // the brightest get soft spikes
            for (double dx = -6; dx <= 6; dx += 1)
                if (dx != 0)
                {
                    const double fade = std::exp(-std::abs(dx) / 2.5) * 0.35;
                    canvas.glow(at + SVec{dx, 0}, 0.6, tint * fade);
                    canvas.glow(at + SVec{0, dx}, 0.6, tint * fade);
                }
    }
    return canvas;
}

bool write(const std::string& folder, const std::string& name, const CBitmap& bitmap)
{
    std::string error;
    if (writeFileAtomically(folder + "/" + name + ".bmp", bitmap.encode(), error))
        return true;
    std::cerr << error << '\n';
    return false;
}

struct SSprite
{
    const char* pName;
    const char* pMaskName; // nullptr: a picture without a mask
    std::function<CCanvas()> draw;
};
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-makegraphics");
    const std::string folder = argc > 1 ? argv[1] : "graphics";
    const std::vector<SSprite> sprites = {
        {"bckgrnd", nullptr, drawBackground},
        {"Text_Undefined", nullptr, drawUndefined},
        {"Text_AlienShip_General_BeingBorn", "Text_AlienShip_General_BeingBorn_Mask", drawBeingBorn},
        {"Text_AlienShip_Red_Alive", "Text_AlienShip_Red_Alive_Mask", drawRedShip},
        {"alienShip1", "alienShip1_mask", drawGreenShip},
        {"Text_AlienShip_Green_Dying01", "Text_AlienShip_Green_Dying01_Mask", [] { return drawExplosion({10, 1, 9, 0, 0, 0, 1}); }},
        {"Text_AlienShip_Green_Dying02", "Text_AlienShip_Green_Dying02_Mask", [] { return drawExplosion({18, 0.8, 7, 3, 0, 16, 2}); }},
        {"Text_AlienShip_Green_Dying03", "Text_AlienShip_Green_Dying03_Mask", [] { return drawExplosion({0, 0, 0, 6, 6, 14, 3}); }},
        {"gun", "gun_mask", drawGun},
        {"bullet", "bullet_mask", drawBullet},
    };
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool ok = true;
    for (const SSprite& sprite : sprites)
    {
        const CCanvas canvas = sprite.draw();
        ok = write(folder, sprite.pName, canvas.picture()) && ok;
        if (sprite.pMaskName)
            ok = write(folder, sprite.pMaskName, canvas.mask()) && ok;
    }
    return ok ? 0 : 1;
}
