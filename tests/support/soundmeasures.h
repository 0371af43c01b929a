#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

// Measures of sampled sound for the sound's tests.

// The power of one frequency over samples [from, to), by the Goertzel recurrence.
inline double goertzelPower(const std::vector<int16_t>& samples, size_t from, size_t to, double hz, double rate)
{
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hz / rate);
    double previous = 0.0, beforePrevious = 0.0;
    for (size_t i = from; i < to; ++i)
    {
        const double now = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = now;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
}

// The strongest frequency of samples [from, to), scanned from 40 Hz to 6 kHz in steps of 0.5 %.
inline double strongestFrequency(const std::vector<int16_t>& samples, size_t from, size_t to, double rate)
{
    double strongest = 0.0, strongestPower = -1.0;
    for (double hz = 40.0; hz <= 6000.0; hz *= 1.005)
    {
        const double power = goertzelPower(samples, from, to, hz, rate);
        if (power > strongestPower)
        {
            strongestPower = power;
            strongest = hz;
        }
    }
    return strongest;
}

// The largest magnitude of samples [from, to).
inline int peakOf(const std::vector<int16_t>& samples, size_t from = 0, size_t to = SIZE_MAX)
{
    int peak = 0;
    for (size_t i = from; i < to && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

inline double rms(const std::vector<int16_t>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}
