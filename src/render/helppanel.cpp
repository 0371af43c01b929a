#include "render/helppanel.h"

#include <algorithm>

#include "view/chelplayout.h"
#include "render/overlaydraw.h"

namespace
{
constexpr double kPadding = 14.0;
constexpr double kColumnGap = 18.0;
constexpr double kWidthShare = 0.9;  // of the picture, at most
constexpr double kHeightShare = 0.9;
const int kFonts[] = {FONT_LARGE, FONT_MEDIUM, FONT_SMALL};

CHelpLayout::SFont layoutFont(int font)
{
    return {[font](const std::string& text) { return textWidth(font, text); }, lineHeight(font)};
}
} // namespace

void drawHelpPanel(const CPixelSpace& space, const std::vector<std::string>& lines, double bottom, double top)
{
    if (lines.empty())
        return;
    const double room = std::max(kWidthShare * space.width() - 2 * kPadding, 1.0);
    const double height = std::min(kHeightShare * space.height(), top - bottom) - 2 * kPadding;
    std::vector<CHelpLayout::SFont> fonts;
    for (int font : kFonts)
        fonts.push_back(layoutFont(font));
    CHelpLayout layout;
    const int font = kFonts[layout.fit(lines, fonts, room, height, kColumnGap)];

    const double panelWidth = layout.width() + 2 * kPadding;
    const double panelHeight = std::min(layout.height(), height) + 2 * kPadding;
    const double left = (space.width() - panelWidth) / 2;
    const double panelTop = (bottom + top + panelHeight) / 2;
    fillRect(SRect(left, panelTop, left + panelWidth, panelTop - panelHeight), CViewColours::kPanel);
    const int shownRows = static_cast<int>(height / lineHeight(font));
    for (const CHelpLayout::SRow& row : layout.rows())
    {
        if (row.iRow >= shownRows)
            continue;
        const double baseline = panelTop - kPadding - (row.iRow + 1) * lineHeight(font) + textDescent(font);
        drawText(left + kPadding + row.dX, baseline, font, row.sText,
                 row.bKey ? CViewColours::kHelpKey : CViewColours::kPanelText);
    }
}
