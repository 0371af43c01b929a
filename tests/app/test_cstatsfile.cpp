#include "app/cstatsfile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/scratchfile.h"
#include "support/scratchfolder.h"

namespace
{
void putFile(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}

bool exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::string warning(const std::string& action, const std::string& name, const std::string& reason)
{
    return "Warning. \nUnable to " + action + " " + name + " to save the statistics.\n" + reason +
           "\nStatistics will not be saved for this run\n\n\n";
}

// A file-size limit for this process while it lives, with SIGXFSZ ignored so that a write
// past the limit fails instead of ending the test.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit small = m_previous;
        small.rlim_cur = bytes;
        m_bSet = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~CFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;
    bool isSet() const { return m_bSet; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_bSet = false;
};

class CStatsFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isReady()); }
    std::string path(const std::string& name) const { return m_folder / name; }

    CScratchFolder m_folder;
    std::ostringstream m_log;
    CStatsFile m_file{m_log};
};

TEST_F(CStatsFileTest, LinesAndTheClosingTotalAreWrittenAndSaidDone)
{
    ASSERT_TRUE(m_file.create(path("stats.txt")));
    EXPECT_TRUE(m_file.saveLine(0.5, 3, 1234.5, 7));
    EXPECT_TRUE(m_file.saveLine(1, 0, 1e7, 0.125));
    EXPECT_TRUE(m_file.close(12));
    EXPECT_FALSE(m_file.isOpen());
    EXPECT_EQ(readWholeFile(path("stats.txt")),
              "0.5\t3\t1234.5\t7\n1\t0\t1e+07\t0.125\n\n\n\n\nOverall number of dead:12\n");
    EXPECT_EQ(m_log.str(), "Statistics go to " + path("stats.txt") +
                               "\nSaving game stats..done.\nSaving game stats..done.\n");
}

TEST_F(CStatsFileTest, SecondRunInTheSameMinuteDestroysTheFirstIsMended)
{
    putFile(path("stats.txt"), "run 1");
    putFile(path("stats_2.txt"), "run 2");
    ASSERT_TRUE(m_file.create(path("stats.txt")));
    EXPECT_EQ(m_file.name(), path("stats_3.txt"));
    EXPECT_EQ(readWholeFile(path("stats.txt")), "run 1");
    EXPECT_EQ(readWholeFile(path("stats_2.txt")), "run 2");
}

TEST_F(CStatsFileTest, DanglingLinkAtTheStatisticsNameCreatesItsTargetIsMended)
{
    ASSERT_EQ(symlink("elsewhere.txt", path("stats.txt").c_str()), 0);
    putFile(path("victim.txt"), "not the statistics");
    ASSERT_EQ(symlink("victim.txt", path("stats_2.txt").c_str()), 0);
    ASSERT_TRUE(m_file.create(path("stats.txt")));
    ASSERT_TRUE(m_file.saveLine(0.5, 1, 2, 3));
    EXPECT_EQ(m_file.name(), path("stats_3.txt"));
    EXPECT_FALSE(exists(path("elsewhere.txt")));
    EXPECT_EQ(readWholeFile(path("victim.txt")), "not the statistics");
    EXPECT_EQ(readWholeFile(path("stats_3.txt")), "0.5\t1\t2\t3\n");
}

TEST_F(CStatsFileTest, AllStatisticsNamesTakenReusesTheLastIsMended)
{
    putFile(path("stats.txt"), "run 1");
    for (int n = 2; n <= CStatsFile::kMaxRunsPerName; ++n)
        putFile(path("stats_" + std::to_string(n) + ".txt"), "run " + std::to_string(n));
    EXPECT_FALSE(m_file.create(path("stats.txt")));
    EXPECT_FALSE(m_file.isOpen());
    EXPECT_EQ(m_log.str(), warning("open", path("stats.txt"),
                                   "It and every name up to " + path("stats_1000.txt") + " are taken"));
    EXPECT_EQ(readWholeFile(path("stats_1000.txt")), "run 1000");
    EXPECT_FALSE(exists(path("stats_1001.txt")));
}

TEST_F(CStatsFileTest, NoStatisticsFileReportedAsDoneEachPeriodIsMended)
{
    EXPECT_FALSE(m_file.create(path("no/such/folder/stats.txt")));
    const std::string warned = warning("open", path("no/such/folder/stats.txt"), "No such file or directory");
    EXPECT_EQ(m_log.str(), warned);
    EXPECT_FALSE(m_file.saveLine(0.5, 1, 2, 3));
    EXPECT_FALSE(m_file.close(4));
    EXPECT_EQ(m_log.str(), warned); // nothing more: the run was told once
}

TEST_F(CStatsFileTest, FailedStatisticsWriteReportedAsDoneIsMended)
{
    ASSERT_TRUE(m_file.create(path("stats.txt")));
    int saved = 0;
    int tries = 0;
    {
        CFileSizeLimit limit(100); // the limit falls inside a line: "<minutes>\t7\t123.25\t-1\n"
        ASSERT_TRUE(limit.isSet());
        while (tries < 50 && m_file.saveLine(0.25 * ++tries, 7, 123.25, -1))
            ++saved;
        m_file.saveLine(99, 7, 123.25, -1);
        m_file.close(42);
    }
    const std::string log = m_log.str();
    const std::string contents = readWholeFile(path("stats.txt"));
    ASSERT_GT(saved, 0);
    ASSERT_LT(saved, 50);
    EXPECT_EQ(count(log, "Saving game stats..done.\n"), saved);
    EXPECT_EQ(count(log, "\n"), saved + 1 + 1 + 6); // created, done lines, failed, warning
    EXPECT_EQ(count(contents, "\n"), saved);
    EXPECT_LE(contents.size(), 100u);
    EXPECT_EQ(contents.back(), '\n'); // cut back to the last whole line
    const std::string end = "Saving game stats..failed.\n" +
                            warning("write", path("stats.txt"), "File too large; the lines saved before are kept");
    ASSERT_GE(log.size(), end.size());
    EXPECT_EQ(log.substr(log.size() - end.size()), end); // once, and nothing after it
}
} // namespace
