#include "render/hudline.h"

#include "view/chelplayout.h"
#include "view/cmessagelayout.h"
#include "render/overlaydraw.h"

namespace
{
constexpr int kHudFont = FONT_MEDIUM;
constexpr double kHudEdge = 8.0;    // from the picture's left and right edges
constexpr double kHudBaseline = 16.0; // below the picture's top
constexpr double kHudGap = 14.0;
constexpr double kBadgePadding = 4.0;
constexpr int kMessageFont = FONT_MEDIUM;
constexpr double kMessageBaseline = 0.16; // of the picture's height, for the newest row

SColour badgeColour(int kind)
{
    switch (kind)
    {
    case HUD_PAUSED: return CViewColours::kPaused;
    case HUD_FIRING: return CViewColours::kFiring;
    case HUD_WATCHING: return CViewColours::kWatching;
    case HUD_GAME_OVER: return CViewColours::kFiring;
    default: return CViewColours::kAuto;
    }
}

SColour faded(SColour colour, double opacity)
{
    colour.a = static_cast<float>(colour.a * opacity);
    return colour;
}
} // namespace

SRect hudBox(const CPixelSpace& space)
{
    const double baseline = space.height() - kHudBaseline;
    return SRect(0, space.height(), space.width(), baseline - textDescent(kHudFont) - 1);
}

void drawHud(const CPixelSpace& space, const CHud::SState& state)
{
    fillRect(hudBox(space), CViewColours::kHudBackdrop);
    const double baseline = space.height() - kHudBaseline;
    const auto width = [](const std::string& text) { return textWidth(kHudFont, text); };
    const std::vector<CHud::SItem> items =
        CHud::layout(CHud::items(state), width, kHudEdge, space.width() - kHudEdge, kHudGap, kBadgePadding);
    for (const CHud::SItem& item : items)
    {
        if (item.iKind == HUD_TEXT)
        {
            drawText(item.dX, baseline, kHudFont, item.sText, CViewColours::kHudText);
            continue;
        }
        const SRect badge(item.dX - kBadgePadding, baseline + lineHeight(kHudFont) - textDescent(kHudFont),
                          item.dX + item.dWidth + kBadgePadding, baseline - textDescent(kHudFont));
        if (item.iKind == HUD_PAUSE_PENDING)
        {
            // Only outlined: the pause is asked for, not yet in force.
            outlineRect(badge, CViewColours::kPaused, 1.5);
            drawText(item.dX, baseline, kHudFont, item.sText, CViewColours::kPaused);
            continue;
        }
        fillRect(badge, badgeColour(item.iKind));
        drawText(item.dX, baseline, kHudFont, item.sText, CViewColours::kBadgeText);
    }
}

double newestMessageTop(const CPixelSpace& space)
{
    return kMessageBaseline * space.height() + lineHeight(kMessageFont) - textDescent(kMessageFont);
}

void drawMessages(const CPixelSpace& space, const std::vector<CMessageLine::SShown>& messages, const SRect& panel)
{
    const CMessageLayout::SFont font{[](const std::string& text) { return textWidth(kMessageFont, text); },
                                     lineHeight(kMessageFont), textDescent(kMessageFont)};
    for (const CMessageLayout::SRow& row :
         CMessageLayout::layout(messages, font, space.width(), kMessageBaseline * space.height(), kHudEdge, panel))
    {
        fillRect(row.strip, faded(CViewColours::kPanel, row.dOpacity));
        drawText(row.dX, row.dBaseline, kMessageFont, row.sText, faded(CViewColours::kMessage, row.dOpacity));
    }
}
