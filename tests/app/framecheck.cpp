// Reads a 24-bit BMP (a captured frame, or a screenshot of the window) and reports on its
// pixels of one kind, for the end-to-end tests. Coordinates are pixels from the top-left
// corner, as X and GLUT count them; a region is x y width height, the whole picture when left
// out.
//
//   framecheck <file> count <kind> [region]     how many pixels of the kind
//   framecheck <file> median <kind> [region]    their median x and y (status 1 when none)
//   framecheck <file> box <kind> [region]       their bounding box: left top right bottom
//   framecheck <file> first <kind> [region]     the first of them, row by row from the top
//   framecheck <file> ship <kind> [region]      the middle (median x and y) of the first ship of
//                                               the kind: its first pixel, row by row, with at
//                                               least kShipPixels of the kind in the ship-sized
//                                               box below it (a bullet or a spark has fewer)
//   framecheck <file> brightest <kind> [region] the largest red value among them (0 when none)
//   framecheck <file> differ <other file> [region]  pixels that differ clearly between the two
//   framecheck --width12 <text>                 the text's width in GLUT's Helvetica 12
//
// Kinds: green and red ships' colours (redship: a red ship's deep red alone); hud, paused,
// firing, auto, ring, turret, caption, helpkey and messagefull exactly the overlays' colours;
// message, the message text's yellow at any opacity; black; lit (anything but black). Status 2 for a wrong command line or an unreadable file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "view/cviewcolours.h"
#include "render/cbitmap.h"
#include "support/helveticawidths.h"

namespace
{
struct SRegion
{
    int x, y, w, h;
};

struct SPixel
{
    int r, g, b;
};

// A ship's box from its topmost pixel: 40 pixels across it, 24 down.
constexpr int kShipHalfWidth = 20;
constexpr int kShipHeight = 24;
constexpr int kShipPixels = 30;

int byteOf(float part)
{
    return static_cast<int>(std::lround(part * 255.0f));
}

bool isExactly(const SPixel& p, const SColour& c)
{
    return p.r == byteOf(c.r) && p.g == byteOf(c.g) && p.b == byteOf(c.b);
}

// The message's warm yellow blended over a dark place at some opacity: red leads, green
// close behind, blue about half of red.
bool isMessageYellow(const SPixel& p)
{
    return p.r > 60 && p.g >= 0.8 * p.r && p.g <= 0.97 * p.r && p.b >= 0.3 * p.r && p.b <= 0.65 * p.r;
}

bool isKind(const std::string& kind, const SPixel& p)
{
    if (kind == "green")
        return p.g > 120 && p.g > p.r + 40 && p.g > p.b + 20;
    if (kind == "red")
        return p.r > 120 && p.r > p.g + 40 && p.r > p.b + 40;
    if (kind == "redship") // deep red, unlike the orange of bullets and explosions
        return p.r > 100 && p.g < 0.3 * p.r && p.b < 0.3 * p.r;
    if (kind == "hud")
        return isExactly(p, CViewColours::kHudText);
    if (kind == "paused")
        return isExactly(p, CViewColours::kPaused);
    if (kind == "firing")
        return isExactly(p, CViewColours::kFiring);
    if (kind == "auto")
        return isExactly(p, CViewColours::kAuto);
    if (kind == "ring")
        return isExactly(p, CViewColours::kRing);
    if (kind == "turret")
        return isExactly(p, CViewColours::kTurretLine);
    if (kind == "caption")
        return isExactly(p, CViewColours::kCaption);
    if (kind == "helpkey")
        return isExactly(p, CViewColours::kHelpKey);
    if (kind == "messagefull")
        return isExactly(p, CViewColours::kMessage);
    if (kind == "message")
        return isMessageYellow(p);
    if (kind == "nothud") // none of the heads-up line's own colours: something else shows through
        return !isExactly(p, CViewColours::kHudBackdrop) && !isExactly(p, CViewColours::kHudText) &&
               !isExactly(p, CViewColours::kPaused) && !isExactly(p, CViewColours::kFiring) &&
               !isExactly(p, CViewColours::kAuto) && !isExactly(p, CViewColours::kBadgeText);
    if (kind == "black")
        return p.r == 0 && p.g == 0 && p.b == 0;
    if (kind == "lit")
        return p.r + p.g + p.b > 0;
    std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
    std::exit(2);
}

SPixel pixelAt(const CBitmap& bitmap, int x, int y)
{
    const unsigned char* p = bitmap.row(bitmap.getHeight() - 1 - y) + 3 * x;
    return {p[2], p[1], p[0]};
}

CBitmap read(const char* fileName)
{
    CBitmap bitmap;
    std::string error;
    if (!bitmap.readFile(fileName, error))
    {
        std::fprintf(stderr, "%s: %s\n", fileName, error.c_str());
        std::exit(2);
    }
    return bitmap;
}

SRegion clipped(SRegion r, const CBitmap& bitmap)
{
    const int right = std::min(r.x + r.w, bitmap.getWidth());
    const int bottom = std::min(r.y + r.h, bitmap.getHeight());
    r.x = std::max(r.x, 0);
    r.y = std::max(r.y, 0);
    r.w = std::max(right - r.x, 0);
    r.h = std::max(bottom - r.y, 0);
    return r;
}

SRegion region(const CBitmap& bitmap, int argc, char** argv, int first)
{
    SRegion r{0, 0, bitmap.getWidth(), bitmap.getHeight()};
    if (argc >= first + 4)
        r = {std::atoi(argv[first]), std::atoi(argv[first + 1]), std::atoi(argv[first + 2]), std::atoi(argv[first + 3])};
    return clipped(r, bitmap);
}

template <typename TVisit> void forEach(const CBitmap& bitmap, const SRegion& r, TVisit&& visit)
{
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            visit(x, y, pixelAt(bitmap, x, y));
}

int report(const CBitmap& bitmap, const std::string& command, const std::string& kind, const SRegion& r)
{
    std::vector<int> xs, ys;
    int brightest = 0;
    forEach(bitmap, r, [&](int x, int y, const SPixel& p) {
        if (!isKind(kind, p))
            return;
        xs.push_back(x);
        ys.push_back(y);
        brightest = std::max(brightest, p.r);
    });
    if (command == "count")
        std::printf("%zu\n", xs.size());
    else if (command == "brightest")
        std::printf("%d\n", brightest);
    else if (xs.empty())
        return 1;
    else if (command == "median")
    {
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        std::printf("%d %d\n", xs[xs.size() / 2], ys[ys.size() / 2]);
    }
    else if (command == "first")
        std::printf("%d %d\n", xs.front(), ys.front());
    else if (command == "box")
        std::printf("%d %d %d %d\n", *std::min_element(xs.begin(), xs.end()), *std::min_element(ys.begin(), ys.end()),
                    *std::max_element(xs.begin(), xs.end()), *std::max_element(ys.begin(), ys.end()));
    else
        return 2;
    return 0;
}

// The pixels of the kind in the region.
std::vector<std::pair<int, int>> pixelsOf(const CBitmap& bitmap, const std::string& kind, const SRegion& r)
{
    std::vector<std::pair<int, int>> found;
    forEach(bitmap, r, [&](int x, int y, const SPixel& p) {
        if (isKind(kind, p))
            found.emplace_back(x, y);
    });
    return found;
}

int reportShip(const CBitmap& bitmap, const std::string& kind, const SRegion& r)
{
    for (const auto& [x, y] : pixelsOf(bitmap, kind, r))
    {
        const SRegion box = clipped({x - kShipHalfWidth, y, 2 * kShipHalfWidth, kShipHeight}, bitmap);
        std::vector<std::pair<int, int>> ship = pixelsOf(bitmap, kind, box);
        if (static_cast<int>(ship.size()) < kShipPixels)
            continue;
        std::vector<int> xs, ys;
        for (const auto& [sx, sy] : ship)
        {
            xs.push_back(sx);
            ys.push_back(sy);
        }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        std::printf("%d %d\n", xs[xs.size() / 2], ys[ys.size() / 2]);
        return 0;
    }
    return 1;
}

int differ(const CBitmap& a, const CBitmap& b, const SRegion& r)
{
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
    {
        std::fprintf(stderr, "the pictures differ in size\n");
        return 2;
    }
    long count = 0;
    forEach(a, r, [&](int x, int y, const SPixel& p) {
        const SPixel q = pixelAt(b, x, y);
        if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 30)
            ++count;
    });
    std::printf("%ld\n", count);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--width12")
    {
        std::printf("%.0f\n", helvetica::width12(argv[2]));
        return 0;
    }
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: %s <file> count|median|box|first|ship|brightest <kind> [x y w h]\n"
                             "       %s <file> differ <other file> [x y w h]\n", argv[0], argv[0]);
        return 2;
    }
    const CBitmap bitmap = read(argv[1]);
    const std::string command = argv[2];
    if (command == "differ")
        return differ(bitmap, read(argv[3]), region(bitmap, argc, argv, 4));
    if (command == "ship")
        return reportShip(bitmap, argv[3], region(bitmap, argc, argv, 4));
    return report(bitmap, command, argv[3], region(bitmap, argc, argv, 4));
}
