#include "brain/cneuralnet.h"

#include "brain/netfixture.h"
#include "world/utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
class NeuralNetTest : public CNetParamsTest
{
};
class NeuralNetDeathTest : public CNetParamsTest
{
};

void setWeights(CNeuralNet& net, const std::vector<double>& weights)
{
    ASSERT_FALSE(allZero(weights));
    net.putWeights(weights);
}

double logistic(double x)
{
    return 1.0 / (1.0 + std::exp(-x));
}
} // namespace

TEST_F(NeuralNetTest, FreshNetworkHasShapeAndNoTraining)
{
    const CNeuralNet net(6, 2, 1, 8);
    EXPECT_EQ(net.getNumInputs(), 6);
    EXPECT_EQ(net.getNumOutputs(), 2);
    EXPECT_EQ(net.getNumHiddenLayers(), 1);
    EXPECT_EQ(net.getNeuronsPerHiddenLayer(), 8);
    EXPECT_EQ(net.getErrorSum(), 9999.0);
    EXPECT_FALSE(net.isTrained());
    EXPECT_EQ(net.getNumEpochs(), 0);
}

TEST_F(NeuralNetTest, ConstructorDrawsEveryWeightInFlatOrder)
{
    srand(11);
    const CNeuralNet net(2, 1, 1, 2);
    srand(11);
    std::vector<double> expected;
    for (int k = 0; k < 9; ++k)
        expected.push_back(RandomClamped());
    ASSERT_FALSE(allZero(expected));
    EXPECT_EQ(net.getWeights(), expected);
}

TEST_F(NeuralNetTest, WeightCountFollowsShape)
{
    struct SShape { int i, o, h, n; int weights; };
    const SShape shapes[] = {
        {2, 1, 1, 2, 9},   // 2*3 + 1*3
        {6, 2, 1, 8, 74},  // 8*7 + 2*9
        {3, 2, 0, 5, 8},   // no hidden layer: 2*4, the hidden size is ignored
        {2, 3, 3, 4, 67},  // 4*3 + 2*4*5 + 3*5
    };
    for (const SShape& s : shapes)
    {
        SCOPED_TRACE(testing::Message() << s.i << " " << s.o << " " << s.h << " " << s.n);
        const CNeuralNet net(s.i, s.o, s.h, s.n);
        EXPECT_EQ(CNeuralNet::countWeights(s.i, s.o, s.h, s.n), s.weights);
        EXPECT_EQ(net.getNumberOfWeights(), s.weights);
        EXPECT_EQ((int)net.getWeights().size(), s.weights);
    }
    // Large shapes are counted without overflowing an int: every one of the 10001 layers
    // has 10000 neurons of 10001 weights.
    EXPECT_EQ(CNeuralNet::countWeights(10000, 10000, 10000, 10000), 10001LL * 10000 * 10001);
}

TEST_F(NeuralNetTest, AllZeroWeightsGiveOneHalfEverywhere)
{
    CNeuralNet net(3, 2, 2, 4);
    net.putWeights(std::vector<double>(net.getNumberOfWeights(), 0.0));
    for (const std::vector<double>& inputs : {std::vector<double>{0, 0, 0}, std::vector<double>{5, -3, 100}})
        EXPECT_EQ(net.update(inputs), std::vector<double>({0.5, 0.5}));
}

TEST_F(NeuralNetTest, HandSetWeightsGiveKnownOutputs)
{
    // No hidden layer: the one output layer sees the inputs directly.
    CNeuralNet flat(2, 1, 0, 7);
    setWeights(flat, {1.0, 2.0, 0.5});
    const std::vector<double> flatOut = flat.update({0.5, 0.25});
    ASSERT_EQ(flatOut.size(), 1u);
    EXPECT_DOUBLE_EQ(flatOut[0], logistic(0.5 + 0.5 - 0.5));

    // One hidden layer of two neurons.
    CNeuralNet deep(2, 1, 1, 2);
    setWeights(deep, {0.5, -1.0, 0.25, /**/ 1.0, 1.0, 0.0, /**/ 2.0, -1.0, 0.5});
    const double h0 = logistic(0.5 * 1.0 - 1.0 * 2.0 - 0.25);
    const double h1 = logistic(1.0 * 1.0 + 1.0 * 2.0);
    const std::vector<double> out = deep.update({1.0, 2.0});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_DOUBLE_EQ(out[0], logistic(2.0 * h0 - 1.0 * h1 - 0.5));
    // Evaluations share scratch buffers: one must not leak into the next.
    deep.update({-7.0, 9.0});
    EXPECT_EQ(deep.update({1.0, 2.0}), out);

    // The activation response flattens the curve.
    CParams::NN_ActivationResponse = 2.0;
    EXPECT_DOUBLE_EQ(flat.update({0.5, 0.25})[0], logistic(0.5 / 2.0));
    EXPECT_DOUBLE_EQ(CNeuralNet::sigmoid(3.0, 2.0), logistic(1.5));
}

TEST_F(NeuralNetTest, TwoHiddenLayersChainInOrder)
{
    // 1 input, two hidden layers of one neuron, one output.
    CNeuralNet net(1, 1, 2, 1);
    setWeights(net, {2.0, 0.5, /**/ -1.0, 0.25, /**/ 3.0, 1.0});
    const double h0 = logistic(2.0 * 0.75 - 0.5);
    const double h1 = logistic(-1.0 * h0 - 0.25);
    EXPECT_DOUBLE_EQ(net.update({0.75})[0], logistic(3.0 * h1 - 1.0));
}

TEST_F(NeuralNetTest, WrongInputCountGivesNoOutput)
{
    CNeuralNet net(2, 3, 1, 2);
    EXPECT_TRUE(net.update({1.0}).empty());
    EXPECT_TRUE(net.update({1.0, 2.0, 3.0}).empty());
    EXPECT_EQ(net.update({1.0, 2.0}).size(), 3u);
}

TEST_F(NeuralNetTest, PutWeightsReadsExactlyItsCountFromTheFront)
{
    CNeuralNet net(2, 1, 1, 2);
    const std::vector<double> before = net.getWeights();
    net.putWeights(before);
    EXPECT_EQ(net.getWeights(), before);

    std::vector<double> longer = distinctWeights(9);
    longer.push_back(42.0);
    net.putWeights(longer);
    longer.pop_back();
    EXPECT_EQ(net.getWeights(), longer);
}

TEST_F(NeuralNetDeathTest, PutWeightsRefusesTooFewValues)
{
    CNeuralNet net(2, 1, 1, 2);
    EXPECT_DEATH(net.putWeights(distinctWeights(8)), assertionPattern("(int)weights.size() >= getNumberOfWeights()"));
}

TEST_F(NeuralNetTest, CopyEvaluatesAndRecordsLikeItsSource)
{
    CNeuralNet source(3, 2, 1, 4);
    ASSERT_TRUE(source.train({0.1, 0.5, 0.9}, {1.0, 0.0}));
    const CNeuralNet copy(source);
    EXPECT_EQ(copy.getWeights(), source.getWeights());
    EXPECT_EQ(copy.getErrorSum(), source.getErrorSum());
    EXPECT_TRUE(copy.isTrained());
    EXPECT_EQ(copy.getNumEpochs(), 1);
    CNeuralNet evaluated(copy);
    EXPECT_EQ(evaluated.update({0.3, 0.2, 0.1}), source.update({0.3, 0.2, 0.1}));
}

TEST_F(NeuralNetTest, RandomizeRedrawsWeightsAndResetsRecordButNotTrainedFlag)
{
    CNeuralNet net(2, 1, 1, 2);
    ASSERT_TRUE(net.train({0.5, 0.5}, {1.0}));
    srand(3);
    net.randomizeWeights();
    srand(3);
    std::vector<double> expected;
    for (int k = 0; k < 9; ++k)
        expected.push_back(RandomClamped());
    EXPECT_EQ(net.getWeights(), expected);
    EXPECT_EQ(net.getErrorSum(), 9999.0);
    EXPECT_EQ(net.getNumEpochs(), 0);
    EXPECT_TRUE(net.isTrained());
}

TEST_F(NeuralNetTest, SaveWritesSizesCountAndWeightsEachFollowedByASpace)
{
    CNeuralNet net(2, 1, 1, 2);
    setWeights(net, {0.5, -0.25, 1.0, 0.125, 2.0, -3.0, 1.0 / 3.0, 1e-7, 12345678.0});
    std::ostringstream out;
    net.save(out);
    EXPECT_EQ(out.str(), "2 1 1 2 9 0.5 -0.25 1 0.125 2 -3 0.333333 1e-07 1.23457e+07 ");
}

TEST_F(NeuralNetTest, TrainRejectsWrongLengthsAndChangesNothing)
{
    CNeuralNet net(2, 1, 1, 2);
    ASSERT_TRUE(net.train({0.5, 0.5}, {1.0}));
    const std::vector<double> weights = net.getWeights();
    const double errorSum = net.getErrorSum();

    EXPECT_FALSE(net.train({0.5, 0.5}, {1.0, 0.0}));
    EXPECT_FALSE(net.train({0.5}, {1.0}));
    EXPECT_EQ(net.getWeights(), weights);
    EXPECT_EQ(net.getErrorSum(), errorSum);
    EXPECT_EQ(net.getNumEpochs(), 1);
}

TEST_F(NeuralNetTest, TrainStepBackPropagatesThroughUpdatedOutputWeights)
{
    // Input 0.8, target 0.9, learning rate 0.1. The hidden delta uses the output weight
    // after its own update (-0.393381...), which moves the hidden weight to 0.4990365...
    // rather than the 0.4990203... that the stale weight -0.4 would give.
    CNeuralNet net(1, 1, 1, 1);
    setWeights(net, {0.5, 0.25, -0.4, 0.3});
    ASSERT_TRUE(net.train({0.8}, {0.9}));

    const std::vector<double> w = net.getWeights();
    EXPECT_NEAR(w[0], 0.4990365593279065, 1e-12);
    EXPECT_NEAR(w[1], 0.25120430084011686, 1e-12);
    EXPECT_NEAR(w[2], -0.39338174992818986, 1e-12);
    EXPECT_NEAR(w[3], 0.28768536930140715, 1e-12);
    EXPECT_NEAR(net.getErrorSum(), 0.2766457954125431, 1e-12); // (0.9 - 0.374029)^2
    EXPECT_TRUE(net.isTrained());
    EXPECT_EQ(net.getNumEpochs(), 1);
}

TEST_F(NeuralNetTest, RepeatedTrainingDrivesErrorDownAndOutputsToTargets)
{
    srand(5);
    CNeuralNet net(2, 2, 1, 3);
    const std::vector<double> inputsA = {1.0, 0.0}, targetsA = {0.9, 0.1};
    const std::vector<double> inputsB = {0.0, 1.0}, targetsB = {0.1, 0.9};

    ASSERT_TRUE(net.train(inputsA, targetsA));
    const double firstError = net.getErrorSum();
    for (int epoch = 0; epoch < 3000; ++epoch)
    {
        ASSERT_TRUE(net.train(inputsB, targetsB));
        ASSERT_TRUE(net.train(inputsA, targetsA));
    }
    EXPECT_LT(net.getErrorSum(), firstError / 20);
    EXPECT_EQ(net.getNumEpochs(), 6001);

    const std::vector<double> outA = net.update(inputsA);
    const std::vector<double> outB = net.update(inputsB);
    for (int o = 0; o < 2; ++o)
    {
        EXPECT_NEAR(outA[o], targetsA[o], 0.05);
        EXPECT_NEAR(outB[o], targetsB[o], 0.05);
    }
}

TEST_F(NeuralNetDeathTest, TrainingNeedsExactlyOneHiddenLayer)
{
    CNeuralNet flat(2, 1, 0, 0);
    EXPECT_DEATH(flat.train({0.5, 0.5}, {1.0}), assertionPattern("m_iNumHiddenLayers == 1"));
}
