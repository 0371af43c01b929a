#include "view/chud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
const std::string kTimes = "\xD7";
} // namespace

std::vector<CHud::SItem> CHud::items(const SState& state)
{
    // Priorities: what is at stake and whether the world stands first, the clock, what the
    // player has at stake in free play (the hits taken, the kills), the modes, the newcomer's
    // key, the speed last.
    std::vector<SItem> list;
    if (state.bGameOver)
        list.push_back({"GAME OVER", HUD_GAME_OVER, 0});
    if (state.bChallenge || state.bGameOver)
    {
        list.push_back({"score " + std::to_string(state.llScore), HUD_TEXT, 0});
        list.push_back({"lives " + std::to_string(state.iLives) + ", shield " + std::to_string(state.iShield) + "/" +
                            std::to_string(state.iShieldFull),
                        HUD_TEXT, 0});
    }
    list.push_back({clock(state.dWorldMs), HUD_TEXT, 1});
    list.push_back({speed(state.bFast, state.dMultiple), HUD_TEXT, 9});
    if (state.bPaused && !state.bGameOver)
        list.push_back(state.bFast ? SItem{"PAUSE PENDING", HUD_PAUSE_PENDING, 0} : SItem{"PAUSED", HUD_PAUSED, 0});
    if (state.bWatching)
        list.push_back({"WATCHING EVOLUTION", HUD_WATCHING, 4});
    if (state.bFiring)
        list.push_back({"FIRING", HUD_FIRING, 6});
    if (state.bAuto)
        list.push_back({"AUTO", HUD_AUTO, 7});
    if (state.bEvolvedStart)
        list.push_back({"evolved start", HUD_TEXT, 8});
    list.push_back({countWithRate("kills", state.llKills, state.dKillsPerMinute), HUD_TEXT, 3});
    list.push_back({countWithRate("gun hit", state.llHitsOnGun, state.dHitsPerMinute), HUD_TEXT, 2});
    if (state.bKeysHint)
        list.push_back({"F1: keys", HUD_TEXT, 5});
    return list;
}

std::vector<CHud::SItem> CHud::layout(std::vector<SItem> items, const TextWidth& width, double left, double right,
                                      double gap, double badgePadding)
{
    std::vector<size_t> byPriority(items.size());
    for (size_t i = 0; i < items.size(); ++i)
    {
        byPriority[i] = i;
        items[i].dWidth = width(items[i].sText);
    }
    std::stable_sort(byPriority.begin(), byPriority.end(),
                     [&items](size_t a, size_t b) { return items[a].iPriority < items[b].iPriority; });
    const auto span = [badgePadding](const SItem& item) {
        return item.dWidth + (item.iKind == HUD_TEXT ? 0.0 : 2 * badgePadding);
    };
    std::vector<bool> kept(items.size(), false);
    double used = 0.0;
    bool any = false;
    for (const size_t i : byPriority)
    {
        const double need = span(items[i]) + (any ? gap : 0.0);
        if (left + used + need <= right)
        {
            kept[i] = any = true;
            used += need;
        }
    }
    std::vector<SItem> placed;
    double x = left;
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (!kept[i])
            continue;
        SItem item = items[i];
        item.dX = x + (item.iKind == HUD_TEXT ? 0.0 : badgePadding);
        x += span(item) + gap;
        placed.push_back(item);
    }
    return placed;
}

std::string CHud::countWithRate(const std::string& what, long long count, double perMinute)
{
    std::string text = what + " " + std::to_string(count);
    if (std::isfinite(perMinute))
    {
        char rate[48];
        std::snprintf(rate, sizeof rate, perMinute < 10 ? " (%.1f/min)" : " (%.0f/min)", perMinute);
        text += rate;
    }
    return text;
}

std::string CHud::clock(double ms)
{
    const long long seconds = static_cast<long long>(std::floor(std::max(ms, 0.0) / 1000.0));
    char text[48];
    if (seconds < 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string CHud::speed(bool fast, double multiple)
{
    if (!fast)
        return kTimes + "1";
    if (!(multiple > 0))
        return kTimes + "...";
    char text[32];
    std::snprintf(text, sizeof text, multiple < 10 ? "%.1f" : "%.0f", multiple);
    return kTimes + text;
}
