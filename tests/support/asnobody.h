#pragma once

#include <functional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs the check as a user without privileges: in a child process as "nobody" (65534) when the
// tests run as root, who may write any file and would pass what a user's run fails; as it is
// otherwise. True when the check held.
inline bool asNobody(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0)
    {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
        _exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
