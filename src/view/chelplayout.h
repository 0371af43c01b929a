#pragma once

#include <functional>
#include <string>
#include <vector>

// A help page laid out to fit a panel. A line with a tab is split at its first tab into a key
// and its text: every key starts at the left edge and every text at one column beyond the
// widest key (a key column never takes more than kMaxKeyShare of the width). A line without a
// tab spans the width. Guarantees: every row fits the width it is laid out for, wrapped at
// spaces where it would not (a word wider than its room is broken between letters; only a
// single letter wider than the whole room can stand out), the
// continuation rows staying in their column; an empty line keeps its row; further tabs read
// as spaces. Positions are from the panel's top-left corner, rows lineHeight apart.
class CHelpLayout
{
public:
    using TextWidth = std::function<double(const std::string&)>;
    struct SFont
    {
        TextWidth width;
        double dLineHeight;
    };
    struct SRow
    {
        double dX;
        int iRow;
        std::string sText;
        bool bKey; // in the key column
    };

    static constexpr double kMaxKeyShare = 0.4;

    void layout(const std::vector<std::string>& lines, const SFont& font, double width, double gap);
    // Lays the lines out in the first font whose rows fit the height, else in the last one;
    // returns the index of the font taken.
    int fit(const std::vector<std::string>& lines, const std::vector<SFont>& fonts, double width, double height,
            double gap);

    const std::vector<SRow>& rows() const { return m_vRows; }
    int rowCount() const { return m_iRowCount; }
    double width() const { return m_dWidth; }   // of the widest row
    double height() const { return m_iRowCount * m_dLineHeight; }

    // The text in rows of at most maxWidth, broken at spaces, or inside a word that alone is
    // wider; always at least one row.
    static std::vector<std::string> wrap(const std::string& text, const TextWidth& width, double maxWidth);

private:
    void addRows(const std::vector<std::string>& texts, double x, bool key, const TextWidth& width);

    std::vector<SRow> m_vRows;
    int m_iRowCount = 0;
    double m_dWidth = 0.0;
    double m_dLineHeight = 0.0;
};
