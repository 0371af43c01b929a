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
    std::vector<SItem> list;
    list.push_back({clock(state.dWorldMs), HUD_TEXT});
    list.push_back({speed(state.bFast, state.dMultiple), HUD_TEXT});
    if (state.bPaused && !state.bFast)
        list.push_back({"PAUSED", HUD_PAUSED});
    if (state.bFiring)
        list.push_back({"FIRING", HUD_FIRING});
    if (state.bAuto)
        list.push_back({"AUTO", HUD_AUTO});
    list.push_back({"kills " + std::to_string(state.llKills), HUD_TEXT});
    list.push_back({"gun hit " + std::to_string(state.llHitsOnGun), HUD_TEXT});
    return list;
}

std::vector<CHud::SItem> CHud::layout(std::vector<SItem> items, const TextWidth& width, double left, double right,
                                      double gap, double badgePadding)
{
    double x = left;
    for (size_t i = 0; i < items.size(); ++i)
    {
        SItem& item = items[i];
        item.dWidth = width(item.sText);
        const double padding = item.iKind == HUD_TEXT ? 0.0 : badgePadding;
        const double end = x + item.dWidth + 2 * padding;
        if (end > right)
        {
            items.resize(i);
            break;
        }
        item.dX = x + padding;
        x = end + gap;
    }
    return items;
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
