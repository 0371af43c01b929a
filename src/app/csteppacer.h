#pragma once

#include <limits>

// The pace of a world that steps faster than it is drawn, for a shell that is called back now
// and then (a timer, a browser's frame callback), in real milliseconds that never run
// backwards from one call to the next. Guarantees:
// - stepsDue hands out none before start; after start(t), one step for every stepMs of real
//   time since t, each once, however the calls fall, as long as no call finds more than
//   maxStepsPerCall due;
// - a call hands out at most maxStepsPerCall: a call that finds more due forgets the rest and
//   the pace starts afresh from it, so a late call never sends the world racing to catch up,
//   and what one call runs stays bounded;
// - redrawDue is true at most once in any gapMs of real time, and whenever gapMs has passed
//   since it last was.
class CStepPacer
{
public:
    // Fast mode's pace: a step every millisecond, and a catch-up of at most about a frame's
    // worth at the shipped 30 frames a second, a few milliseconds of stepping.
    static constexpr unsigned kFastStepMs = 1;
    static constexpr int kFastMostStepsPerCall = 40;
    static CStepPacer fastMode() { return CStepPacer(kFastStepMs, kFastMostStepsPerCall); }

    CStepPacer(double stepMs, int maxStepsPerCall);

    // The first step falls due stepMs after nowMs; nothing owed before counts.
    void start(double nowMs);
    // The steps due by nowMs that were not handed out yet, as bounded above.
    int stepsDue(double nowMs);
    // Whether to redraw at nowMs, at most once per gapMs; true counts as a redraw.
    bool redrawDue(double nowMs, double gapMs);

private:
    double m_dStepMs;
    int m_iMaxStepsPerCall;
    double m_dNextStepMs = std::numeric_limits<double>::infinity();
    double m_dLastRedrawMs = -std::numeric_limits<double>::infinity();
};
