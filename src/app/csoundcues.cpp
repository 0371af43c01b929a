#include "app/csoundcues.h"

#include "app/csoundeffects.h"

std::vector<int> CSoundCues::between(const CWorldTally& before, const CWorldTally& after)
{
    const CWorldTally period = after.since(before);
    const std::pair<int, long long> happened[] = {{SOUND_GUN_SHOT, period.gunShots()},
                                                  {SOUND_RED_SHOT, period.redShots()},
                                                  {SOUND_HIT_ON_GUN, period.hitsOnGun()},
                                                  {SOUND_EXPLOSION, period.deathsOfAll()}};
    std::vector<int> cues;
    for (const auto& [kind, count] : happened)
        if (count > 0)
            cues.push_back(kind);
    return cues;
}
