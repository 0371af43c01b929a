#pragma once

#include <random>

#include "world/cgamecontroller.h"
#include "world/saction.h"

// A player that presses a random key now and then, from its own generator so that the
// world's rand() sequence is the world's alone.
class CRandomPlayer
{
public:
    explicit CRandomPlayer(unsigned seed) : m_engine(seed) {}

    void play(CGameController& controller)
    {
        static constexpr int kKeys[] = {ACTION_LEFT, ACTION_RIGHT, ACTION_FIRE, ACTION_UP, ACTION_DOWN};
        if (m_engine() % 4 == 0)
            controller.setKeyEvent(kKeys[m_engine() % 5]);
    }

private:
    std::mt19937 m_engine;
};
