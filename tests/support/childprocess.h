#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// What a child process did.
struct SChildRun
{
    bool bEnded = false; // by itself, before the deadline
    int iExitStatus = -1; // -1 when it was killed or died of a signal
    std::string sOut, sErr;
};

// Runs the work in a child process of its own: a fresh start for libraries that read their
// settings once a process, and a deadline for work that might hang. The environment variables
// are set in the child before the work; its exit status is what the work returns. The child's
// standard output and error streams are read until it ends, or until the deadline, when it is
// killed.
inline SChildRun runInChild(const std::function<int()>& work,
                            const std::vector<std::pair<std::string, std::string>>& environment,
                            std::chrono::seconds deadline)
{
    SChildRun run;
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return run;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
    {
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {out[0], out[1], err[0], err[1]})
            close(fd);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        const int status = work();
        std::cout.flush();
        std::cerr.flush();
        std::exit(status); // exit handlers run, so a leak check at exit sees the child too
    }
    close(out[1]);
    close(err[1]);
    const auto until = std::chrono::steady_clock::now() + deadline;
    const auto left = [&] {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(0, ms.count()));
    };
    pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* texts[2] = {&run.sOut, &run.sErr};
    int open = 2;
    while (open > 0 && left() > 0)
    {
        if (poll(streams, 2, left()) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i)
        {
            if (streams[i].fd < 0 || streams[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = read(streams[i].fd, buffer, sizeof buffer);
            if (got > 0)
                texts[i]->append(buffer, static_cast<size_t>(got));
            else if (got == 0 || errno != EINTR)
            {
                close(streams[i].fd);
                streams[i].fd = -1;
                --open;
            }
        }
    }
    // Its streams closed as it ended; it may still be on its way out.
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && left() > 0)
        poll(nullptr, 0, 5);
    if (ended != child)
    {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    for (const pollfd& stream : streams)
        if (stream.fd >= 0)
            close(stream.fd);
    run.bEnded = ended == child;
    run.iExitStatus = run.bEnded && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
