#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

// One white-space separated word of a text file, read from a stream a character at a time.
// However long the word, it keeps only what a reader can use: its first characters, for
// messages and for comparing with known names, and its value read as the standard stream
// extraction reads an int or a double (an optional sign and decimal digits, so "-0", "030"
// and "+5" are numbers; a double may add a point, a fraction and an exponent; "nan", "inf"
// and hex are not numbers), but only when the whole word is one.
class CTextWord
{
public:
    // What reading the word as a number gave (plain int codes).
    static constexpr int NUMBER = 0;       // the whole word is one, in range
    static constexpr int NOT_A_NUMBER = 1; // it is not one of the type asked for
    static constexpr int OUT_OF_RANGE = 2; // it is one, too large for the type

    // The characters kept: enough for any name the readers look for, and to show in a
    // message that a word was cut.
    static constexpr size_t KeptChars = 48;

    CTextWord();

    // Reads the next word, skipping white space; false when the stream has no more.
    bool read(std::istream& in);

    // The word's first KeptChars characters; isCut tells whether there were more.
    const std::string& start() const { return m_sStart; }
    bool isCut() const { return m_bCut; }

    int toInt(int& value) const;
    int toDouble(double& value) const;

private:
    void clear();
    void scanInt(char c);
    void scanDouble(char c);
    void scanMantissaDigit(char c);

    std::string m_sStart;
    bool m_bCut;

    // The int so far: sign and digits, the magnitude capped just past the int range.
    bool m_bIntBad;
    bool m_bIntNegative;
    bool m_bIntDigit;
    long long m_llIntMagnitude;

    // The double so far, as 0.<significant digits> x 10^(shift + exponent); digits beyond
    // those that can decide the rounding are only remembered as non-zero or not.
    int m_iDoublePart; // where the next character goes: sign, mantissa, exponent
    bool m_bDoubleBad;
    bool m_bDoubleNegative;
    bool m_bMantissaDigit;
    bool m_bPoint;
    std::string m_sDigits;
    bool m_bMoreNonZero;
    long long m_llShift;
    bool m_bExponentNegative;
    bool m_bExponentDigit;
    long long m_llExponent;
};
