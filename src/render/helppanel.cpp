#include "render/helppanel.h"

#include <algorithm>

#include "app/chelplayout.h"
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

void drawHelpPanel(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    const CPixelSpace space;
    const double room = std::max(kWidthShare * space.width() - 2 * kPadding, 1.0);
    const double height = kHeightShare * space.height() - 2 * kPadding;
    std::vector<CHelpLayout::SFont> fonts;
    for (int font : kFonts)
        fonts.push_back(layoutFont(font));
    CHelpLayout layout;
    const int font = kFonts[layout.fit(lines, fonts, room, height, kColumnGap)];

    const double panelWidth = layout.width() + 2 * kPadding;
    const double panelHeight = std::min(layout.height(), height) + 2 * kPadding;
    const double left = (space.width() - panelWidth) / 2;
    const double top = (space.height() + panelHeight) / 2;
    fillRect(SRect(left, top, left + panelWidth, top - panelHeight), CViewColours::kPanel);
    const int shownRows = static_cast<int>(height / lineHeight(font));
    for (const CHelpLayout::SRow& row : layout.rows())
    {
        if (row.iRow >= shownRows)
            continue;
        const double baseline = top - kPadding - (row.iRow + 1) * lineHeight(font) + textDescent(font);
        drawText(left + kPadding + row.dX, baseline, font, row.sText,
                 row.bKey ? CViewColours::kHelpKey : CViewColours::kPanelText);
    }
}
