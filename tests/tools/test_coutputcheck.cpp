#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "common/coutputcheck.h"
#include "support/asnobody.h"
#include "support/devicenode.h"
#include "support/scratchfolder.h"

namespace
{
using Sentences = std::vector<std::string>;

class COutputCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isReady());
        std::ofstream(m_folder / "params.ini") << "Window_Width 800\n";
    }

    CScratchFolder m_folder;
    COutputCheck m_check;
};
} // namespace

TEST_F(COutputCheckTest, TwoOutputsOfTheSameNameLoseTheStatisticsIsMended)
{
    const std::string out = m_folder / "out";
    ASSERT_EQ(mkdir((m_folder / "sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink("out", (m_folder / "link").c_str()), 0);
    m_check.addOutput("--stats", out);
    m_check.addOutput("--plot", out);
    m_check.addOutput("--save-green", m_folder / "sub/../out");
    m_check.addOutput("--save-red", m_folder / "link");
    const Sentences clashes = m_check.clashes();
    ASSERT_EQ(clashes.size(), 3u); // each later output against the first of its name
    EXPECT_EQ(clashes[0], "--stats " + out + " and --plot " + out +
                              " are the same file: each output needs a file of its own");
    EXPECT_EQ(clashes[2], "--stats " + out + " and --save-red " + (m_folder / "link") +
                              " are the same file: each output needs a file of its own");
    EXPECT_EQ(m_check.report(), 2);
}

TEST_F(COutputCheckTest, AnOutputThatIsAnInputOverwritesItIsMended)
{
    const std::string params = m_folder / "params.ini";
    ASSERT_EQ(symlink(params.c_str(), (m_folder / "link").c_str()), 0);
    m_check.addInput("--params", params);
    m_check.addInput("--load-green", m_folder / "pool.txt"); // not there yet: compared by name in its folder
    m_check.addOutput("--stats", m_folder / "link");
    m_check.addOutput("--save-green", m_folder / "./pool.txt");
    EXPECT_EQ(m_check.clashes(),
              (Sentences{"--stats " + (m_folder / "link") + " and --params " + params +
                             " are the same file: an output must not overwrite an input",
                         "--save-green " + (m_folder / "./pool.txt") + " and --load-green " + (m_folder / "pool.txt") +
                             " are the same file: an output must not overwrite an input"}));
    EXPECT_EQ(m_check.report(), 2);
}

TEST_F(COutputCheckTest, AnOutputInAMissingFolderIsFoundOnlyAfterTheRunIsMended)
{
    m_check.addInput("--params", m_folder / "params.ini");
    m_check.addOutput("--stats", m_folder / "none/run.tsv");
    EXPECT_TRUE(m_check.clashes().empty());
    EXPECT_EQ(m_check.unwritable(), Sentences{"--stats " + (m_folder / "none/run.tsv") +
                                              " cannot be written: the folder " + (m_folder / "none") +
                                              " does not exist"});
    EXPECT_EQ(m_check.report(), 1);
}

TEST_F(COutputCheckTest, FoldersFifosAndDevicesAreRefusedAsOutputs)
{
    ASSERT_EQ(mkdir((m_folder / "folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((m_folder / "fifo").c_str(), 0644), 0);
    m_check.addOutput("--plot", m_folder / "folder");
    m_check.addOutput("--stats", m_folder / "fifo");
    Sentences expected = {"--plot " + (m_folder / "folder") + " cannot be written: " + (m_folder / "folder") +
                              " is a folder",
                          "--stats " + (m_folder / "fifo") + " cannot be written: " + (m_folder / "fifo") +
                              " is not a regular file"};
    if (makeDeviceNode(m_folder / "full", 7))
    {
        m_check.addOutput("--save-green", m_folder / "full");
        expected.push_back("--save-green " + (m_folder / "full") + " cannot be written: " + (m_folder / "full") +
                           " is not a regular file");
    }
    EXPECT_EQ(m_check.unwritable(), expected);
    EXPECT_EQ(m_check.report(), 1);
}

TEST_F(COutputCheckTest, DistinctWritableOutputsAndOptionsNotGivenPass)
{
    std::ofstream(m_folder / "old.tsv") << "an earlier run\n";
    m_check.addInput("--params", m_folder / "params.ini");
    m_check.addInput("--load-green", "");
    m_check.addOutput("--stats", m_folder / "old.tsv");
    m_check.addOutput("--plot", m_folder / "new.svg");
    m_check.addOutput("--save-red", "");
    EXPECT_TRUE(m_check.clashes().empty());
    EXPECT_TRUE(m_check.unwritable().empty());
    EXPECT_EQ(m_check.report(), 0);
}

// korvane-sweep --slurm replaced a file of the results folder's runs with status 0.
TEST_F(COutputCheckTest, AnOutputAmongAFoldersInputsOverwritesOneIsMended)
{
    const std::string runs = m_folder / "runs";
    ASSERT_EQ(mkdir(runs.c_str(), 0755), 0);
    ASSERT_EQ(symlink("runs/s1.json", (m_folder / "link").c_str()), 0);
    m_check.addInputFolder("the runs' folder", runs);
    m_check.addOutput("--slurm", m_folder / "link");
    m_check.addOutput("--plot", m_folder / "./runs/../runs/new.svg");
    m_check.addOutput("--stats", m_folder / "beside.tsv");
    EXPECT_EQ(m_check.clashes(),
              (Sentences{"--slurm " + (m_folder / "link") + " is in the runs' folder " + runs +
                             ", whose files are inputs: an output must not overwrite one",
                         "--plot " + (m_folder / "./runs/../runs/new.svg") + " is in the runs' folder " + runs +
                             ", whose files are inputs: an output must not overwrite one"}));
}

// A read-only output passed the check, and the run failed at its end with "Permission
// denied", its output lost. It is refused before any work, as a save would refuse it.
TEST_F(COutputCheckTest, ReadOnlyOutputRefusedOnlyAfterTheRunIsMended)
{
    ASSERT_EQ(chmod(m_folder.path().c_str(), 0777), 0);
    const std::string out = m_folder / "summary.json";
    std::ofstream(out) << "{}";
    ASSERT_EQ(chmod(out.c_str(), 0444), 0);
    EXPECT_TRUE(asNobody([&] {
        COutputCheck check;
        check.addOutput("--summary", out);
        const Sentences problems = check.unwritable();
        return problems == Sentences{"--summary " + out + " cannot be written: cannot write " + out +
                                     ": Permission denied"} &&
               check.report() == 1;
    }));
}
