#include "sweep/cstatistics.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "files/kassert.h"

namespace
{
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// P(|T| <= t) for Student's t with df degrees of freedom, by the finite series of
// Abramowitz and Stegun 26.7.3 and 26.7.4 in theta = atan(t / sqrt(df)).
double twoSidedProbability(double t, int df)
{
    const double theta = std::atan(t / std::sqrt(static_cast<double>(df)));
    const double c = std::cos(theta);
    const double cc = c * c;
    if (df % 2 == 0)
    {
        double term = 1.0, sum = 1.0;
        for (int k = 2; k <= df - 2; k += 2)
            sum += term *= cc * (k - 1) / k;
        return std::sin(theta) * sum;
    }
    double term = c, sum = df > 1 ? c : 0.0;
    for (int k = 3; k <= df - 2; k += 2)
        sum += term *= cc * (k - 1) / k;
    return 2.0 / std::numbers::pi * (theta + std::sin(theta) * sum);
}

bool allEqual(const std::vector<double>& values)
{
    for (const double value : values)
        if (value != values.front())
            return false;
    return true;
}
} // namespace

double CStatistics::tQuantile975(int degreesOfFreedom)
{
    KA_ASSERT(degreesOfFreedom >= 1);
    double low = 0.0, high = 1.0;
    while (twoSidedProbability(high, degreesOfFreedom) < 0.95)
        high *= 2.0;
    for (int i = 0; i < 100 && high - low > 1e-12; ++i)
    {
        const double middle = (low + high) / 2.0;
        (twoSidedProbability(middle, degreesOfFreedom) < 0.95 ? low : high) = middle;
    }
    return (low + high) / 2.0;
}

CStatistics::SEstimate CStatistics::mean(const std::vector<double>& values)
{
    const int n = static_cast<int>(values.size());
    if (n == 0)
        return {kNaN, kNaN, kNaN, 0};
    if (allEqual(values))
        return n < 2 ? SEstimate{values[0], kNaN, kNaN, 1} : SEstimate{values[0], values[0], values[0], n};
    double sum = 0.0;
    for (const double value : values)
        sum += value;
    const double mean = sum / n;
    double squares = 0.0;
    for (const double value : values)
        squares += (value - mean) * (value - mean);
    const double halfWidth = tQuantile975(n - 1) * std::sqrt(squares / (n - 1) / n);
    return {mean, mean - halfWidth, mean + halfWidth, n};
}

CStatistics::SEstimate CStatistics::ratio(const std::vector<double>& numerators, const std::vector<double>& denominators)
{
    const SEstimate logMean = logRatio(numerators, denominators);
    return {std::exp(logMean.dValue), std::exp(logMean.dLow), std::exp(logMean.dHigh), logMean.iCount};
}

CStatistics::SEstimate CStatistics::logRatio(const std::vector<double>& numerators,
                                             const std::vector<double>& denominators)
{
    KA_ASSERT(numerators.size() == denominators.size());
    std::vector<double> logs;
    for (size_t i = 0; i < numerators.size(); ++i)
    {
        KA_ASSERT(numerators[i] > 0.0 && denominators[i] > 0.0);
        // The difference of the logs is finite where the ratio itself would overflow or
        // vanish (1e300 / 1e-10).
        logs.push_back(std::log(numerators[i]) - std::log(denominators[i]));
    }
    return mean(logs);
}
