#include "world/crandom.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "world/utils.h"

// The world's generator is the C library's sequence, number for number, for seeds across the
// whole range (0 and 1 give the same sequence, seeds above INT_MAX read as negative words).
TEST(CRandomTest, GivesTheCLibrarysSequenceForEverySeed)
{
    std::vector<unsigned> seeds = {0u, 1u, 2u, 7u, 811u, 127773u, 20261209u, 2147483647u, 2147483648u, UINT_MAX};
    for (unsigned i = 0; i < 200; ++i)
        seeds.push_back(i * 2654435761u + 12345u);
    for (const unsigned seed : seeds)
    {
        CRandom random(seed);
        std::srand(seed);
        for (int n = 0; n < 1000; ++n)
            ASSERT_EQ(random.next(), std::rand()) << "seed " << seed << ", draw " << n;
    }
    CRandom reseeded(5);
    reseeded.next();
    reseeded.seed(9);
    std::srand(9);
    EXPECT_EQ(reseeded.next(), std::rand());
}

// RandInt, RandFloat and RandomClamped draw from the generator a scope put in use, scopes nest,
// and outside every scope they draw from the C library as before.
TEST(CRandomTest, HelpersDrawFromTheGeneratorInUseAndFromRandOutside)
{
    CRandom outer(3), inner(4);
    CRandom expectOuter(3), expectInner(4);
    std::srand(5);
    const int library = std::rand();
    std::srand(5);
    {
        const CRandom::CScope useOuter(outer);
        EXPECT_EQ(RandInt(0, 1000), expectOuter.next() % 1001);
        {
            const CRandom::CScope useInner(inner);
            EXPECT_EQ(RandFloat(), (expectInner.next() % 32768) / 32768.0);
            const double first = (expectInner.next() % 32768) / 32768.0;
            const double second = (expectInner.next() % 32768) / 32768.0;
            EXPECT_EQ(RandomClamped(), first - second);
        }
        EXPECT_EQ(CRandom::inUse(), &outer);
        EXPECT_EQ(RandInt(-5, 5), -5 + expectOuter.next() % 11);
    }
    EXPECT_EQ(CRandom::inUse(), nullptr);
    EXPECT_EQ(RandInt(0, INT_MAX - 1), library % INT_MAX);
}
