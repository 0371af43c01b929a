#pragma once

#include <string>

// Captured frames are "frame%5d.bmp": "frame    0.bmp", "frame    2.bmp", ..., "frame123456.bmp".
std::string frameFileName(int number);

// The first even number from `from` (even, not negative) whose frame name in the folder is
// free: nothing at all stands there, not even a link to nowhere, so that a capture never takes
// the name of an earlier run's frame. -1 when every even number up to the largest int is taken.
int firstFreeFrame(const std::string& folder, int from);
