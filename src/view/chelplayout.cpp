#include "view/chelplayout.h"

#include <algorithm>
#include <sstream>

namespace
{
std::string tabsAsSpaces(std::string text)
{
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

// Breaks a word wider than maxWidth into pieces that fit, at least one letter each.
std::vector<std::string> breakWord(const std::string& word, const CHelpLayout::TextWidth& width, double maxWidth)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : word)
    {
        if (!piece.empty() && width(piece + c) > maxWidth)
        {
            pieces.push_back(piece);
            piece.clear();
        }
        piece += c;
    }
    pieces.push_back(piece);
    return pieces;
}
} // namespace

std::vector<std::string> CHelpLayout::wrap(const std::string& text, const TextWidth& width, double maxWidth)
{
    if (width(text) <= maxWidth)
        return {text};
    std::vector<std::string> rows;
    std::string row;
    std::istringstream words(text);
    std::string word;
    while (words >> word)
    {
        const std::string joined = row.empty() ? word : row + " " + word;
        if (width(joined) <= maxWidth)
        {
            row = joined;
            continue;
        }
        if (!row.empty())
            rows.push_back(row);
        row.clear();
        std::vector<std::string> pieces = breakWord(word, width, maxWidth);
        row = pieces.back();
        pieces.pop_back();
        rows.insert(rows.end(), pieces.begin(), pieces.end());
    }
    if (!row.empty() || rows.empty())
        rows.push_back(row);
    return rows;
}

void CHelpLayout::layout(const std::vector<std::string>& lines, const SFont& font, double width, double gap)
{
    m_vRows.clear();
    m_iRowCount = 0;
    m_dWidth = 0.0;
    m_dLineHeight = font.dLineHeight;
    double keyWidth = 0.0;
    for (const std::string& line : lines)
    {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos)
            keyWidth = std::max(keyWidth, font.width(line.substr(0, tab)));
    }
    keyWidth = std::min(keyWidth, kMaxKeyShare * width);
    const double textX = keyWidth + gap;
    for (const std::string& line : lines)
    {
        const size_t tab = line.find('\t');
        int rows = 1;
        if (tab == std::string::npos)
        {
            const std::vector<std::string> texts = wrap(tabsAsSpaces(line), font.width, width);
            addRows(texts, 0.0, false, font.width);
            rows = static_cast<int>(texts.size());
        }
        else
        {
            const std::vector<std::string> keys = wrap(line.substr(0, tab), font.width, keyWidth);
            const std::vector<std::string> texts =
                wrap(tabsAsSpaces(line.substr(tab + 1)), font.width, std::max(width - textX, 0.0));
            addRows(keys, 0.0, true, font.width);
            addRows(texts, textX, false, font.width);
            rows = static_cast<int>(std::max(keys.size(), texts.size()));
        }
        m_iRowCount += rows;
    }
}

int CHelpLayout::fit(const std::vector<std::string>& lines, const std::vector<SFont>& fonts, double width,
                     double height, double gap)
{
    for (size_t i = 0; i < fonts.size(); ++i)
    {
        layout(lines, fonts[i], width, gap);
        if (this->height() <= height || i + 1 == fonts.size())
            return static_cast<int>(i);
    }
    return -1;
}

// The texts as rows from the next free row on, x from the left edge.
void CHelpLayout::addRows(const std::vector<std::string>& texts, double x, bool key, const TextWidth& width)
{
    for (size_t i = 0; i < texts.size(); ++i)
    {
        if (texts[i].empty())
            continue;
        m_vRows.push_back({x, m_iRowCount + static_cast<int>(i), texts[i], key});
        m_dWidth = std::max(m_dWidth, x + width(texts[i]));
    }
}
