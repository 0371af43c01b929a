#include "app/csoundeffects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "world/crandom.h"

namespace
{
using Wave = std::vector<double>;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRate = CSoundEffects::kSampleRate;
constexpr unsigned kNoiseSeed = 20250613;

const std::vector<CSoundEffects::SKind> kKinds = {
    {SOUND_GUN_SHOT, "gun shot", 80, 0.35},
    {SOUND_RED_SHOT, "red shot", 100, 0.30},
    {SOUND_HIT_ON_GUN, "hit on gun", 200, 0.45},
    {SOUND_EXPLOSION, "explosion", 350, 0.50},
    {SOUND_GAME_OVER, "game over", 1200, 0.40},
};

// Each kind that needs noise seeds a generator of its own, so that its samples never depend
// on which effects were made before it.
CRandom noiseFor(int iKind)
{
    return CRandom(kNoiseSeed + static_cast<unsigned>(iKind));
}

// White noise in [-1, 1].
double whiteNoise(CRandom& random)
{
    return 2.0 * random.next() / CRandom::Max - 1.0;
}

// A raised-cosine ramp: 0 at the edge, 1 once rampSamples in.
double fadeGain(size_t i, size_t length, size_t rampSamples)
{
    const size_t fromEdge = std::min(i, length - 1 - i);
    if (fromEdge >= rampSamples)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(fromEdge) / static_cast<double>(rampSamples));
}

size_t fadeSamples()
{
    return static_cast<size_t>(std::lround(CSoundEffects::kFadeMilliseconds * kRate / 1000.0));
}

// A bright blip: the main tone with two harmonics, quickly decaying.
Wave gunShot(size_t length)
{
    Wave wave(length);
    for (size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double phase = kTwoPi * 1320.0 * t;
        wave[i] = (std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.15 * std::sin(3.0 * phase)) * std::exp(-t / 0.03);
    }
    return wave;
}

// A zap: a soft square wave whose pitch falls from 660 Hz, slowly at first, to 220 Hz.
Wave redShot(size_t length)
{
    Wave wave(length);
    double phase = 0.0;
    for (size_t i = 0; i < length; ++i)
    {
        const double x = static_cast<double>(i) / static_cast<double>(length);
        phase += kTwoPi * (660.0 - 440.0 * x * x) / kRate;
        wave[i] = std::tanh(2.5 * std::sin(phase)) * (1.0 - 0.8 * x);
    }
    return wave;
}

// A harsh buzz: a square wave of five odd harmonics (none above 2 kHz) under white noise.
Wave hitOnGun(size_t length)
{
    Wave wave(length);
    CRandom noise = noiseFor(SOUND_HIT_ON_GUN);
    for (size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        double square = 0.0;
        for (int harmonic = 1; harmonic <= 9; harmonic += 2)
            square += std::sin(kTwoPi * 180.0 * harmonic * t) / harmonic;
        wave[i] = (square + 0.35 * whiteNoise(noise)) * std::exp(-t / 0.12);
    }
    return wave;
}

// A rumble: white noise through two low-pass poles whose cutoff falls from 800 to 150 Hz, so
// that the blast darkens as it fades.
Wave explosion(size_t length)
{
    Wave wave(length);
    CRandom noise = noiseFor(SOUND_EXPLOSION);
    double first = 0.0, second = 0.0;
    for (size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double cutoff = 150.0 + 650.0 * std::exp(-t / 0.08);
        const double pull = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
        first += pull * (whiteNoise(noise) - first);
        second += pull * (first - second);
        wave[i] = second * std::exp(-t / 0.1);
    }
    return wave;
}

// C5, G4, C4, a third of the length each, each faded on its own so that the steps do not click.
Wave gameOver(size_t length)
{
    static constexpr double kTones[] = {523.25, 392.0, 261.63};
    Wave wave(length);
    const size_t toneLength = length / 3;
    const size_t toneFade = 4 * fadeSamples();
    for (size_t i = 0; i < length; ++i)
    {
        const size_t tone = std::min<size_t>(i / toneLength, 2);
        const size_t inTone = i - tone * toneLength;
        const size_t thisLength = tone == 2 ? length - 2 * toneLength : toneLength;
        const double t = static_cast<double>(inTone) / kRate;
        const double phase = kTwoPi * kTones[tone] * t;
        wave[i] = (std::sin(phase) + 0.25 * std::sin(2.0 * phase)) * std::exp(-t / 0.5) *
                  fadeGain(inTone, thisLength, toneFade);
    }
    return wave;
}

Wave shape(int iKind, size_t length)
{
    switch (iKind)
    {
    case SOUND_GUN_SHOT: return gunShot(length);
    case SOUND_RED_SHOT: return redShot(length);
    case SOUND_HIT_ON_GUN: return hitOnGun(length);
    case SOUND_EXPLOSION: return explosion(length);
    case SOUND_GAME_OVER: return gameOver(length);
    default: return {};
    }
}

// Faded at both ends, then scaled so that the largest magnitude is the peak asked for.
std::vector<int16_t> finish(Wave wave, double dPeak)
{
    double largest = 0.0;
    for (size_t i = 0; i < wave.size(); ++i)
    {
        wave[i] *= fadeGain(i, wave.size(), fadeSamples());
        largest = std::max(largest, std::fabs(wave[i]));
    }
    std::vector<int16_t> samples(wave.size());
    const double scale = largest > 0.0 ? dPeak * 32767.0 / largest : 0.0;
    for (size_t i = 0; i < wave.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(wave[i] * scale));
    return samples;
}
} // namespace

const std::vector<CSoundEffects::SKind>& CSoundEffects::all()
{
    return kKinds;
}

const CSoundEffects::SKind* CSoundEffects::find(int iKind)
{
    for (const SKind& kind : kKinds)
        if (kind.iId == iKind)
            return &kind;
    return nullptr;
}

const char* CSoundEffects::name(int iKind)
{
    const SKind* kind = find(iKind);
    return kind ? kind->szName : "unknown sound";
}

size_t CSoundEffects::samplesOf(int iKind)
{
    const SKind* kind = find(iKind);
    return kind ? static_cast<size_t>(std::lround(kind->iMilliseconds * kRate / 1000.0)) : 0;
}

std::vector<int16_t> CSoundEffects::synthesise(int iKind)
{
    const SKind* kind = find(iKind);
    if (!kind)
        return {};
    return finish(shape(iKind, samplesOf(iKind)), kind->dPeak);
}
