#include "brain/cbrain.h"

#include "brain/cneuralnet.h"
#include "brain/netfixture.h"
#include "world/utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace
{
const char* const kNothingToSee = "Nothing to see here .... move along!\n";

class BrainTest : public CNetParamsTest
{
protected:
    void SetUp() override
    {
        CNetParamsTest::SetUp();
        CParams::Alien_MaxPerturbation = 0.3;
    }
};
class BrainDeathTest : public BrainTest
{
};

using WeightsPerNet = std::vector<std::vector<double>>;

CNeuralNet* netWithWeights(int inputs, int outputs, int hiddenLayers, int perLayer, double first)
{
    CNeuralNet* pNet = new CNeuralNet(inputs, outputs, hiddenLayers, perLayer);
    pNet->putWeights(distinctWeights(pNet->getNumberOfWeights(), first));
    return pNet;
}

// Two networks of different shapes (9 and 8 weights), as a red alien's brain has two.
std::vector<CNeuralNet*> twoNets(double first)
{
    return {netWithWeights(2, 1, 1, 2, first), netWithWeights(3, 2, 0, 0, first + 5.0)};
}

WeightsPerNet weightsOf(const CBrain& brain)
{
    WeightsPerNet weights;
    for (int i = 0; i < brain.getNumberOfNN(); ++i)
        weights.push_back(brain.getNN(i)->getWeights());
    return weights;
}

std::vector<CNeuralNet*> netsOf(const CBrain& brain)
{
    std::vector<CNeuralNet*> nets;
    for (int i = 0; i < brain.getNumberOfNN(); ++i)
        nets.push_back(brain.getNN(i));
    return nets;
}

// Replays crossover's draws for one network of n weights: the child's copy draws its
// random weights first, then the cut.
int drawCut(int n)
{
    for (int k = 0; k < n; ++k)
        RandomClamped();
    return RandInt(0, n - 1);
}

unsigned seedWhoseCut(int n, const std::function<bool(int)>& wanted)
{
    for (unsigned seed = 1; seed < 10000; ++seed)
    {
        srand(seed);
        if (wanted(drawCut(n)))
            return seed;
    }
    ADD_FAILURE() << "no seed gives the wanted cut";
    return 0;
}

// Replays mutate's draws on one weight vector.
std::vector<double> replayMutation(std::vector<double> weights)
{
    for (double& weight : weights)
        if (RandInt(0, 100) < CParams::Alien_MutationRate)
            weight += RandomClamped() * CParams::Alien_MaxPerturbation;
    return weights;
}

struct SMutation
{
    WeightsPerNet before;
    WeightsPerNet after;
};

// Mutates a two-network brain at this rate from this seed and checks that the result
// replays the draws weight by weight.
SMutation mutateReplayed(int rate, unsigned seed)
{
    CParams::Alien_MutationRate = rate;
    CBrain brain(twoNets(0.1));
    SMutation m{weightsOf(brain), {}};
    srand(seed);
    brain.mutate();
    m.after = weightsOf(brain);
    srand(seed);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(m.after[i], replayMutation(m.before[i]));
    return m;
}

std::string savedText(const CBrain& brain)
{
    std::ostringstream out;
    brain.save(out);
    return out.str();
}
} // namespace

TEST_F(BrainTest, BrainOwnsItsNetworksInOrder)
{
    const std::vector<CNeuralNet*> nets = twoNets(0.1);
    CBrain brain(nets);
    EXPECT_TRUE(brain.isInitialized());
    EXPECT_EQ(netsOf(brain), nets);

    CNeuralNet* pThird = netWithWeights(1, 1, 0, 0, 0.5);
    brain.addNN(pThird);
    EXPECT_EQ(brain.getNumberOfNN(), 3);
    EXPECT_EQ(brain.getNN(2), pThird);

    // setNN does not delete the network it replaces: the test owns it again.
    CNeuralNet* pReplacement = netWithWeights(1, 1, 0, 0, 0.7);
    brain.setNN(0, pReplacement);
    EXPECT_EQ(brain.getNN(0), pReplacement);
    delete nets[0];
}

TEST_F(BrainTest, CopyIsDeepAndIndependent)
{
    CBrain original(twoNets(0.1));
    CBrain copy(original);
    ASSERT_EQ(copy.getNumberOfNN(), 2);
    EXPECT_TRUE(copy.isInitialized());
    EXPECT_EQ(weightsOf(copy), weightsOf(original));
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(copy.getNN(i), original.getNN(i));

    const WeightsPerNet before = weightsOf(original);
    copy.getNN(0)->putWeights(std::vector<double>(9, 0.0));
    EXPECT_EQ(weightsOf(original), before);
}

// A reborn alien keeps its brain's memory and takes the bred brain's weights into it: that
// must leave it exactly as a copy of the bred brain would be, without a random draw.
TEST_F(BrainTest, AssignedBrainIsTheCopyWithoutItsDraws)
{
    CBrain bred(twoNets(0.1));
    bred.getNN(0)->train({0.3, 0.7}, {0.9});
    CBrain own(twoNets(0.9));
    own.getNN(0)->update({0.5, 0.5});
    const CNeuralNet* ownFirst = own.getNN(0);
    std::srand(5);
    own.assign(bred);
    const int next = std::rand();
    std::srand(5);
    EXPECT_EQ(next, std::rand()); // nothing was drawn
    EXPECT_EQ(own.getNN(0), ownFirst);
    ASSERT_FALSE(allZero(weightsOf(bred)[0]));
    EXPECT_EQ(weightsOf(own), weightsOf(bred));
    const CBrain copy(bred);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(own.getNN(i)->getErrorSum(), copy.getNN(i)->getErrorSum());
        EXPECT_EQ(own.getNN(i)->isTrained(), copy.getNN(i)->isTrained());
        EXPECT_EQ(own.getNN(i)->getNumEpochs(), copy.getNN(i)->getNumEpochs());
    }
    EXPECT_EQ(own.getNN(0)->update({0.2, 0.4}), copy.getNN(0)->update({0.2, 0.4}));
    EXPECT_EQ(own.getNN(1)->update({0.2, 0.4, 0.6}), copy.getNN(1)->update({0.2, 0.4, 0.6}));
}

TEST_F(BrainTest, UninitialisedBrainHoldsNothingAndSavesNothing)
{
    CBrain brain;
    EXPECT_FALSE(brain.isInitialized());
    EXPECT_EQ(brain.getNumberOfNN(), 0);
    brain.mutate();
    brain.randomize();

    testing::internal::CaptureStderr();
    const std::string text = savedText(brain);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kNothingToSee);
    EXPECT_EQ(text, "");
}

TEST_F(BrainTest, SaveWritesCountThenEachNetworkRecord)
{
    CBrain brain({netWithWeights(2, 1, 1, 2, 0.1)});
    testing::internal::CaptureStderr();
    const std::string text = savedText(brain);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kNothingToSee);
    EXPECT_EQ(text, "1 2 1 1 2 9 0.1 -0.2 0.3 -0.4 0.5 -0.6 0.7 -0.8 0.9 ");
}

TEST_F(BrainTest, SaveThenLoadRestoresShapesAndWeights)
{
    srand(21);
    CBrain saved({new CNeuralNet(2, 1, 1, 2), new CNeuralNet(4, 3, 2, 5)});
    const WeightsPerNet expected = weightsOf(saved);
    ASSERT_FALSE(allZero(expected[1]));

    // A default brain that loads owns what it loaded, and an initialised one drops its old
    // networks: the leak check sees both freed.
    CBrain defaultBrain;
    CBrain initialisedBrain(twoNets(0.1));
    for (CBrain* pLoaded : {&defaultBrain, &initialisedBrain})
    {
        std::string text = savedText(saved);
        if (pLoaded == &initialisedBrain)
            std::replace(text.begin(), text.end(), ' ', '\n'); // any whitespace reads the same
        std::istringstream in(text);
        CBrain& loaded = *pLoaded;
        std::string error;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(loaded.load(in, error)) << error;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kNothingToSee);
        EXPECT_TRUE(loaded.isInitialized());
        ASSERT_EQ(loaded.getNumberOfNN(), 2);
        EXPECT_EQ(loaded.getNN(1)->getNumHiddenLayers(), 2);
        EXPECT_EQ(loaded.getNN(1)->getNeuronsPerHiddenLayer(), 5);
        const WeightsPerNet weights = weightsOf(loaded);
        for (int i = 0; i < 2; ++i)
        {
            ASSERT_EQ(weights[i].size(), expected[i].size());
            for (size_t k = 0; k < weights[i].size(); ++k)
                EXPECT_NEAR(weights[i][k], expected[i][k], 5e-6 * std::fabs(expected[i][k]));
        }
    }
}

TEST_F(BrainTest, BadBrainRecordLeavesBrainUnchangedAndSaysWhy)
{
    const std::string goodNet = "2 1 1 2 9 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 ";
    struct SCase { std::string record; std::string reason; };
    const SCase cases[] = {
        {"", "network count missing or not a number"},
        {"two ", "network count missing or not a number"},
        {"-1 ", "network count -1 out of range (0 to 1000)"},
        {"1001 ", "network count 1001 out of range (0 to 1000)"},
        {"1 ", "network 0: inputs missing or not a number"},
        {"1 -2 1 1 2 3 0.1 0.2 0.3 ", "network 0: inputs -2 out of range (0 to 10000)"},
        {"1 2 0 0 0 0 ", "network 0: outputs 0 out of range (1 to 10000)"},
        {"1 2 1 -1 2 ", "network 0: hidden layers -1 out of range (0 to 10000)"},
        {"1 2 1 1 10001 ", "network 0: neurons per hidden layer 10001 out of range (1 to 10000)"},
        {"1 10000 10000 10000 10000 1000200010000 ",
         "network 0: shape needs 1000200010000 weights, more than 10000000"},
        {"1 2 1 1 2 ", "network 0: weight count missing or not a number"},
        {"1 2 1 1 2 nine ", "network 0: weight count missing or not a number"},
        {"1 2 1 1 2 99999999999999999999 ", "network 0: weight count missing or not a number"},
        {"1 2 1 1 2 10 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0 ",
         "network 0: weight count 10 does not match its shape (9)"},
        {"1 2 1 1 2 -9 ", "network 0: weight count -9 does not match its shape (9)"},
        {"1 2 1 1 2 9 0.1 0.2 ", "network 0: weight 2 missing, not a number or not finite"},
        {"1 2 1 1 2 9 0.1 nan 0.3 0.4 0.5 0.6 0.7 0.8 0.9 ", "network 0: weight 1 missing, not a number or not finite"},
        {"1 2 1 1 2 9 0.1 0.2 inf 0.4 0.5 0.6 0.7 0.8 0.9 ", "network 0: weight 2 missing, not a number or not finite"},
        {"1 2 1 1 2 9 1e999 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 ", "network 0: weight 0 missing, not a number or not finite"},
        {"1 2 1 1 2 9 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 x ", "network 0: weight 8 missing, not a number or not finite"},
        // Networks already built from a good start of the record are thrown away.
        {"2 " + goodNet + "2 1 1 2 10 ", "network 1: weight count 10 does not match its shape (9)"},
        {"3 " + goodNet + goodNet, "network 2: inputs missing or not a number"},
    };

    CBrain brain(twoNets(0.1));
    const std::vector<CNeuralNet*> nets = netsOf(brain);
    const WeightsPerNet weights = weightsOf(brain);
    for (const SCase& c : cases)
    {
        SCOPED_TRACE("record \"" + c.record + "\"");
        std::istringstream in(c.record);
        std::string error;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(brain.load(in, error));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kNothingToSee);
        EXPECT_EQ(error, c.reason);
        EXPECT_TRUE(brain.isInitialized());
        EXPECT_EQ(netsOf(brain), nets);
        EXPECT_EQ(weightsOf(brain), weights);
    }
}

TEST_F(BrainTest, EmptyHiddenLayersBuiltWithoutLimitIsMended)
{
    // Each of these networks was 10000 layers of no neuron from 18 bytes: a thousand of
    // them in one brain took 320 MB.
    std::string record = "1000 ";
    for (int i = 0; i < 1000; ++i)
        record += "0 1 10000 0 1 0.5 ";
    std::istringstream in(record);
    CBrain brain;
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(brain.load(in, error));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(error, "network 0: neurons per hidden layer 0 out of range (1 to 10000)");
    EXPECT_FALSE(brain.isInitialized());

    // Without hidden layers the count is not used and may stay 0.
    std::istringstream direct("1 2 1 0 0 3 0.5 -0.5 0.25 ");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(brain.load(direct, error)) << error;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(brain.getNN(0)->getWeights(), (std::vector<double>{0.5, -0.5, 0.25}));
}

TEST_F(BrainTest, BadBrainRecordLeavesUninitialisedBrainUninitialised)
{
    CBrain brain;
    std::istringstream in("1 2 1 1 2 9 0.1 ");
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(brain.load(in, error));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(brain.isInitialized());
    EXPECT_EQ(brain.getNumberOfNN(), 0);
}

TEST_F(BrainTest, CrossoverReplaysOneCutPerNetwork)
{
    CBrain parent1(twoNets(0.1));
    CBrain parent2(twoNets(-3.0));
    ASSERT_TRUE(parent1.getNN(0)->train({0.5, 0.5}, {1.0})); // a training record to inherit
    const WeightsPerNet w1 = weightsOf(parent1);
    const WeightsPerNet w2 = weightsOf(parent2);

    srand(17);
    const int cuts[] = {drawCut(9), drawCut(8)};
    srand(17);
    CBrain child(parent1); // a copy of the first parent, as breeding makes it
    srand(17);
    child.crossover(&parent1, &parent2);

    ASSERT_EQ(child.getNumberOfNN(), 2);
    for (int j = 0; j < 2; ++j)
    {
        SCOPED_TRACE(testing::Message() << "network " << j << ", cut " << cuts[j]);
        const std::vector<double> weights = child.getNN(j)->getWeights();
        ASSERT_EQ(weights.size(), w1[j].size());
        for (int k = 0; k < (int)weights.size(); ++k)
            EXPECT_EQ(weights[k], k < cuts[j] ? w1[j][k] : w2[j][k]);
    }
    EXPECT_EQ(child.getNN(0)->getNumEpochs(), 1);
    EXPECT_EQ(child.getNN(0)->getErrorSum(), parent1.getNN(0)->getErrorSum());
}

// Breeding crosses in the reborn alien's own brain: the same draws and the same child as the
// allocating crossover, whether the brain is neither parent, the first or the second, and the
// random sequence left where the crossover leaves it.
TEST_F(BrainTest, CrossoverInPlaceMakesTheSameChildWithTheSameDraws)
{
    for (int alias = 0; alias < 3; ++alias)
    {
        SCOPED_TRACE("alias " + std::to_string(alias));
        CBrain parent1(twoNets(0.1)), parent2(twoNets(-3.0));
        ASSERT_TRUE(parent1.getNN(0)->train({0.5, 0.5}, {1.0}));
        CBrain expected(parent1);
        srand(23);
        expected.crossover(&parent1, &parent2);
        const int next = rand();

        CBrain other(twoNets(7.0));
        CBrain& child = alias == 0 ? other : alias == 1 ? parent1 : parent2;
        const std::vector<const double*> storage{child.getNN(0)->getLayers()[0].m_vNeurons[0].m_vWeights.data(),
                                                 child.getNN(1)->getLayers()[0].m_vNeurons[0].m_vWeights.data()};
        srand(23);
        child.crossoverInPlace(parent1, parent2);
        EXPECT_EQ(rand(), next);
        EXPECT_EQ(weightsOf(child), weightsOf(expected));
        EXPECT_EQ(child.getNN(0)->getNumEpochs(), expected.getNN(0)->getNumEpochs());
        EXPECT_EQ(storage[0], child.getNN(0)->getLayers()[0].m_vNeurons[0].m_vWeights.data()) << "no new storage";
        EXPECT_EQ(storage[1], child.getNN(1)->getLayers()[0].m_vNeurons[0].m_vWeights.data());
    }
}

TEST_F(BrainTest, CrossoverAtCutZeroTakesSecondParentsWeightsAndFirstParentsRecord)
{
    CBrain parent1({netWithWeights(2, 1, 1, 2, 0.1)});
    CBrain parent2({netWithWeights(2, 1, 1, 2, -3.0)});
    ASSERT_TRUE(parent1.getNN(0)->train({0.5, 0.5}, {1.0}));

    const unsigned seed = seedWhoseCut(9, [](int cut) { return cut == 0; });
    srand(seed);
    CBrain child;
    child.crossover(&parent1, &parent2);

    EXPECT_TRUE(child.isInitialized());
    EXPECT_EQ(weightsOf(child), weightsOf(parent2));
    EXPECT_TRUE(child.getNN(0)->isTrained());
    EXPECT_EQ(child.getNN(0)->getNumEpochs(), 1);
    EXPECT_EQ(child.getNN(0)->getErrorSum(), parent1.getNN(0)->getErrorSum());
}

TEST_F(BrainTest, CrossingABrainWithItselfKeepsItsWeights)
{
    CBrain parent(twoNets(0.1));
    const WeightsPerNet weights = weightsOf(parent);
    CBrain child;
    child.crossover(&parent, &parent);
    EXPECT_EQ(weightsOf(child), weights);

    // A brain may also be its own child: its parents are read before its networks go.
    parent.crossover(&parent, &parent);
    EXPECT_EQ(weightsOf(parent), weights);
}

TEST_F(BrainTest, MutationAtRateZeroChangesNothingButStillDrawsPerWeight)
{
    CParams::Alien_MutationRate = 0;
    CBrain brain(twoNets(0.1));
    const WeightsPerNet before = weightsOf(brain);
    srand(8);
    brain.mutate();
    const int next = rand();
    EXPECT_EQ(weightsOf(brain), before);

    srand(8);
    for (int k = 0; k < 9 + 8; ++k)
        RandInt(0, 100);
    EXPECT_EQ(rand(), next);
}

TEST_F(BrainTest, MutationAt101MovesEveryWeightWithinThePerturbation)
{
    const SMutation m = mutateReplayed(101, 9);
    for (int i = 0; i < 2; ++i)
        for (size_t k = 0; k < m.before[i].size(); ++k)
        {
            const double moved = std::fabs(m.after[i][k] - m.before[i][k]);
            EXPECT_GT(moved, 0.0);
            EXPECT_LT(moved, 0.3);
        }
}

TEST_F(BrainTest, MutationDrawsAPerturbationOnlyForWeightsThatMutate)
{
    const SMutation m = mutateReplayed(50, 10);
    int changed = 0;
    for (int i = 0; i < 2; ++i)
        for (size_t k = 0; k < m.before[i].size(); ++k)
            changed += m.after[i][k] != m.before[i][k];
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, 17);
}

TEST_F(BrainTest, RandomizeRedrawsEveryNetworkInOrder)
{
    CBrain brain(twoNets(0.1));
    srand(12);
    brain.randomize();
    srand(12);
    for (int i = 0; i < 2; ++i)
    {
        std::vector<double> expected(brain.getNN(i)->getNumberOfWeights());
        for (double& weight : expected)
            weight = RandomClamped();
        EXPECT_EQ(brain.getNN(i)->getWeights(), expected);
        EXPECT_EQ(brain.getNN(i)->getErrorSum(), 9999.0);
    }
}

TEST_F(BrainDeathTest, ConstructorNeedsAtLeastOneNetwork)
{
    EXPECT_DEATH(CBrain(std::vector<CNeuralNet*>{}), assertionPattern("(int)initNNs.size() > 0"));
}

TEST_F(BrainDeathTest, OnlyAnInitialisedBrainIsCopiedOrExtended)
{
    CBrain empty;
    EXPECT_DEATH({ CBrain copy(empty); }, assertionPattern("origBrain.m_bInitialized"));
    CNeuralNet net(1, 1, 0, 0);
    EXPECT_DEATH(empty.addNN(&net), assertionPattern("m_bInitialized"));
}

TEST_F(BrainDeathTest, NetworkIndexOutsideTheBrainIsRefused)
{
    CBrain brain(twoNets(0.1));
    const std::string pattern = assertionPattern("i >= 0 && i < (int)m_vNeuralNets.size()");
    EXPECT_DEATH(brain.getNN(-1), pattern);
    EXPECT_DEATH(brain.getNN(2), pattern);
    EXPECT_DEATH(brain.setNN(2, nullptr), pattern);
}

TEST_F(BrainDeathTest, CrossoverNeedsParentsOfOneKind)
{
    CBrain twoNetParent(twoNets(0.1));
    CBrain oneNetParent({netWithWeights(2, 1, 1, 2, 0.1)});
    CBrain child;
    EXPECT_DEATH(child.crossover(&twoNetParent, &oneNetParent),
                 assertionPattern("ptrParent1->getNumberOfNN() == ptrParent2->getNumberOfNN()"));

    // A second parent with fewer weights than the cut must reach the assertion, not be read
    // past its end.
    const std::string sizes = assertionPattern("childWeights.size() == vParent1Weights.size()");
    CBrain smallParent({netWithWeights(2, 1, 0, 0, 0.1)}); // 3 weights
    CBrain largeParent({netWithWeights(3, 1, 1, 2, 0.1)}); // 11 weights
    srand(seedWhoseCut(9, [](int cut) { return cut > 3; }));
    EXPECT_DEATH(child.crossover(&oneNetParent, &smallParent), sizes);
    EXPECT_DEATH(child.crossover(&oneNetParent, &largeParent), sizes);
}

TEST_F(BrainTest, OriginIsCarriedByCopiesAndAssignmentAndSetByRandomisingAndLoading)
{
    CBrain brain(twoNets(0.1));
    EXPECT_EQ(brain.getOrigin(), BRAIN_RANDOM);
    brain.setOrigin(BRAIN_CROSSED);
    EXPECT_EQ(CBrain(brain).getOrigin(), BRAIN_CROSSED);
    brain.mutate();
    EXPECT_EQ(brain.getOrigin(), BRAIN_CROSSED); // a mutated child stays what it was bred as
    CBrain own(twoNets(0.5));
    own.assign(brain);
    EXPECT_EQ(own.getOrigin(), BRAIN_CROSSED);
    own.randomize();
    EXPECT_EQ(own.getOrigin(), BRAIN_RANDOM);

    const std::string record = savedText(brain);
    testing::internal::CaptureStderr();
    std::istringstream in(record);
    std::string error;
    EXPECT_TRUE(own.load(in, error)) << error;
    EXPECT_EQ(own.getOrigin(), BRAIN_LOADED);
    own.setOrigin(BRAIN_CLONED);
    std::istringstream bad("1 2 1");
    EXPECT_FALSE(own.load(bad, error));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(own.getOrigin(), BRAIN_CLONED); // a refused record changes nothing
}
