#pragma once

#include <csignal>
#include <initializer_list>
#include <vector>

// Lets a long run end cleanly when it is asked to stop by a signal. While an instance
// lives, the signals it was given (SIGINT and SIGTERM unless told otherwise) only record
// which one came; the work polls signalNumber() where it can stop safely, saves what it
// has and ends with exitStatus(). The handlers are one-shot: the same signal a second
// time ends the program at once, as if none had been installed, for a user who will not
// wait for the saves. A signal the process started with ignored (nohup, a background job
// of a script) stays ignored. The previous handlers come back when the instance is
// destroyed. One instance at a time.
class CStopRequest
{
public:
    explicit CStopRequest(std::initializer_list<int> signals = {SIGINT, SIGTERM});
    ~CStopRequest();
    CStopRequest(const CStopRequest&) = delete;
    CStopRequest& operator=(const CStopRequest&) = delete;

    // The last signal that asked for a stop, or 0 while none has.
    int signalNumber() const;
    // What a shell reports for a program ended by that signal: 128 + its number.
    int exitStatus() const;

private:
    struct SSaved
    {
        int iSignal;
        struct sigaction previous;
    };
    std::vector<SSaved> m_vSaved;
};
