#include "app/cstoprequest.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

namespace
{
// How a child that installs the request and then gets the signal ends: exit status 0 when it
// lives on and sees the request, 1 when it lives on without it. A recorded request stays
// recorded, so each case runs in a process of its own.
int childStatus(int signal, int times, bool ignoredAtStart)
{
    const pid_t child = fork();
    if (child == 0)
    {
        if (ignoredAtStart)
            std::signal(signal, SIG_IGN);
        CStopRequest::install();
        for (int i = 0; i < times; ++i)
            raise(signal);
        _exit(CStopRequest::isRequested() ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

TEST(CStopRequestTest, SignalEndsTheGameWithoutTheClosingLinesIsMended)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        const int status = childStatus(signal, 1, false);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal << ", status " << status;
    }
}

TEST(CStopRequestTest, TheSameSignalAgainHasItsDefaultEffect)
{
    const int status = childStatus(SIGTERM, 2, false);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

TEST(CStopRequestTest, SignalIgnoredAtStartStaysIgnored)
{
    const int status = childStatus(SIGHUP, 1, true);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;
}
} // namespace
