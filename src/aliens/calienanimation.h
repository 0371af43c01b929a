#pragma once

#include "brain/animationtables.h"

// Where an alien is in its current animation: the frame and the time it has left.
class CAlienAnimation
{
public:
    explicit CAlienAnimation(int kind) : m_dTimeLeft(ANIM_FRAME_HOLD), m_iFrame(0), m_iKind(kind) {}

    double getTimeLeft() const { return m_dTimeLeft; }
    void setTimeLeft(double timeLeft) { m_dTimeLeft = timeLeft; }
    int getFrame() const { return m_iFrame; }
    void setFrame(int frame) { m_iFrame = frame; }
    int getKind() const { return m_iKind; }

private:
    double m_dTimeLeft; // ANIM_FRAME_HOLD: the frame stays until the state changes
    int m_iFrame;
    int m_iKind; // 0 green frames, 1 red frames
};
