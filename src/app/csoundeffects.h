#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The game's sound effects.
constexpr int SOUND_NONE = -1;
constexpr int SOUND_GUN_SHOT = 0;   // the gun fires: a short bright blip
constexpr int SOUND_RED_SHOT = 1;   // a red alien fires: a lower, falling zap
constexpr int SOUND_HIT_ON_GUN = 2; // a red bullet strikes the gun: a harsh buzz
constexpr int SOUND_EXPLOSION = 3;  // an alien is struck down
constexpr int SOUND_GAME_OVER = 4;  // three descending tones
constexpr int SOUND_KIND_COUNT = 5;

// The effects, made by the program as 16-bit mono PCM at kSampleRate; no sound files. Every
// effect of a kind guarantees:
// - exactly samplesOf(kind) samples, iMilliseconds of its kind at kSampleRate, rounded;
// - its largest magnitude is round(dPeak x 32767) of its kind, and no kind's dPeak exceeds
//   kMaxPeak: any two effects sounding at once stay within full scale;
// - it fades in and out over kFadeMilliseconds, its first and last samples 0: no clicks;
// - the same samples on every call and every run: its noise comes from a generator of its
//   own with a fixed seed, never from rand() or the world's random sequence.
// An unknown kind has no samples.
class CSoundEffects
{
public:
    static constexpr int kSampleRate = 22050;
    static constexpr double kMaxPeak = 0.5;
    static constexpr double kFadeMilliseconds = 3.0;

    struct SKind
    {
        int iId;
        const char* szName; // for messages: "gun shot"
        int iMilliseconds;
        double dPeak; // the largest magnitude, a fraction of full scale
    };

    // Every kind, in the order of their ids: the one table the sound goes by.
    static const std::vector<SKind>& all();
    // The kind's entry, or nullptr for an unknown kind.
    static const SKind* find(int iKind);
    // "unknown sound" for an unknown kind.
    static const char* name(int iKind);
    static size_t samplesOf(int iKind);
    static std::vector<int16_t> synthesise(int iKind);
};
