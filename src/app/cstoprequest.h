#pragma once

// Turns the signals that ask a program to end (SIGINT, SIGTERM, SIGHUP) into a request that
// the program's own loop picks up, so that it ends through its ordinary quit path instead of
// wherever the signal found it. The handler only records the request.
// - A signal the process started with ignored (nohup, a background job of a script) stays
//   ignored.
// - Once a signal has been recorded, the same signal again has its default effect, so a
//   program whose quit path is stuck can still be stopped.
class CStopRequest
{
public:
    static void install();
    // Has one of the signals asked to stop?
    static bool isRequested();
};
