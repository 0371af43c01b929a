#pragma once

#include "app/cparams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// A plain sigmoid with a bias input of -1, as the shipped parameters have; every member is
// reset afterwards so that no other suite sees these values.
class CNetParamsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CParams::NN_ActivationResponse = 1.0;
        CParams::NN_Bias = -1.0;
    }
    void TearDown() override { CParams::resetToInitialValues(); }
};

// Weights that differ from each other and from zero: first, first + step, ... with
// alternating signs, so that a swapped, dropped or zeroed weight shows.
inline std::vector<double> distinctWeights(int count, double first = 0.1, double step = 0.1)
{
    std::vector<double> weights;
    for (int k = 0; k < count; ++k)
        weights.push_back((k % 2 ? -1.0 : 1.0) * (first + step * k));
    return weights;
}

inline bool allZero(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; });
}

// The death message of a failed KA_ASSERT on this expression, as a regular expression.
inline std::string assertionPattern(const std::string& expression)
{
    std::string pattern = "Assertion failed: ";
    for (char c : expression)
    {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}
