#pragma once

#include <vector>

#include "world/cworldtally.h"

// Which effects a stretch of world steps calls for, read from the world's tally before and
// after it: the gun fired, a red alien fired, a red bullet struck the gun, an alien was struck
// down. Each kind sounds at most once a stretch, however many times it happened, so that a
// burst of kills in one frame is one explosion, not a roar; the kinds come in the order of
// their ids. A count that went down (a tally of another world) calls for nothing.
class CSoundCues
{
public:
    static std::vector<int> between(const CWorldTally& before, const CWorldTally& after);
};
