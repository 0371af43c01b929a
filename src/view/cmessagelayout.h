#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view/cmessageline.h"
#include "view/sfontmetrics.h"
#include "world/utils.h"

// Where the messages of the keys lie in the picture (pixels, y up): stacked from a baseline up,
// the newest lowest, each wrapped to its room and centred in it, every row on a strip of its
// own. The room is the picture's width less its edges, or, when a panel reaches down into the
// messages' height, the wider side of the picture beside the panel. Guarantees: no row's strip
// overlaps the panel, and every strip lies within the room it was laid in.
class CMessageLayout
{
public:
    using TextWidth = std::function<double(const std::string&)>;
    using SFont = SFontMetrics;
    struct SRow
    {
        std::string sText;
        double dX, dBaseline;
        SRect strip{0, 0, 0, 0}; // the dark strip behind it
        double dOpacity;
    };

    static constexpr double kStripPadding = 6.0;
    static constexpr double kGap = 3.0; // between two messages

    // panel: a region to keep off (empty for none); edge: kept free at either side.
    static std::vector<SRow> layout(const std::vector<CMessageLine::SShown>& messages, const SFont& font,
                                    double pictureWidth, double baseline, double edge, const SRect& panel);
};
