#include "files/cstoprequest.h"

#include "files/kassert.h"

namespace
{
volatile std::sig_atomic_t g_iStopSignal = 0;
bool g_bInstalled = false;

extern "C" void recordStop(int signal)
{
    g_iStopSignal = signal;
}
} // namespace

CStopRequest::CStopRequest(std::initializer_list<int> signals)
{
    KA_ASSERT(!g_bInstalled);
    g_bInstalled = true;
    g_iStopSignal = 0;
    struct sigaction action = {};
    action.sa_handler = recordStop;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the second signal of a kind meets the default action and ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : signals)
    {
        SSaved saved{signal, {}};
        if (sigaction(signal, nullptr, &saved.previous) != 0 || saved.previous.sa_handler == SIG_IGN)
            continue;
        if (sigaction(signal, &action, nullptr) == 0)
            m_vSaved.push_back(saved);
    }
}

CStopRequest::~CStopRequest()
{
    for (const SSaved& saved : m_vSaved)
        sigaction(saved.iSignal, &saved.previous, nullptr);
    g_bInstalled = false;
}

int CStopRequest::signalNumber() const
{
    return g_iStopSignal;
}

int CStopRequest::exitStatus() const
{
    return g_iStopSignal == 0 ? 0 : 128 + g_iStopSignal;
}
