#pragma once

#include <functional>
#include <limits>
#include <string>
#include <vector>

// Kinds of HUD items: plain text, or a badge of a mode that is on.
constexpr int HUD_TEXT = 0;
constexpr int HUD_PAUSED = 1;
constexpr int HUD_FIRING = 2;
constexpr int HUD_AUTO = 3;
constexpr int HUD_PAUSE_PENDING = 4; // asked for in fast mode: it takes effect at normal speed
constexpr int HUD_WATCHING = 5;      // watching evolution (key w)
constexpr int HUD_GAME_OVER = 6;     // a challenge has ended

// What the heads-up line shows and where: the world clock, the speed, a badge for the pause
// (PAUSED while the world stands; in fast mode, which runs it regardless, PAUSE PENDING),
// watching evolution, firing and automatic mode that are on, whether the world began from the
// evolved pools, the player's kills and the hits the gun took with
// their rates over the last game minute, for a newcomer's first seconds the key to the
// help page, and in a challenge its score and the gun's lives and shield (GAME OVER at its end). Guarantees: laid out from a left edge with a gap between them, the items keep
// that order and each starts where the one before ends; when the room is short, items are
// left out whole, the least important first, so the line never runs off its room and no
// item is ever cut.
class CHud
{
public:
    struct SState
    {
        double dWorldMs;
        bool bFast;
        double dMultiple; // measured world time per real time, for fast mode
        bool bPaused;     // the player's pause, pending while fast mode runs the world
        bool bFiring;
        bool bAuto;
        long long llKills;
        long long llHitsOnGun;
        double dKillsPerMinute = std::numeric_limits<double>::quiet_NaN(); // NaN: not known yet
        double dHitsPerMinute = std::numeric_limits<double>::quiet_NaN();
        bool bKeysHint = false; // "F1: keys"
        bool bWatching = false; // "WATCHING EVOLUTION"
        bool bEvolvedStart = false; // "evolved start": the world began from the shipped pools
        // A challenge under way: its score, the gun's lives and the hits its shield takes
        // still; over: GAME OVER.
        bool bChallenge = false;
        bool bGameOver = false;
        long long llScore = 0;
        int iLives = 0;
        int iShield = 0;
        int iShieldFull = 0;
    };
    struct SItem
    {
        std::string sText;
        int iKind;
        int iPriority;       // 0 is the last to be left out
        double dX = 0.0;     // where it starts, once laid out
        double dWidth = 0.0; // its text's width
    };
    using TextWidth = std::function<double(const std::string&)>;

    static std::vector<SItem> items(const SState& state);
    // Places the items from left, badgePadding added on both sides of a badge's text: keeps
    // as many as fit by right, taking them by priority.
    static std::vector<SItem> layout(std::vector<SItem> items, const TextWidth& width, double left, double right,
                                     double gap, double badgePadding);

    // "m:ss", and "h:mm:ss" from the first hour on.
    static std::string clock(double ms);
    // "kills 12 (3.5/min)": a count and, once known, its rate a game minute.
    static std::string countWithRate(const std::string& what, long long count, double perMinute);
    // "×1" at normal speed; in fast mode the measured multiple, "×..." before it is known. The
    // multiplication sign is Latin-1, as GLUT's bitmap fonts take it.
    static std::string speed(bool fast, double multiple);
};
