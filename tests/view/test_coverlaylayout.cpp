#include "view/coverlaylayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
bool shown(const SRect& r)
{
    return r.right > r.left && r.top > r.bottom;
}

bool overlap(const SRect& a, const SRect& b)
{
    return shown(a) && shown(b) && a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

bool within(const SRect& inner, double width, double top, double bottom)
{
    return !shown(inner) || (inner.left >= 0 && inner.right <= width && inner.top <= top && inner.bottom >= bottom);
}
} // namespace

// Every set of panels, with the ship on either side, at the shipped size and the smallest
// window: the panels never overlap, nor cover the statistics lines, the heads-up line or the
// gun's room, and each shows where it has room at the shipped size.
TEST(COverlayLayoutTest, PanelsShownTogetherNeverOverlap)
{
    for (const auto& [width, height] : {std::pair{800.0, 600.0}, {320.0, 240.0}})
        for (int mask = 0; mask < 16; ++mask)
            for (const double shipX : {0.1 * width, 0.9 * width})
            {
                SCOPED_TRACE(std::to_string(width) + " wide, panels " + std::to_string(mask) + ", ship at " +
                             std::to_string(shipX));
                const bool stats = mask & 1, graph = mask & 2, inspector = mask & 4, help = mask & 8;
                // The statistics lines where they stand: from 2 % of the width, at 85 % of the height.
                const SRect statsBlock(0.02 * width, 0.85 * height + 18, 0.02 * width + 150, 0.85 * height - 54);
                const double hud = 22, gunRoom = 84 * height / 600, messages = 0.16 * height + 12;
                COverlayLayout layout;
                layout.layout({width, height, hud, gunRoom, messages, stats ? &statsBlock : nullptr, graph, inspector,
                               shipX, help});
                const std::vector<SRect> regions{layout.graph(), layout.inspector(), layout.help()};
                for (size_t i = 0; i < regions.size(); ++i)
                {
                    EXPECT_TRUE(within(regions[i], width, height - hud, i == 2 ? messages : gunRoom)) << i;
                    EXPECT_FALSE(stats && overlap(regions[i], statsBlock)) << i;
                    for (size_t j = i + 1; j < regions.size(); ++j)
                        EXPECT_FALSE(overlap(regions[i], regions[j])) << i << " and " << j;
                }
                EXPECT_EQ(shown(layout.graph()), graph);
                EXPECT_EQ(shown(layout.inspector()), inspector);
                if (width == 800)
                {
                    EXPECT_EQ(shown(layout.help()), help);
                }
                if (inspector)
                {
                    EXPECT_EQ(layout.inspector().right <= width / 2, shipX > width / 2) << "the side away from the ship";
                }
            }
}

TEST(COverlayLayoutTest, TheInspectorsPanelChangesSidesOnlyWhenItsShipIsWellPastTheMiddle)
{
    COverlayLayout layout;
    const auto sideFor = [&layout](double shipX) {
        layout.layout({800, 600, 22, 84, 108, nullptr, false, true, shipX, false});
        return layout.inspector().right <= 400 ? "left" : "right";
    };
    EXPECT_STREQ(sideFor(500), "left");
    EXPECT_STREQ(sideFor(350), "left") << "just past the middle";
    EXPECT_STREQ(sideFor(300), "left");
    EXPECT_STREQ(sideFor(270), "right") << "well past it";
    EXPECT_STREQ(sideFor(450), "right");
    EXPECT_STREQ(sideFor(540), "left");
    layout.layout({800, 600, 22, 84, 108, nullptr, false, false, 0, false});
    EXPECT_STREQ(sideFor(390), "right") << "a new inspection picks the side afresh";
}
