#include "app/cchallenge.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/cbestscores.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"
#include "view/cgameoverreport.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;

// A world's tally, scripted: what happened before a challenge does not count in it.
TEST(CChallengeTest, RedHitsWearDownThreeLivesAndTheGunsKillsScore)
{
    CWorldTally tally;
    tally.addHitOnGun();
    tally.addDeath(kGreen, CAUSE_GUN_BULLET);
    CChallenge challenge;
    EXPECT_FALSE(challenge.observe(tally, 0)) << "no challenge runs in free play";
    challenge.start(tally, 1000);
    EXPECT_TRUE(challenge.isOn());
    EXPECT_EQ(challenge.livesLeft(), CChallenge::Lives);
    EXPECT_EQ(challenge.shieldLeft(), CChallenge::HitsPerLife);
    tally.addDeath(kGreen, CAUSE_GUN_BULLET);
    tally.addDeath(kRed, CAUSE_GUN_BULLET);
    tally.addDeath(kRed, CAUSE_RED_BULLET); // struck by a red alien: no points for the player
    for (int hit = 1; hit < CChallenge::Lives * CChallenge::HitsPerLife; ++hit)
    {
        tally.addHitOnGun();
        ASSERT_FALSE(challenge.observe(tally, 1000 + hit * 10.0)) << hit;
        EXPECT_EQ(challenge.livesLeft(), CChallenge::Lives - hit / CChallenge::HitsPerLife) << hit;
        EXPECT_EQ(challenge.shieldLeft(), CChallenge::HitsPerLife - hit % CChallenge::HitsPerLife) << hit;
    }
    EXPECT_EQ(challenge.score(), CChallenge::GreenPoints + CChallenge::RedPoints);
    tally.addHitOnGun();
    EXPECT_TRUE(challenge.observe(tally, 1500)) << "the last hit of the last life ends it";
    EXPECT_TRUE(challenge.isOver());
    EXPECT_FALSE(challenge.isOn());
    EXPECT_EQ(challenge.livesLeft(), 0);
    EXPECT_EQ(challenge.shieldLeft(), 0);
    EXPECT_EQ(challenge.survivedMs(), 500);
    tally.addDeath(kRed, CAUSE_GUN_BULLET);
    EXPECT_FALSE(challenge.observe(tally, 2000));
    EXPECT_EQ(challenge.score(), CChallenge::GreenPoints + CChallenge::RedPoints) << "its figures stay at the end";
    challenge.start(tally, 2000);
    EXPECT_EQ(challenge.score(), 0);
    EXPECT_EQ(challenge.livesLeft(), CChallenge::Lives);
    challenge.stop();
    EXPECT_FALSE(challenge.isOn() || challenge.isOver());
}

CBestScores::SEntry entry(long long score, const char* date = "2026-12-10")
{
    return {score, 61.5, 12.25, date};
}

// The best first, an equal score after the older ones, at most Kept; a file reads back the same.
TEST(CBestScoresTest, KeepsTheBestFirstAndReadsBackWhatItSaved)
{
    CBestScores best;
    EXPECT_EQ(best.add(entry(100)), 0);
    EXPECT_EQ(best.add(entry(300)), 0);
    EXPECT_EQ(best.add(entry(100, "2026-12-11")), 2) << "after the older equal score";
    for (long long score : {50, 40, 30})
        best.add(entry(score));
    ASSERT_EQ(best.entries().size(), CBestScores::Kept);
    EXPECT_EQ(best.add(entry(10)), -1) << "not among the best";
    EXPECT_EQ(best.entries().back().llScore, 40);
    EXPECT_EQ(best.entries()[2].sDate, "2026-12-11");
    CScratchFile file("best.txt", "");
    std::string error;
    ASSERT_TRUE(best.save(file.path(), error)) << error;
    CBestScores again;
    EXPECT_EQ(again.load(file.path()), "");
    EXPECT_EQ(again.text(), best.text());
    EXPECT_EQ(best.text().substr(0, best.text().find('\n')), "300 61.5 12.25 2026-12-10");
}

// Bad files: each read as far as its lines are whole and right, the reason given; a missing
// file is no best score yet.
TEST(CBestScoresTest, BadFilesAreReadAsFarAsTheyAreRightAndSayWhy)
{
    const struct
    {
        const char* szContents;
        const char* szProblem;
        size_t iEntries;
    } cases[] = {
        {"100 60 5 2026-12-10\n", "", 1},
        {"100 60 5 2026-12-10\n200 3 1 2026-12-1", "line 2 is cut short", 1},
        {"100 60 5 2026-12-10\n-5 60 5 2026-12-10\n", "line 2 is not a score line", 1},
        {"100 nan 5 2026-12-10\n", "line 1 is not a score line", 0},
        {"100 60 5 2026-12-10 and more\n", "line 1 is not a score line", 0},
        {"99999999999999999999999 60 5 2026-12-10\n", "line 1 is not a score line", 0},
        {"\x1b[2J 60 5 yesterday\n", "line 1 is not a score line", 0},
    };
    for (const auto& c : cases)
    {
        CScratchFile file("bad_best.txt", c.szContents);
        CBestScores best;
        EXPECT_EQ(best.load(file.path()), c.szProblem) << c.szContents;
        EXPECT_EQ(best.entries().size(), c.iEntries) << c.szContents;
    }
    CBestScores best;
    EXPECT_EQ(best.load("no_such_best_scores.txt"), "");
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    EXPECT_EQ(best.load(folder.path()), "is a folder");
    std::string error;
    best.add(entry(5));
    EXPECT_FALSE(best.save(folder.path(), error));
    EXPECT_FALSE(error.empty());
}

TEST(CGameOverReportTest, SaysTheScoreTheTimeTheEvolvingAndTheBest)
{
    CBestScores best;
    const CBestScores::SEntry game = entry(120);
    const int place = best.add(game);
    const std::vector<std::string> lines = CGameOverReport::lines(game, place, best, "n");
    EXPECT_EQ(lines.at(2), "score\t120");
    EXPECT_EQ(lines.at(3), "survived\t1:01");
    EXPECT_EQ(lines.at(4), "aliens evolving\t12.2 game minutes");
    EXPECT_EQ(lines.at(5), "best\ta new best score!");
    EXPECT_EQ(lines.back(), "n\tplay again: the same aliens, still evolving");
    best.add(entry(500));
    const CBestScores::SEntry second = entry(200);
    const std::vector<std::string> later = CGameOverReport::lines(second, best.add(second), best, "n");
    EXPECT_EQ(later.at(5), "best\t500, yours is number 2");
}
} // namespace
