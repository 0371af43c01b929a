#include "app/cstoprequest.h"

#include <csignal>
#include <initializer_list>

namespace
{
volatile std::sig_atomic_t g_bStopRequested = 0;

void recordStop(int)
{
    g_bStopRequested = 1;
}
} // namespace

void CStopRequest::install()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        struct sigaction current;
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = recordStop;
        sigemptyset(&action.sa_mask);
        // Restarted calls: a statistics line being written is not cut by the signal.
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

bool CStopRequest::isRequested()
{
    return g_bStopRequested != 0;
}
