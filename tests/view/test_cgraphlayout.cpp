#include "view/cgraphlayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/clearninggraph.h"
#include "support/helveticawidths.h"

namespace
{
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
const CGraphLayout::SFont kFont{helvetica::width12, 15, 3};

bool inside(const SRect& inner, const SRect& outer)
{
    return inner.left >= outer.left - 1e-9 && inner.right <= outer.right + 1e-9 &&
           inner.bottom >= outer.bottom - 1e-9 && inner.top <= outer.top + 1e-9;
}

bool inside(SVector2D point, const SRect& box)
{
    return inside(SRect(point.x, point.y, point.x, point.y), box);
}

SRect textBox(const CGraphLayout::SText& text)
{
    return SRect(text.dX, text.dY + kFont.dLineHeight - kFont.dDescent, text.dX + kFont.width(text.sText),
                 text.dY - kFont.dDescent);
}

// Two runs a quarter of an hour long, red rising above random brains, one with a long name;
// with the player's side, the game's red hits on the gun rising and its kills falling.
CLearningGraph learningGraph(bool player = false)
{
    CLearningGraph graph;
    const int game = graph.addRun("", 0xFF5050, 0x50FF70, true);
    const int other = graph.addRun("a run with a rather long name: ", 0xF0A0A0, 0x90D0A0, true);
    const auto side = [player](long long hits, long long kills) {
        return player ? CLearningGraph::SPlayerPeriod{hits, kills} : CLearningGraph::NotKnown;
    };
    for (int period = 1; period <= 900; ++period)
    {
        const double minutes = period / 60.0;
        graph.addPeriod(game, minutes, {3, 1.5 + minutes / 5, 400}, {5, 20 + 5 * minutes, 900},
                        side(period % 4 == 0 ? 1 + period / 300 : 0, period % 2));
        graph.addPeriod(other, minutes, {3, period % 60 == 0 ? 900 : 2.0, 400}, {0, kNone, 900});
    }
    const int random = graph.addBaseline();
    for (int period = 1; period <= 900; ++period)
        graph.addPeriod(random, period / 60.0, {3, 1.7, 5}, {5, 18, 40}, side(period % 6 == 0, 1));
    return graph;
}

// Does any point of the segment, taken every half pixel, lie in the box?
bool passesThrough(SVector2D a, SVector2D b, const SRect& box)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    for (double t = 0; t <= length; t += 0.5)
    {
        const double x = a.x + (length > 0 ? (b.x - a.x) * t / length : 0);
        const double y = a.y + (length > 0 ? (b.y - a.y) * t / length : 0);
        if (x > box.left && x < box.right && y > box.bottom && y < box.top)
            return true;
    }
    return false;
}
} // namespace

TEST(CGraphLayoutTest, EveryTextLineAndPointStaysInsideItsPanelAtAnySize)
{
    for (const bool player : {false, true})
    {
        SCOPED_TRACE(player ? "with the player's panel" : "red and green");
        const CLearningGraph graph = learningGraph(player);
        const struct
        {
            double dWidth, dHeight;
            bool bPlots;
        } sizes[] = {{388, 245, true}, {200, 180, true}, {120, 60, false}, {30, 20, false}, {0, 0, false}};
        for (const auto& size : sizes)
        {
            SCOPED_TRACE(std::to_string(size.dWidth) + " x " + std::to_string(size.dHeight));
            const SRect box(404, 578, 404 + size.dWidth, 578 - size.dHeight);
            CGraphLayout layout;
            layout.layout(graph, box, kFont);
            for (const CGraphLayout::SPanel& panel : layout.panels())
            {
                EXPECT_TRUE(inside(panel.box, box));
                EXPECT_EQ(panel.plot.right > panel.plot.left, size.bPlots);
                for (const CGraphLayout::SText& text : panel.vTexts)
                    EXPECT_TRUE(inside(textBox(text), panel.box)) << text.sText;
                for (const CGraphLayout::SLine& line : panel.vLines)
                    EXPECT_TRUE(inside(line.from, panel.box) && inside(line.to, panel.box));
                for (const CGraphLayout::SCurve& curve : panel.vCurves)
                    for (const SVector2D& point : curve.vPoints)
                        ASSERT_TRUE(inside(point, panel.plot));
            }
        }
    }
}

// A panel too narrow for its title takes the short one, whole, before any title is shortened
// with "...".
TEST(CGraphLayoutTest, GraphTitlesCutOnAPhoneAreMended)
{
    const CLearningGraph graph = learningGraph();
    for (const double width : {388.0, 200.0})
    {
        CGraphLayout layout;
        layout.layout(graph, SRect(0, 400, width, 0), kFont);
        ASSERT_EQ(layout.panels().size(), 2u);
        const std::string red = layout.panels()[0].vTexts.at(0).sText;
        EXPECT_EQ(red, width > 300 ? graph.panel(CLearningGraph::Red).title()
                                   : graph.panel(CLearningGraph::Red).shortTitle())
            << width;
    }
}

// The player's panel comes third, below green's, once a run tells the player's side and the
// box has room for three panels with a legend each: its legend names both counts and random
// brains, and the game's counts say their ratios. In less room the graph keeps its two.
TEST(CGraphLayoutTest, ThePlayersPanelIsLaidOutBelowTheOthersWhenARunTellsIt)
{
    CGraphLayout layout;
    layout.layout(learningGraph(true), SRect(404, 578, 792, 333), kFont);
    EXPECT_EQ(layout.panels().size(), 2u);
    layout.layout(learningGraph(true), SRect(404, 578, 792, 150), kFont);
    ASSERT_EQ(layout.panels().size(), 3u);
    EXPECT_GT(layout.panels()[1].box.bottom, layout.panels()[2].box.top);
    std::vector<std::string> texts;
    for (const CGraphLayout::SText& text : layout.panels()[2].vTexts)
        texts.push_back(text.sText);
    for (const char* wanted : {"red hits on the gun", "the gun's kills", "random brains"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), wanted), texts.end()) << wanted;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "random brains"), 1) << "random brains' two curves, one entry";
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find(" random brains") != std::string::npos; }),
              2)
        << "a ratio beside each of the game's counts";
}

TEST(CGraphLayoutTest, PanelsNameThemselvesTheirUnitsAndRandomBrainsAndNoteTheRatio)
{
    CGraphLayout layout;
    layout.layout(learningGraph(), SRect(404, 578, 792, 333), kFont);
    ASSERT_EQ(layout.panels().size(), 2u);
    EXPECT_GT(layout.panels()[0].box.bottom, layout.panels()[1].box.top) << "red above green, apart";
    for (const CGraphLayout::SPanel& panel : layout.panels())
    {
        std::vector<std::string> texts;
        for (const CGraphLayout::SText& text : panel.vTexts)
            texts.push_back(text.sText);
        const auto has = [&texts](const std::string& wanted) {
            return std::find(texts.begin(), texts.end(), wanted) != texts.end();
        };
        EXPECT_TRUE(has("15 min")) << "the last x label carries the unit";
        EXPECT_TRUE(has("random brains")) << "the level's legend";
        EXPECT_TRUE(has("mean of the last minute's dying"));
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [](const std::string& t) { return t.rfind("\xD7", 0) == 0 && t.find(" random brains") != std::string::npos; }))
            << "a ratio beside the curve";
    }
    // Red's few high scores would flatten the rest: its axis is logarithmic, green's linear.
    const CFitnessGraph::SScale red = learningGraph().panel(CLearningGraph::Red).yScale();
    EXPECT_TRUE(red.bLog);
    EXPECT_EQ(red.dLow, 1);
    EXPECT_EQ(red.dHigh, 100) << "the other run's rolling mean reaches 17";
    EXPECT_DOUBLE_EQ(red.share(10), 0.5);
    EXPECT_EQ(red.share(0), 0.0);
    EXPECT_FALSE(learningGraph().panel(CLearningGraph::Green).yScale().bLog);
}

// A green curve that falls steeply in its last seconds (a crowd of short lives): the ratio was
// written above its last point, shifted left to stay in the plot, right over the fall.
TEST(CGraphLayoutTest, RatioNoteCoveredByItsCurveIsMended)
{
    CLearningGraph graph;
    const int game = graph.addRun("", 0xFF5050, 0x50FF70, true);
    const int random = graph.addBaseline();
    for (int period = 1; period <= 900; ++period)
    {
        const bool crowd = period > 880;
        graph.addPeriod(game, period / 60.0, {3, 5, 50}, {crowd ? 100000 : 5, crowd ? 1 : 20 + period / 10.0, 500});
        graph.addPeriod(random, period / 60.0, {3, 2, 9}, {5, 18, 40});
    }
    for (const SRect& box : {SRect(404, 578, 792, 333), SRect(0, 240, 320, 0), SRect(0, 1000, 1500, 0)})
    {
        CGraphLayout layout;
        layout.layout(graph, box, kFont);
        int notes = 0;
        for (const CGraphLayout::SPanel& panel : layout.panels())
            for (const CGraphLayout::SText& text : panel.vTexts)
            {
                if (text.iKind != GRAPH_NOTE)
                    continue;
                ++notes;
                const SRect note = textBox(text);
                for (const CGraphLayout::SCurve& curve : panel.vCurves)
                    for (size_t i = 1; i < curve.vPoints.size(); ++i)
                        ASSERT_FALSE(passesThrough(curve.vPoints[i - 1], curve.vPoints[i], note)) << text.sText;
                for (const CGraphLayout::SLine& line : panel.vLines)
                    ASSERT_FALSE(line.iKind == GRAPH_CURVE && passesThrough(line.from, line.to, note)) << text.sText;
            }
        EXPECT_EQ(notes, 2) << "both panels say their ratio";
    }
}
