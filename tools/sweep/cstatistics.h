#pragma once

#include <vector>

// Figures over the seeds of a sweep with their 95 % confidence intervals, from Student's t
// distribution: the seeds are a small sample, and a normal interval would be too narrow.
class CStatistics
{
public:
    // A figure and its interval. Fewer than two values give no interval (NaN at both
    // ends); values all equal give the interval [value, value], not a division by zero.
    struct SEstimate
    {
        double dValue;
        double dLow;
        double dHigh;
        int iCount; // values it stands on
    };

    // The t value that leaves 2.5 % above it, for degreesOfFreedom from 1 up; exact to
    // about 1e-9. It costs time in proportion to degreesOfFreedom.
    static double tQuantile975(int degreesOfFreedom);

    // The mean of the values, with the t-interval mean ± t · s / √n.
    static SEstimate mean(const std::vector<double>& values);

    // How many times the numerators are the denominators, pair by pair: the geometric mean
    // of the ratios, with the t-interval of the mean log ratio taken back through exp. The
    // logs make a doubling and a halving the same distance from 1, so the interval is not
    // stretched by one lucky pair as the ratios' own mean would be. Every value must be
    // above 0 and both lists the same length.
    static SEstimate ratio(const std::vector<double>& numerators, const std::vector<double>& denominators);
    // The same in natural logarithms, before exp: finite wherever the values are, where the
    // ratio itself may overflow (1e300 against 5e-324).
    static SEstimate logRatio(const std::vector<double>& numerators, const std::vector<double>& denominators);
};
