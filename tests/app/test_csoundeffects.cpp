#include "app/csoundeffects.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/soundmeasures.h"
#include "world/crandom.h"
#include "world/utils.h"

namespace
{
constexpr double kRate = 22050.0;

// Where the strongest frequency of a stretch of an effect must lie.
struct STone
{
    int iFromMs, iToMs;
    double dMinHz, dMaxHz;
};

struct SExpected
{
    int iKind;
    const char* szName;
    int iMilliseconds;
    std::vector<STone> vTones;
    bool bDecays; // its last quarter much quieter than its first
};

const std::vector<SExpected> kExpected = {
    {SOUND_GUN_SHOT, "gun shot", 80, {{0, 80, 1280, 1360}}, true},
    // Falling: near 660 Hz at first, far lower at the end.
    {SOUND_RED_SHOT, "red shot", 100, {{0, 20, 600, 700}, {70, 100, 200, 450}}, true},
    {SOUND_HIT_ON_GUN, "hit on gun", 200, {{0, 200, 170, 190}}, true},
    // Filtered noise: its energy lies low.
    {SOUND_EXPLOSION, "explosion", 350, {{0, 350, 40, 1000}}, true},
    // Three descending tones.
    {SOUND_GAME_OVER, "game over", 1200, {{0, 400, 505, 540}, {400, 800, 380, 405}, {800, 1200, 252, 272}}, false},
};

size_t atMs(int ms)
{
    return static_cast<size_t>(ms * kRate / 1000.0 + 0.5);
}

// Each effect as its kind promises: its length, a peak with headroom, no click at either end,
// its main frequencies and its envelope.
TEST(CSoundEffectsTest, EveryKindHasItsLengthPeakFadesAndFrequencies)
{
    ASSERT_EQ(CSoundEffects::all().size(), kExpected.size());
    for (size_t k = 0; k < kExpected.size(); ++k)
    {
        const SExpected& expected = kExpected[k];
        SCOPED_TRACE(expected.szName);
        EXPECT_EQ(CSoundEffects::all()[k].iId, expected.iKind);
        EXPECT_STREQ(CSoundEffects::name(expected.iKind), expected.szName);
        const std::vector<int16_t> samples = CSoundEffects::synthesise(expected.iKind);
        ASSERT_EQ(samples.size(), atMs(expected.iMilliseconds));
        ASSERT_EQ(CSoundEffects::samplesOf(expected.iKind), samples.size());

        const int peak = peakOf(samples, 0, samples.size());
        // Loud enough to hear, and any two together within full scale.
        EXPECT_GE(peak, 0.25 * 32767);
        EXPECT_LE(peak, 0.5 * 32767 + 1);
        // Near silence at both ends, and no more than a quarter of the peak within 1 ms of them.
        EXPECT_LE(std::abs(samples.front()), 0.01 * 32767);
        EXPECT_LE(std::abs(samples.back()), 0.01 * 32767);
        EXPECT_LE(peakOf(samples, 0, atMs(1)), 0.3 * peak);
        EXPECT_LE(peakOf(samples, samples.size() - atMs(1), samples.size()), 0.3 * peak);

        for (const STone& tone : expected.vTones)
        {
            const double hz = strongestFrequency(samples, atMs(tone.iFromMs), atMs(tone.iToMs), kRate);
            EXPECT_GE(hz, tone.dMinHz) << "from " << tone.iFromMs << " ms";
            EXPECT_LE(hz, tone.dMaxHz) << "from " << tone.iFromMs << " ms";
        }
        const size_t quarter = samples.size() / 4;
        if (expected.bDecays)
        {
            EXPECT_LT(rms(samples, samples.size() - quarter, samples.size()), 0.5 * rms(samples, 0, quarter));
        }
    }
}

// The same samples every time, whatever the C library's rand() and the world's random sequence
// have drawn and whichever effects were made before.
TEST(CSoundEffectsTest, SamplesAreTheSameEveryTimeWhateverWasDrawnBefore)
{
    std::srand(1);
    std::vector<std::vector<int16_t>> first;
    for (const CSoundEffects::SKind& kind : CSoundEffects::all())
        first.push_back(CSoundEffects::synthesise(kind.iId));

    std::srand(77);
    CRandom world(5);
    const CRandom::CScope inUse(world);
    for (int i = 0; i < 100; ++i)
        RandInt(0, 9);
    for (size_t k = CSoundEffects::all().size(); k-- > 0;)
        EXPECT_EQ(CSoundEffects::synthesise(CSoundEffects::all()[k].iId), first[k]) << CSoundEffects::all()[k].szName;
}

TEST(CSoundEffectsTest, UnknownKindsHaveNoSamplesAndSayWhatTheyAre)
{
    for (int kind : {SOUND_NONE, SOUND_KIND_COUNT, 1000})
    {
        EXPECT_TRUE(CSoundEffects::synthesise(kind).empty()) << kind;
        EXPECT_EQ(CSoundEffects::samplesOf(kind), 0u) << kind;
        EXPECT_EQ(CSoundEffects::find(kind), nullptr) << kind;
        EXPECT_STREQ(CSoundEffects::name(kind), "unknown sound") << kind;
    }
}
} // namespace
