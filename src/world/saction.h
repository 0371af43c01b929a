#pragma once

// Action codes, shared by both fields of SAction and by key events. Code 4 is unused.
constexpr int ACTION_UP = 0;
constexpr int ACTION_DOWN = 1;
constexpr int ACTION_LEFT = 2;
constexpr int ACTION_RIGHT = 3;
constexpr int ACTION_FIRE = 5;
constexpr int ACTION_NONE = 6;
constexpr int ACTION_UNDEFINED = 255;

// What a mover does in one world step: which way to push and whether to fire.
struct SAction
{
    int movement;
    int fire;

    SAction(int iMovement, int iFire) : movement(iMovement), fire(iFire) {}
};
