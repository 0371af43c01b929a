#include "common/svgplot.h"

#include <gtest/gtest.h>

#include <string>

#include "view/clearninggraph.h"

namespace
{
// The opening of the polyline of a curve drawn in this colour and width.
std::string curve(const std::string& colour, const std::string& width)
{
    return "<polyline fill=\"none\" stroke-width=\"" + width + "\" stroke=\"" + colour + "\" points=\"";
}

TEST(SvgPlotTest, APanelForEachPopulationWithItsCurveRandomBrainsAndTheRatio)
{
    CLearningGraph learning;
    const int run = learning.addRun("", 0xD03030, 0x20A040, true);
    learning.addPeriod(run, 0.5, {2, 3.1, 7}, {4, 12, 40});
    learning.addPeriod(run, 1.0, {2, 3.3, 9}, {4, 14, 44});
    const int random = learning.addBaseline();
    learning.addPeriod(random, 0.5, {2, 1.6, 2}, {4, 4, 9});
    learning.addPeriod(random, 1.0, {2, 1.6, 2}, {4, 4, 9});
    const std::string svg = renderSvg(learning, CLearningGraph::Title);
    EXPECT_NE(svg.find("stroke=\"#A0A0A8\" stroke-width=\"1.5\"/>"), std::string::npos) << "random brains dashed";

    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    for (const char* colour : {"#D03030", "#20A040"})
        EXPECT_NE(svg.find(curve(colour, "3")), std::string::npos) << colour << ": no thick line";
    for (const std::string& text : {learning.panel(CLearningGraph::Red).title(),
                                   learning.panel(CLearningGraph::Green).title(), std::string("random brains"),
                                   std::string("mean of the last minute's dying"),
                                   std::string("\xC3\x97" "2.0 random brains"), std::string(CLearningGraph::Title)})
        EXPECT_NE(svg.find(">" + text + "<"), std::string::npos) << text << " (the × written in UTF-8)";
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}
} // namespace
