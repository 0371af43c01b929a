#include "files/kassert.h"

#include <gtest/gtest.h>

TEST(KaAssertDeathTest, FailedCheckNamesExpressionFileAndLineThenAborts)
{
    const int two = 2;
    EXPECT_DEATH(KA_ASSERT(two == 3), "Assertion failed: two == 3, file test_kassert.cpp, line [0-9]+");
}

TEST(KaAssertTest, PassingCheckDoesNothing)
{
    int calls = 0;
    KA_ASSERT(++calls == 1);
    EXPECT_EQ(calls, 1); // the expression is evaluated exactly once
}
