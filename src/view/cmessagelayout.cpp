#include "view/cmessagelayout.h"

#include "view/chelplayout.h"

namespace
{
// The height the messages can take at most: every one of the most shown, on two rows.
double mostHeight(const CMessageLayout::SFont& font)
{
    return CMessageLine::kMaxShown * (2 * font.dLineHeight + CMessageLayout::kGap);
}
} // namespace

std::vector<CMessageLayout::SRow> CMessageLayout::layout(const std::vector<CMessageLine::SShown>& messages,
                                                         const SFont& font, double pictureWidth, double baseline,
                                                         double edge, const SRect& panel)
{
    double left = edge, right = pictureWidth - edge;
    const bool panelShown = panel.right > panel.left && panel.top > panel.bottom;
    if (panelShown && panel.bottom < baseline + mostHeight(font) && panel.top > baseline - font.dDescent)
    {
        // Beside the panel, on the wider side.
        if (panel.left - edge >= pictureWidth - edge - panel.right)
            right = panel.left - kStripPadding - 1;
        else
            left = panel.right + kStripPadding + 1;
    }
    const double room = right - left - 2 * kStripPadding;
    std::vector<SRow> rows;
    if (room <= 0)
        return rows;
    double bottom = baseline;
    for (auto message = messages.rbegin(); message != messages.rend(); ++message)
    {
        const std::vector<std::string> lines = CHelpLayout::wrap(message->sText, font.width, room);
        double rowBaseline = bottom + font.dLineHeight * static_cast<double>(lines.size() - 1);
        const double nextBottom = rowBaseline + font.dLineHeight + kGap;
        for (const std::string& line : lines)
        {
            const double width = font.width(line);
            const double x = left + (right - left - width) / 2;
            rows.push_back({line, x, rowBaseline,
                            SRect(x - kStripPadding, rowBaseline + font.dLineHeight - font.dDescent,
                                  x + width + kStripPadding, rowBaseline - font.dDescent - 1),
                            message->dOpacity});
            rowBaseline -= font.dLineHeight;
        }
        bottom = nextBottom;
    }
    return rows;
}
