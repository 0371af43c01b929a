#include <gtest/gtest.h>

#include <csignal>

#include "files/cstoprequest.h"

namespace
{
extern "C" void ownHandler(int) {}

void (*currentHandler(int signal))(int)
{
    struct sigaction now = {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}
} // namespace

TEST(CStopRequestTest, SignalsAreRecordedInsteadOfEndingTheProgram)
{
    CStopRequest stop;
    EXPECT_EQ(stop.signalNumber(), 0);
    EXPECT_EQ(stop.exitStatus(), 0);
    raise(SIGTERM);
    EXPECT_EQ(stop.signalNumber(), SIGTERM);
    EXPECT_EQ(stop.exitStatus(), 143);
    raise(SIGINT);
    EXPECT_EQ(stop.signalNumber(), SIGINT);
    EXPECT_EQ(stop.exitStatus(), 130);
}

TEST(CStopRequestTest, TheSameSignalTwiceEndsTheProgram)
{
    EXPECT_EXIT(
        {
            CStopRequest stop;
            raise(SIGINT);
            raise(SIGINT);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

TEST(CStopRequestTest, OnlyTheSignalsGivenAreCaughtAndTheOldHandlersComeBack)
{
    signal(SIGTERM, ownHandler);
    const auto hangUpBefore = currentHandler(SIGHUP);
    {
        CStopRequest stop{SIGHUP};
        EXPECT_EQ(currentHandler(SIGTERM), ownHandler);
        EXPECT_NE(currentHandler(SIGHUP), hangUpBefore);
        raise(SIGHUP);
        EXPECT_EQ(stop.exitStatus(), 129);
    }
    {
        CStopRequest again;
        EXPECT_EQ(again.signalNumber(), 0);
        EXPECT_NE(currentHandler(SIGTERM), ownHandler);
    }
    EXPECT_EQ(currentHandler(SIGTERM), ownHandler);
    EXPECT_EQ(currentHandler(SIGHUP), hangUpBefore);
    signal(SIGTERM, SIG_DFL);
}

TEST(CStopRequestTest, SignalIgnoredAtStartStaysIgnored)
{
    signal(SIGHUP, SIG_IGN);
    {
        CStopRequest stop{SIGINT, SIGTERM, SIGHUP};
        EXPECT_EQ(currentHandler(SIGHUP), SIG_IGN);
        raise(SIGHUP);
        EXPECT_EQ(stop.signalNumber(), 0);
    }
    EXPECT_EQ(currentHandler(SIGHUP), SIG_IGN);
    signal(SIGHUP, SIG_DFL);
}

// The game's signals end it through the same path as q, which writes the statistics'
// closing lines: each one must be recorded, not end the process where it finds it.
TEST(CStopRequestTest, SignalEndsTheGameWithoutTheClosingLinesIsMended)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        CStopRequest stop{SIGINT, SIGTERM, SIGHUP};
        raise(signal);
        EXPECT_EQ(stop.signalNumber(), signal);
    }
}
