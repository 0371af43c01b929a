#include "render/helppanel.h"

#include <algorithm>

#include "view/chelplayout.h"
#include "view/ctextfit.h"
#include "render/overlaydraw.h"

namespace
{
constexpr double kPadding = 14.0;
constexpr double kColumnGap = 18.0;
const int kFonts[] = {FONT_LARGE, FONT_MEDIUM, FONT_SMALL};
const char* const kCutNote = "(the rest of the page does not fit: enlarge the window)";

CHelpLayout::SFont layoutFont(int font)
{
    return {[font](const std::string& text) { return textWidth(font, text); }, lineHeight(font)};
}
} // namespace

void drawHelpPanel(const std::vector<std::string>& lines, const SRect& region)
{
    if (lines.empty())
        return;
    const double padding = std::min(kPadding, std::min(region.right - region.left, region.top - region.bottom) / 4);
    const double room = std::max(region.right - region.left - 2 * padding, 1.0);
    const double height = region.top - region.bottom - 2 * padding;
    std::vector<CHelpLayout::SFont> fonts;
    for (int font : kFonts)
        fonts.push_back(layoutFont(font));
    CHelpLayout layout;
    const int font = kFonts[layout.fit(lines, fonts, room, height, kColumnGap)];
    const int fitting = static_cast<int>(height / lineHeight(font));
    if (fitting <= 0)
        return;
    // Rows that do not fit are left out at the bottom, and the last row says so.
    const bool cut = layout.rowCount() > fitting;
    const int shownRows = cut ? fitting - 1 : layout.rowCount();
    const std::string note = cut ? CTextFit::fitted(kCutNote, layoutFont(font).width, room) : "";

    const double panelWidth = std::max(layout.width(), cut ? textWidth(font, note) : 0.0) + 2 * padding;
    const double panelHeight = (shownRows + (cut ? 1 : 0)) * lineHeight(font) + 2 * padding;
    const double left = (region.left + region.right - panelWidth) / 2;
    const double panelTop = (region.bottom + region.top + panelHeight) / 2;
    fillRect(SRect(left, panelTop, left + panelWidth, panelTop - panelHeight), CViewColours::kPanel);
    const auto baseline = [&](int row) { return panelTop - padding - (row + 1) * lineHeight(font) + textDescent(font); };
    for (const CHelpLayout::SRow& row : layout.rows())
        if (row.iRow < shownRows)
            drawText(left + padding + row.dX, baseline(row.iRow), font, row.sText,
                     row.bKey ? CViewColours::kHelpKey : CViewColours::kPanelText);
    if (cut)
        drawText(left + padding, baseline(shownRows), font, note, CViewColours::kCaption);
}
