#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "support/scratchfolder.h"
#include "sweep/cjoblist.h"
#include "sweep/csweepfile.h"

namespace
{
// The file's error, or "" when it is read.
std::string errorOf(const std::string& text)
{
    CSweepFile sweep;
    std::string error;
    return sweep.parse(text, "s.sweep", error) ? "" : error;
}

const std::string kHead = "steps 3000\nseeds 1-3\n";
} // namespace

TEST(CSweepFileTest, ReadsStepsSeedsAndMembersWithCommentsAndCrLf)
{
    CSweepFile sweep;
    std::string error;
    ASSERT_TRUE(sweep.parse("# a sweep\r\n\n  steps\t300000   # each run\r\nseeds 4 1-3 10-11\n"
                            "Alien_MutationRate 5 10 20\nAlien_MaxPerturbation 0.3 1e-1\n",
                            "s.sweep", error))
        << error;
    EXPECT_EQ(sweep.steps(), 300000);
    EXPECT_EQ(sweep.seeds(), (std::vector<unsigned>{4, 1, 2, 3, 10, 11}));
    ASSERT_EQ(sweep.members().size(), 2u);
    EXPECT_EQ(sweep.members()[0].sName, "Alien_MutationRate");
    EXPECT_EQ(sweep.members()[0].vValues, (std::vector<std::string>{"5", "10", "20"}));
    EXPECT_EQ(sweep.members()[1].iLine, 6);
    EXPECT_EQ(sweep.members()[1].vValues, (std::vector<std::string>{"0.3", "1e-1"}));
}

TEST(CSweepFileTest, SettingsAreEveryCombinationTheLastMemberTurningFastest)
{
    CSweepFile sweep;
    std::string error;
    ASSERT_TRUE(sweep.parse(kHead + "A 1 2\nB 7 8 9\n", "s.sweep", error)) << error;
    const std::vector<CSweepFile::Setting> settings = sweep.settings();
    ASSERT_EQ(settings.size(), 6u);
    EXPECT_EQ(sweep.assignments(settings[0]), (std::vector<std::string>{"A=1", "B=7"}));
    EXPECT_EQ(sweep.assignments(settings[2]), (std::vector<std::string>{"A=1", "B=9"}));
    EXPECT_EQ(sweep.assignments(settings[3]), (std::vector<std::string>{"A=2", "B=7"}));
    EXPECT_EQ(sweep.assignments(settings[5]), (std::vector<std::string>{"A=2", "B=9"}));

    ASSERT_TRUE(sweep.parse(kHead, "s.sweep", error));
    ASSERT_EQ(sweep.settings().size(), 1u) << "no member: the parameter file as it is";
    EXPECT_TRUE(sweep.assignments(sweep.settings()[0]).empty());
}

TEST(CSweepFileTest, JobsRunEverySettingWithEverySeedWithAndWithoutEvolution)
{
    CSweepFile sweep;
    std::string error;
    ASSERT_TRUE(sweep.parse("steps 3000\nseeds 7 9\nAlien_MutationRate 5 10\n", "s.sweep", error)) << error;
    const CJobList jobs(sweep);
    ASSERT_EQ(jobs.jobs().size(), 8u);
    EXPECT_EQ(jobs.jobs()[3].sName, "s1-seed9-control");
    EXPECT_EQ(jobs.jobs()[4].sName, "s2-seed7-evolution");
    const std::string tsv = jobs.tsv();
    EXPECT_EQ(tsv.substr(0, tsv.find('\n', tsv.find('\n') + 1) + 1),
              "s1-seed7-evolution\t--seed\t7\t--steps\t3000\t--set\tAlien_MutationRate=5\n"
              "s1-seed7-control\t--seed\t7\t--steps\t3000\t--set\tAlien_MutationRate=5\t--control\n");
    EXPECT_EQ(CJobList::settingLabel(6, 12), "s07");
}

TEST(CSweepFileTest, BadLinesAreNamedWithTheFileTheLineAndTheCause)
{
    const struct
    {
        std::string sText;
        std::string sError;
    } cases[] = {
        {"seeds 1\n", "s.sweep: no 'steps' line: give the world steps of every run, e.g. 'steps 300000'"},
        {"steps 10\n", "s.sweep: no 'seeds' line: give the seeds every setting runs with, e.g. 'seeds 1-10'"},
        {"steps 0\nseeds 1\n", "s.sweep: line 1: 'steps' takes one whole number of at least 1, the world steps of "
                               "every run, e.g. 'steps 300000'"},
        {"steps 10 20\n", "s.sweep: line 1: 'steps' takes one whole number"},
        {"steps 1.5\n", "s.sweep: line 1: 'steps' takes one whole number"},
        {"steps 99999999999999999999\n", "s.sweep: line 1: 'steps' takes one whole number"},
        {kHead + "steps 5\n", "s.sweep: line 3: a second 'steps' line (the first is line 1)"},
        {kHead + "seeds 5\n", "s.sweep: line 3: a second 'seeds' line (the first is line 2)"},
        {"steps 5\nseeds\n", "s.sweep: line 2: 'seeds' needs at least one seed, e.g. 'seeds 1-10'"},
        {"steps 5\nseeds 3-1\n", "s.sweep: line 2: '3-1' is neither a seed (a whole number from 0 to 4294967295) "
                                 "nor a range of seeds such as 1-10"},
        {"steps 5\nseeds -1\n", "s.sweep: line 2: '-1' is neither a seed"},
        {"steps 5\nseeds 4294967296\n", "s.sweep: line 2: '4294967296' is neither a seed"},
        {"steps 5\nseeds 1-x\n", "s.sweep: line 2: '1-x' is neither a seed"},
        {"steps 5\nseeds 1-5 5\n", "s.sweep: line 2: seed 5 is listed twice"},
        {"steps 5\nseeds 0-4294967295\n", "s.sweep: line 2: more than 10000 seeds"},
        {kHead + "Alien_MutationRate\n", "s.sweep: line 3: Alien_MutationRate has no values to try"},
        {kHead + "A 1\n\nA 2\n", "s.sweep: line 5: A is swept already on line 3"},
        {kHead + "A 1 2 1\n", "s.sweep: line 3: A lists 1 twice"},
        {kHead + "A 1 <b>\n", "s.sweep: line 3: A: '<b>' is not a number"},
        {kHead + "Alien-Rate 1\n", "s.sweep: line 3: 'Alien-Rate' is neither 'steps', 'seeds' nor the name of a "
                                   "parameter"},
        {kHead + "9Lives 1\n", "s.sweep: line 3: '9Lives' is neither"},
        {kHead + "A=1\n", "s.sweep: line 3: 'A=1' is neither"},
        {kHead + std::string("A 1\0 2\n", 7), "s.sweep: line 3: holds a control character: this is not a sweep file"},
        {kHead + "\x1b[2J\n", "s.sweep: line 3: holds a control character"},
    };
    for (const auto& c : cases)
    {
        const std::string error = errorOf(c.sText);
        EXPECT_EQ(error.substr(0, c.sError.size()), c.sError) << "for:\n" << c.sText;
    }
}

// The parameter file took a byte-order mark, the sweep file refused it as a member name.
TEST(CSweepFileTest, ByteOrderMarkIsRefusedIsMended)
{
    CSweepFile sweep;
    std::string error;
    EXPECT_TRUE(sweep.parse("\xEF\xBB\xBFsteps 30\r\nseeds 1\r\n", "s.sweep", error)) << error;
    EXPECT_EQ(sweep.steps(), 30);
    EXPECT_EQ(errorOf(kHead + "\xEF\xBB\xBF" "A 1\n"),
              "s.sweep: line 3: '\\xEF\\xBB\\xBFA' is neither 'steps', 'seeds' nor the name of a parameter")
        << "a mark is taken at the start of the file alone";
}

// "5 05" and "-0 0" passed as different values, and the sweep ran each setting twice.
TEST(CSweepFileTest, ValuesThatAreOneNumberListedTwiceIsMended)
{
    const struct
    {
        std::string sValues;
        std::string sError; // "" for values that are all different
    } cases[] = {
        {"5 05", "s.sweep: line 3: A lists the same value twice: 5 and 05"},
        {"-0 0", "s.sweep: line 3: A lists the same value twice: -0 and 0"},
        {"0.5 5e-1", "s.sweep: line 3: A lists the same value twice: 0.5 and 5e-1"},
        {"1 +1.000", "s.sweep: line 3: A lists the same value twice: 1 and +1.000"},
        {"abc abc", "s.sweep: line 3: A lists abc twice"},
        {"1 1.0000001 abc Abc", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(kHead + "A " + c.sValues + "\n"), c.sError) << "for: " << c.sValues;
}

TEST(CSweepFileTest, TooManyRunsAreRefusedBeforeAnyIsListed)
{
    std::string values;
    for (int v = 0; v < CSweepFile::MaxValues; ++v)
        values += " " + std::to_string(v);
    // 1000 × 1000 × 1000 combinations, even past what a long long holds when multiplied out.
    std::string text = "steps 5\nseeds 1-2\n";
    for (int member = 0; member < 8; ++member)
        text += "M" + std::to_string(member) + values + "\n";
    EXPECT_EQ(errorOf(text), "s.sweep: the sweep makes more than 200000 runs (every combination of the values, with "
                             "every seed, with evolution and with --control)");
    EXPECT_EQ(errorOf("steps 5\nseeds 1-2\nA" + values + " 1000\n"), "s.sweep: line 3: A has more than 1000 values");
    // 50,000 settings × 2 seeds × 2 is the most.
    EXPECT_EQ(errorOf("steps 5\nseeds 1-2\nA" + values + "\nB 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 "
                      "22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43 44 45 46 47 48 49 50\n"),
              "");
}

TEST(CSweepFileTest, AFileThatCannotBeReadIsNamedWithTheReason)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    CSweepFile sweep;
    std::string error;
    EXPECT_FALSE(sweep.load(folder / "missing.sweep", error));
    EXPECT_EQ(error, folder / "missing.sweep" + ": No such file or directory");
    EXPECT_FALSE(sweep.load(folder.path(), error));
    EXPECT_EQ(error, folder.path() + ": is a folder");
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0644), 0);
    EXPECT_FALSE(sweep.load(folder / "fifo", error)) << "a FIFO is refused without waiting for a writer";
    EXPECT_EQ(error, folder / "fifo" + ": is not a regular file");
    std::ofstream(folder / "big.sweep") << std::string(CSweepFile::MaxFileBytes + 1, '#');
    EXPECT_FALSE(sweep.load(folder / "big.sweep", error));
    EXPECT_EQ(error, folder / "big.sweep" + ": is larger than 1048576 bytes");
    std::ofstream(folder / "cut.sweep") << "steps 10\nseeds 1-3\nAlien_MutationRate 5 1";
    EXPECT_TRUE(sweep.load(folder / "cut.sweep", error)) << "a last line without its end is still read: " << error;
}

// --collect named the missing Slurm tasks one by one, cut at 400 characters: a list sbatch
// could not be given. They are ranges now, whole.
TEST(CJobListTest, MissingSlurmTasksCutShortIsMended)
{
    EXPECT_EQ(CJobList::arrayRanges({7, 1, 2, 3, 9, 10, 11, 12, 2}), "1-3,7,9-12");
    EXPECT_EQ(CJobList::arrayRanges({5}), "5");
    EXPECT_EQ(CJobList::arrayRanges({}), "");
    std::vector<int> many;
    for (int task = 1; task <= 5000; ++task)
        if (task != 2500)
            many.push_back(task);
    EXPECT_EQ(CJobList::arrayRanges(many), "1-2499,2501-5000");
}
