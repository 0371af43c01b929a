#pragma once

// q in a web page, where a reflex press must not end the game: a press ends it only within
// kWindowMs of the press before, which asks for it. Real time, in ms.
class CQuitConfirm
{
public:
    static constexpr double kWindowMs = 3000.0;

    // True when this press ends the game; false when it asks for a second one.
    bool press(double nowMs);
    // Takes the question back (Escape): the next press asks again. True when one was open.
    bool withdraw(double nowMs);

private:
    double m_dAskedMs = -1e300;
};
