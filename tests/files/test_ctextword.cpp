#include "files/ctextword.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace
{
CTextWord wordOf(const std::string& text)
{
    std::istringstream in(text);
    CTextWord word;
    EXPECT_TRUE(word.read(in)) << text;
    return word;
}

// What the standard stream extraction makes of the whole word: true when it reads all of it.
template <typename T> bool streamReads(const std::string& text, T& value)
{
    std::istringstream in(text);
    return in >> value && in.peek() == EOF;
}

// The word reads as the stream reads it: the same value when the stream takes it whole, and
// otherwise no value ("out of range" exactly where the stream stops at the type's limit).
void expectSameAsStream(const std::string& text)
{
    const CTextWord word = wordOf(text);
    double streamDouble = 0.0, ownDouble = 0.0;
    const bool doubleWhole = streamReads(text, streamDouble);
    const int doubleCode = word.toDouble(ownDouble);
    if (doubleWhole)
    {
        ASSERT_EQ(doubleCode, CTextWord::NUMBER) << text;
        ASSERT_EQ(std::memcmp(&ownDouble, &streamDouble, sizeof(double)), 0) << text << ": " << ownDouble;
    }
    else
        ASSERT_NE(doubleCode, CTextWord::NUMBER) << text;

    int streamInt = 0, ownInt = 0;
    const bool intWhole = streamReads(text, streamInt);
    const int intCode = word.toInt(ownInt);
    if (intWhole)
    {
        ASSERT_EQ(intCode, CTextWord::NUMBER) << text;
        ASSERT_EQ(ownInt, streamInt) << text;
    }
    else
        ASSERT_NE(intCode, CTextWord::NUMBER) << text;
}

TEST(CTextWordTest, ReadsNumbersAsTheStreamReadsThem)
{
    for (const char* text : {"0", "-0", "+5", "030", "-2147483648", "2147483647", "12.5", ".5", "5.", "1e5", "1E-5",
                             "+.5e+3", "-0.0", "1e-320", "1e-400", "0.1", "2.2250738585072011e-308",
                             "4.9406564584124654e-324", "1.7976931348623157e308", "9007199254740993"})
        expectSameAsStream(text);
}

TEST(CTextWordTest, RandomWordsOfNumberCharactersReadAsTheStreamReadsThem)
{
    std::srand(7);
    const char alphabet[] = "0123456789+-.eE";
    for (int i = 0; i < 20000; ++i)
    {
        std::string text;
        const int length = 1 + std::rand() % 12;
        for (int k = 0; k < length; ++k)
            text.push_back(alphabet[std::rand() % (sizeof alphabet - 1)]);
        expectSameAsStream(text);
    }
}

// Digits beyond those kept still round the value as the stream rounds it.
TEST(CTextWordTest, LongNumbersReadAsTheStreamReadsThem)
{
    const std::string zeros(2000, '0');
    const std::string nines(1500, '9');
    for (const std::string& text :
         {"0." + zeros + "1e2001", zeros + "42", "1." + zeros + "1", "0." + nines, nines, "-" + nines + "e-1500",
          // Exactly halfway between two doubles, then just above: the last digit decides.
          "9007199254740993." + zeros, "9007199254740993." + zeros + "1", "1e" + zeros + "5", "1e-" + zeros + "5"})
        expectSameAsStream(text);
}

TEST(CTextWordTest, WhatTheStreamRefusesIsNoNumberOrOutOfRange)
{
    double d = 0.0;
    int i = 0;
    for (const char* text : {"nan", "inf", "-inf", "0x1E", "0x1p3", "1e", "1e+", "+", "-", ".", "e5", "1.2.3", "5x"})
    {
        EXPECT_EQ(wordOf(text).toDouble(d), CTextWord::NOT_A_NUMBER) << text;
        EXPECT_EQ(wordOf(text).toInt(i), CTextWord::NOT_A_NUMBER) << text;
    }
    EXPECT_EQ(wordOf("1e309").toDouble(d), CTextWord::OUT_OF_RANGE);
    EXPECT_EQ(wordOf("-1e309").toDouble(d), CTextWord::OUT_OF_RANGE);
    EXPECT_EQ(wordOf("1e308").toInt(i), CTextWord::NOT_A_NUMBER);
    EXPECT_EQ(wordOf("12.5").toInt(i), CTextWord::NOT_A_NUMBER);
    EXPECT_EQ(wordOf("2147483648").toInt(i), CTextWord::OUT_OF_RANGE);
    EXPECT_EQ(wordOf("-2147483649").toInt(i), CTextWord::OUT_OF_RANGE);
    EXPECT_EQ(wordOf(std::string(5000, '9')).toInt(i), CTextWord::OUT_OF_RANGE);
}

TEST(CTextWordTest, WordsAreSplitAtAnyWhiteSpaceAndLongOnesKeepOnlyTheirStart)
{
    std::istringstream in(" \t\r\nfirst\r\n\v\fsecond " + std::string(1000, 'x') + "\n");
    CTextWord word;
    ASSERT_TRUE(word.read(in));
    EXPECT_EQ(word.start(), "first");
    EXPECT_FALSE(word.isCut());
    ASSERT_TRUE(word.read(in));
    EXPECT_EQ(word.start(), "second");
    ASSERT_TRUE(word.read(in));
    EXPECT_EQ(word.start(), std::string(CTextWord::KeptChars, 'x'));
    EXPECT_TRUE(word.isCut());
    EXPECT_FALSE(word.read(in));
}
} // namespace
