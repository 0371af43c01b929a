#pragma once

#include <functional>
#include <string>
#include <vector>

// Kinds of HUD items: plain text, or a badge of a mode that is on.
constexpr int HUD_TEXT = 0;
constexpr int HUD_PAUSED = 1;
constexpr int HUD_FIRING = 2;
constexpr int HUD_AUTO = 3;

// What the heads-up line shows and where: the world clock, the speed, a badge for each of
// pause (only while the world really stands: fast mode runs it regardless), firing and
// automatic mode that is on, the player's kills and the hits the gun took. Guarantees: the
// items come in that order; laid out from a left edge with a gap between them, each starts
// where the one before ends, and an item that would pass the right edge is left out with
// every item after it, so the line never runs off its room.
class CHud
{
public:
    struct SState
    {
        double dWorldMs;
        bool bFast;
        double dMultiple; // measured world time per real time, for fast mode
        bool bPaused;
        bool bFiring;
        bool bAuto;
        long long llKills;
        long long llHitsOnGun;
    };
    struct SItem
    {
        std::string sText;
        int iKind;
        double dX = 0.0;     // where it starts, once laid out
        double dWidth = 0.0; // its text's width
    };
    using TextWidth = std::function<double(const std::string&)>;

    static std::vector<SItem> items(const SState& state);
    // Places the items from left, badgePadding added on both sides of a badge's text; keeps
    // those that end by right.
    static std::vector<SItem> layout(std::vector<SItem> items, const TextWidth& width, double left, double right,
                                     double gap, double badgePadding);

    // "m:ss", and "h:mm:ss" from the first hour on.
    static std::string clock(double ms);
    // "×1" at normal speed; in fast mode the measured multiple, "×..." before it is known. The
    // multiplication sign is Latin-1, as GLUT's bitmap fonts take it.
    static std::string speed(bool fast, double multiple);
};
