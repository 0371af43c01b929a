#include "common/svgplot.h"

#include <gtest/gtest.h>

#include <string>

#include "view/cfitnessgraph.h"
#include "view/clearninggraph.h"

namespace
{
// The opening of the polyline of a curve drawn in this colour and width.
std::string curve(const std::string& colour, const std::string& width)
{
    return "<polyline fill=\"none\" stroke-width=\"" + width + "\" stroke=\"" + colour + "\" points=\"";
}

TEST(SvgPlotTest, LearningCurvesOfBothPopulationsWithThinBestLinesAndNamedAxes)
{
    CFitnessGraph graph;
    CLearningGraph learning(graph, "", 0xD03030, 0x20A040, true);
    learning.addPeriod(0.5, {2, 7}, {12, 40});
    learning.addPeriod(1.0, {3, 9}, {14, 44});
    const std::string svg = renderSvg(graph, CLearningGraph::Title);

    EXPECT_NE(svg.find("<svg "), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    for (const char* colour : {"#D03030", "#20A040"})
    {
        EXPECT_NE(svg.find(curve(colour, "3")), std::string::npos) << colour << ": no thick line";
        EXPECT_NE(svg.find(curve(colour, "1")), std::string::npos) << colour << ": no thin line";
    }
    for (const char* text : {">red, mean score of the dying<", ">red, best score in the pool<",
                             ">green, mean steps alive of the dying<", ">green, best steps alive in the pool<",
                             ">minutes of game time<", ">fitness (red: score, green: steps alive)<"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_NE(svg.find(std::string(">") + CLearningGraph::Title + "<"), std::string::npos);
}
} // namespace
