#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <nlohmann/json.hpp>

#include "sweep/csweepchart.h"
#include "sweep/csweepreport.h"

namespace
{
using Json = nlohmann::json;

// A summary as korvane-sim writes one; each population's last-third fitness as given
// (null for none), its other figures made up from it. Of the 240 aliens struck down, 40 %
// ran into another, 20 % met a gun bullet, 10 % a red bullet and 30 % went over the edge;
// red bullets hit the gun 30 times in the 100 s of a run with evolution, 15 in one without.
Json summaryJson(unsigned seed, bool evolution, int mutationRate, const Json& redLast, const Json& greenLast)
{
    auto population = [](const Json& last, double aliveShare, const Json& struck) {
        return Json{{"deaths", 120},
                    {"mean_fitness_of_deaths", {10.5, 11.0, last}},
                    {"alive_share", aliveShare},
                    {"mean_lifetime_steps", 90.0},
                    {"pool", {{"best", 300.0}, {"mean", 200.0}, {"worst", 100.0}}},
                    {"struck_down_by", struck}};
    };
    const Json redStruck = {{"collision", 24}, {"gun_bullet", 12}, {"red_bullet", 12}, {"edge", 72}};
    const Json greenStruck = {{"collision", 72}, {"gun_bullet", 36}, {"red_bullet", 12}, {"edge", 0}};
    return Json{{"seed", seed},
                {"steps", 3000},
                {"evolution", evolution},
                {"params", {{"Game_FramesPerSecond", 30}, {"Alien_MutationRate", mutationRate}}},
                {"red_bullets_on_gun", evolution ? 30 : 15},
                {"gun_shots", 300},
                {"gun_kills", evolution ? 60 : 40},
                {"red_on_red", 12},
                {"red_on_green", 12},
                {"populations",
                 {{"red", population(redLast, 0.5, redStruck)}, {"green", population(greenLast, 0.75, greenStruck)}}}};
}

class CSweepReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(m_sweep.parse("steps 3000\nseeds 1-3\nAlien_MutationRate 5 10\n", "s.sweep", error)) << error;
        m_pJobs = std::make_unique<CJobList>(m_sweep);
        m_vSummaries.resize(m_pJobs->jobs().size());
    }

    // The summary of the job, as parsed from its JSON.
    void add(size_t job, const Json& summary)
    {
        auto parsed = std::make_unique<CRunResult>();
        std::string error;
        ASSERT_TRUE(parsed->parse(summary.dump(), error)) << error;
        m_vSummaries[job] = parsed.get();
        m_vOwned.push_back(std::move(parsed));
    }

    CSweepFile m_sweep;
    std::unique_ptr<CJobList> m_pJobs;
    std::vector<const CRunResult*> m_vSummaries;
    std::vector<std::unique_ptr<CRunResult>> m_vOwned;
};
} // namespace

TEST_F(CSweepReportTest, ScoresPairTheRunsOfASeedAndNameWhatIsLeftOut)
{
    // Setting 1: green 2, 4 and 8 times the control's last-third fitness; red 3 times on
    // two seeds, and no red deaths in the last third of seed 3's control run.
    const double greenRatio[3] = {2, 4, 8};
    for (unsigned k = 0; k < 3; ++k)
    {
        add(2 * k, summaryJson(k + 1, true, 5, 30.0, 10.0 * greenRatio[k]));
        add(2 * k + 1, summaryJson(k + 1, false, 5, k == 2 ? Json(nullptr) : Json(10.0), 10.0));
    }
    // Setting 2: seed 1's runs only, and seed 2's control without its evolution run.
    add(6, summaryJson(1, true, 10, 20.0, 20.0));
    add(7, summaryJson(1, false, 10, 10.0, 10.0));
    add(9, summaryJson(2, false, 10, 10.0, 10.0));

    const CSweepReport report(m_sweep, "A title.", m_pJobs->jobs(), m_vSummaries);
    const std::string table = report.markdown();
    EXPECT_NE(table.find("| setting | Alien_MutationRate | green learning score | red learning score | green alive, "
                         "evolution / control | red alive, evolution / control | green lifetime (s), evolution / "
                         "control | red lifetime (s), evolution / control | struck down with evolution: gun bullet / "
                         "red bullet / collision / edge | red bullets on the gun a minute, evolution / control | the "
                         "gun's kills a minute, evolution / control | seeds |\n|---|---|---|---|---|---|---|---|---|---|"
                         "---|---|\n"),
              std::string::npos)
        << table;
    // Green: logs ln2 · (1, 2, 3), 4 · exp(±4.3027 · ln2 / √3) = 0.71 and 22.38. Red: 3 and 3.
    // The gun's kills: 60 and 40 in 100 s.
    EXPECT_NE(table.find("| s1 | 5 | 4.00 (0.71–22.38) | 3.00 (3.00–3.00) | 75 % / 75 % | 50 % / 50 % | 3.00 / 3.00 | "
                         "3.00 / 3.00 | 20 / 10 / 40 / 30 % | 18.0 / 9.0 | 36.0 / 24.0 | 3 |\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("| s2 | 10 | 2.00 (no interval from one seed) | 2.00 (no interval from one seed) | 75 % / 75 % "
                         "| 50 % / 50 % | 3.00 / 3.00 | 3.00 / 3.00 | 20 / 10 / 40 / 30 % | 18.0 / 9.0 | 36.0 / 24.0 | 1 |\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("- s1, seed 3, red: left out: no deaths in the last third of the run with --control\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("- 3 runs have not finished: s2-seed2-evolution, s2-seed3-evolution, s2-seed3-control\n"),
              std::string::npos)
        << table;
    ASSERT_EQ(report.settings().size(), 2u);
    EXPECT_EQ(report.settings()[0].asPopulations[CRunResult::Red].sScore.iCount, 2);

    const std::string tsv = report.tsv();
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 1 + 9) << "a header and a row a finished run";
    EXPECT_EQ(tsv.substr(0, tsv.find('\t', tsv.find("red_deaths") + 1)), "Alien_MutationRate\tseed\tevolution\tsteps\tred_deaths");
    EXPECT_NE(tsv.find("\n5\t3\t0\t3000\t120\t10.5\t11\tNA\t0.5\t90\t300\t200\t100\t120\t10.5\t11\t10\t0.75\t90\t300\t200\t100"
                       "\t12\t12\t24\t72\t36\t12\t72\t0\t15\t300\t40\t12\t12\n"),
              std::string::npos)
        << tsv;

    const std::string svg = CSweepChart::render(report);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(">s2: 10</text>"), std::string::npos) << "the settings are named as in the table";
    EXPECT_NE(svg.find("1: no learning"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos) << "a missing figure is left out, not drawn at NaN";
}

// The report once headed its shares "gun bullet / red bullet / collision / edge" but printed
// them in the tally's order (collision first). Each cause has its own share here; whatever
// the order, each heading must stand over its own cause's number.
TEST_F(CSweepReportTest, CauseHeadingsOverAnotherCausesNumberIsMended)
{
    add(0, summaryJson(1, true, 5, 30.0, 20.0));
    add(1, summaryJson(1, false, 5, 10.0, 10.0));
    const std::string table = CSweepReport(m_sweep, "A title.", m_pJobs->jobs(), m_vSummaries).markdown();
    auto cells = [&table](const std::string& lineStart) {
        const size_t at = table.find(lineStart);
        std::vector<std::string> list;
        std::istringstream line(table.substr(at, table.find('\n', at) - at));
        for (std::string cell; std::getline(line, cell, '|');)
            list.push_back(cell);
        return list;
    };
    auto split = [](std::string text) {
        std::vector<std::string> parts;
        for (size_t slash; (slash = text.find(" / ")) != std::string::npos; text.erase(0, slash + 3))
            parts.push_back(text.substr(0, slash));
        parts.push_back(text);
        return parts;
    };
    const std::vector<std::string> heads = cells("| setting"), row = cells("| s1 ");
    const auto column = std::find_if(heads.begin(), heads.end(),
                                     [](const std::string& h) { return h.find("struck down") != std::string::npos; });
    ASSERT_NE(column, heads.end()) << table;
    const std::vector<std::string> names = split(column->substr(column->find(':') + 2, column->size() - 1 - column->find(':') - 2));
    const std::vector<std::string> shares = split(row.at(column - heads.begin()));
    ASSERT_EQ(names.size(), 4u) << table;
    ASSERT_EQ(shares.size(), 4u) << table;
    // Of the 240 struck down: 96 by collision, 48 by the gun, 24 by red bullets, 72 over the edge.
    const std::map<std::string, int> expected{{"collision", 40}, {"gun bullet", 20}, {"red bullet", 10}, {"edge", 30}};
    for (size_t k = 0; k < names.size(); ++k)
        EXPECT_EQ(std::stoi(shares[k]), expected.at(names[k])) << names[k] << " in " << table;
}

// Fitness within its bounds can still make a score beyond a double: the picture drew it at
// cy="-inf" and every other mark at NaN.
TEST_F(CSweepReportTest, AScoreBeyondADoubleDrawnAtInfinityIsMended)
{
    add(0, summaryJson(1, true, 5, 1e300, 1e300));
    add(1, summaryJson(1, false, 5, 1e-300, 1e-300));
    add(6, summaryJson(1, true, 10, 20.0, 20.0));
    add(7, summaryJson(1, false, 10, 10.0, 10.0));
    const CSweepReport report(m_sweep, "A title.", m_pJobs->jobs(), m_vSummaries);
    ASSERT_TRUE(std::isinf(report.settings()[0].asPopulations[CRunResult::Green].sScore.dValue));
    const std::string svg = CSweepChart::render(report);
    EXPECT_EQ(svg.find("inf"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("nan"), std::string::npos) << svg;
    EXPECT_NE(svg.find("cy="), std::string::npos) << "the other setting's scores are drawn";
}

// The same figures printed "inf (inf–inf)" in report.md while the picture was clean: the table
// now takes its ratios from differences of logarithms as the picture does.
TEST_F(CSweepReportTest, AScoreBeyondADoublePrintedAsInfIsMended)
{
    add(0, summaryJson(1, true, 5, 1e300, 1e300));
    add(1, summaryJson(1, false, 5, 5e-324, 5e-324));
    add(6, summaryJson(1, true, 10, 20.0, 20.0));
    add(7, summaryJson(1, false, 10, 10.0, 10.0));
    const std::string table = CSweepReport(m_sweep, "A title.", m_pJobs->jobs(), m_vSummaries).markdown();
    EXPECT_EQ(table.find("inf"), std::string::npos) << table;
    EXPECT_NE(table.find("| 2.00 (no interval from one seed) |"), std::string::npos) << table;
    // 1e300 / 5e-324: 2.02e+623.
    EXPECT_NE(table.find("2.02e+623 (no interval from one seed)"), std::string::npos) << table;
}

TEST(CRunResultTest, AMalformedSummaryIsRefusedWithTheCause)
{
    Json good = summaryJson(4, true, 5, 30.0, 10.0);
    CRunResult summary;
    std::string error;
    ASSERT_TRUE(summary.parse(good.dump(), error)) << error;
    EXPECT_EQ(summary.seed(), 4u);
    EXPECT_EQ(summary.population(CRunResult::Green).adFitnessOfDeaths[2], 10.0);

    EXPECT_FALSE(summary.parse(good.dump().substr(0, 100), error));
    EXPECT_EQ(error.rfind("not a summary: [json.exception.parse_error.101] parse error at line 1, column 101", 0), 0u)
        << error;
    const struct
    {
        Json::json_pointer pPath;
        Json value;
        std::string sError;
    } cases[] = {
        {Json::json_pointer("/seed"), -1, "seed is not a whole number from 0 to 4294967295"},
        {Json::json_pointer("/seed"), 1.5, "seed is not a whole number from 0 to 4294967295"},
        {Json::json_pointer("/steps"), "3000", "steps is not a whole number from 0 to 9223372036854775807"},
        {Json::json_pointer("/evolution"), 1, "evolution is not true or false"},
        {Json::json_pointer("/params"), Json::array(), "params.Game_FramesPerSecond is missing"},
        {Json::json_pointer("/populations/green"), Json::array(), "populations.green.mean_fitness_of_deaths is missing"},
        {Json::json_pointer("/populations/red/mean_fitness_of_deaths"), {1, 2},
         "populations.red.mean_fitness_of_deaths is not an array of three"},
        {Json::json_pointer("/populations/red/mean_fitness_of_deaths/1"), "x",
         "populations.red.mean_fitness_of_deaths[1] is neither null nor a number from 0 to 1e+300"},
        {Json::json_pointer("/populations/green/pool/worst"), "1",
         "populations.green.pool.worst is neither null nor a number from -1e+300 to 1e+300"},
        {Json::json_pointer("/populations/red/deaths"), nullptr,
         "populations.red.deaths is not a whole number from 0 to 9223372036854775807"},
        {Json::json_pointer("/populations/green/struck_down_by/edge"), "0",
         "populations.green.struck_down_by.edge is not a whole number from 0 to 9223372036854775807"},
        {Json::json_pointer("/red_bullets_on_gun"), nullptr,
         "red_bullets_on_gun is not a whole number from 0 to 9223372036854775807"},
    };
    for (const auto& c : cases)
    {
        Json broken = good;
        broken[c.pPath] = c.value;
        EXPECT_FALSE(summary.parse(broken.dump(), error)) << c.sError;
        EXPECT_EQ(error, c.sError);
    }
    Json without = good;
    without["populations"]["red"]["pool"].erase("best");
    EXPECT_FALSE(summary.parse(without.dump(), error));
    EXPECT_EQ(error, "populations.red.pool.best is missing");
}

// --collect took a score of inf, deaths of -1e308 and an alive share drawn at cy="-inf".
TEST(CRunResultTest, FiguresBeyondTheirWritersBoundsAreTakenIsMended)
{
    const Json good = summaryJson(4, true, 5, 30.0, 10.0);
    const std::string whole = " is not a whole number from 0 to 9223372036854775807";
    const struct
    {
        const char* szPath;
        Json value;
        std::string sError; // "" for a figure within bounds
    } cases[] = {
        {"/populations/red/deaths", -1e308, "populations.red.deaths" + whole},
        {"/populations/red/deaths", 1.5, "populations.red.deaths" + whole},
        {"/populations/green/struck_down_by/gun_bullet", -1, "populations.green.struck_down_by.gun_bullet" + whole},
        {"/red_bullets_on_gun", 2.5, "red_bullets_on_gun" + whole},
        {"/params/Game_FramesPerSecond", 0.5, "params.Game_FramesPerSecond is not a whole number from 1 to 2147483647"},
        {"/populations/green/alive_share", 1.5, "populations.green.alive_share is neither null nor a number from 0 to 1"},
        {"/populations/green/alive_share", -0.1, "populations.green.alive_share is neither null nor a number from 0 to 1"},
        {"/populations/green/mean_fitness_of_deaths/2", 1.7e308,
         "populations.green.mean_fitness_of_deaths[2] is neither null nor a number from 0 to 1e+300"},
        {"/populations/red/mean_fitness_of_deaths/0", -1,
         "populations.red.mean_fitness_of_deaths[0] is neither null nor a number from 0 to 1e+300"},
        {"/populations/red/mean_lifetime_steps", 3001.5,
         "populations.red.mean_lifetime_steps is neither null nor a number from 0 to 3001"},
        {"/populations/red/pool/best", -2e300, "populations.red.pool.best is neither null nor a number from -1e+300 to "
                                               "1e+300"},
        {"/populations/green/alive_share", 1, ""},
        {"/populations/red/mean_lifetime_steps", 3001, ""},
        {"/populations/green/mean_fitness_of_deaths/2", 1e300, ""},
        {"/populations/red/pool/worst", -1e300, ""},
        {"/populations/red/deaths", 0, ""},
    };
    CRunResult summary;
    std::string error;
    for (const auto& c : cases)
    {
        Json changed = good;
        changed[Json::json_pointer(c.szPath)] = c.value;
        EXPECT_EQ(summary.parse(changed.dump(), error), c.sError.empty()) << c.szPath << " " << c.value;
        EXPECT_EQ(error, c.sError) << c.szPath << " " << c.value;
    }
}

// A figure too large for a double ended korvane-sweep --collect with an uncaught exception.
TEST(CRunResultTest, AFigureBeyondADoubleEndsTheProgramIsMended)
{
    std::string text = summaryJson(4, true, 5, 30.0, 10.0).dump();
    text.replace(text.find("\"alive_share\":0.5"), 17, "\"alive_share\":1e400");
    CRunResult summary;
    std::string error;
    EXPECT_FALSE(summary.parse(text, error));
    EXPECT_EQ(error, "not a summary: [json.exception.out_of_range.406] number overflow parsing '1e400'");
}

TEST(CRunResultTest, ASummaryOfAnotherRunIsNotTaken)
{
    CRunResult summary;
    std::string error;
    ASSERT_TRUE(summary.parse(summaryJson(4, true, 5, 30.0, 10.0).dump(), error)) << error;
    EXPECT_TRUE(summary.belongsTo(4, 3000, true, {"Alien_MutationRate=5.0"}, error)) << error;
    EXPECT_FALSE(summary.belongsTo(4, 300000, true, {}, error)) << "a run stopped half-way";
    EXPECT_EQ(error, "it is the summary of 3000 steps with seed 4, with evolution, not of 300000 steps with seed 4, "
                     "with evolution");
    EXPECT_FALSE(summary.belongsTo(4, 3000, false, {}, error));
    EXPECT_FALSE(summary.belongsTo(4, 3000, true, {"Alien_MutationRate=10"}, error));
    EXPECT_EQ(error, "its Alien_MutationRate is 5, not 10");
    EXPECT_FALSE(summary.belongsTo(4, 3000, true, {"Alien_MaxSpeed=1"}, error));
    EXPECT_EQ(error, "its Alien_MaxSpeed is not given, not 1");
}
