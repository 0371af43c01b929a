#include "files/ctextword.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <istream>

namespace
{
// Where the next character of a double goes.
constexpr int kSign = 0;
constexpr int kMantissa = 1;
constexpr int kExponentSign = 2;
constexpr int kExponent = 3;

// Correct rounding of a double never needs more significant digits than this (767 at
// most); the rest only counts as non-zero or not.
constexpr size_t kDecidingDigits = 800;
// Shifts and exponents stop growing here: far beyond any double, far within a long long.
constexpr long long kExponentCap = 1000000000000LL;
// The largest magnitude kept for an int: one past its range is enough to refuse it.
constexpr long long kIntCap = static_cast<long long>(INT_MAX) + 2;

bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

long long capped(long long value)
{
    return value > kExponentCap ? kExponentCap : value < -kExponentCap ? -kExponentCap : value;
}
} // namespace

CTextWord::CTextWord()
{
    clear();
}

void CTextWord::clear()
{
    m_sStart.clear();
    m_bCut = false;
    m_bIntBad = m_bIntNegative = m_bIntDigit = false;
    m_llIntMagnitude = 0;
    m_iDoublePart = kSign;
    m_bDoubleBad = m_bDoubleNegative = m_bMantissaDigit = m_bPoint = false;
    m_sDigits.clear();
    m_bMoreNonZero = false;
    m_llShift = 0;
    m_bExponentNegative = m_bExponentDigit = false;
    m_llExponent = 0;
}

bool CTextWord::read(std::istream& in)
{
    clear();
    std::streambuf* buffer = in.rdbuf();
    if (!buffer)
        return false;
    int c = buffer->sgetc();
    while (c != EOF && isSpace(c))
        c = buffer->snextc();
    if (c == EOF)
        return false;
    for (; c != EOF && !isSpace(c); c = buffer->snextc())
    {
        const char ch = static_cast<char>(c);
        if (m_sStart.size() < KeptChars)
            m_sStart.push_back(ch);
        else
            m_bCut = true;
        scanInt(ch);
        scanDouble(ch);
    }
    return true;
}

void CTextWord::scanInt(char c)
{
    if (m_bIntBad)
        return;
    const bool first = m_sStart.size() == 1 && !m_bCut;
    if (first && (c == '+' || c == '-'))
        m_bIntNegative = c == '-';
    else if (isDigit(c))
    {
        m_bIntDigit = true;
        m_llIntMagnitude = m_llIntMagnitude * 10 + (c - '0');
        if (m_llIntMagnitude > kIntCap)
            m_llIntMagnitude = kIntCap;
    }
    else
        m_bIntBad = true;
}

void CTextWord::scanDouble(char c)
{
    if (m_bDoubleBad)
        return;
    switch (m_iDoublePart)
    {
    case kSign:
    case kExponentSign:
    {
        // A sign may open the mantissa and the exponent; anything else belongs to the part.
        const bool exponent = m_iDoublePart == kExponentSign;
        m_iDoublePart = exponent ? kExponent : kMantissa;
        if (c == '+' || c == '-')
            (exponent ? m_bExponentNegative : m_bDoubleNegative) = c == '-';
        else
            scanDouble(c);
        return;
    }
    case kMantissa:
        if (isDigit(c))
            scanMantissaDigit(c);
        else if (c == '.' && !m_bPoint)
            m_bPoint = true;
        else if ((c == 'e' || c == 'E') && m_bMantissaDigit)
            m_iDoublePart = kExponentSign;
        else
            m_bDoubleBad = true;
        return;
    default:
        if (!isDigit(c))
        {
            m_bDoubleBad = true;
            return;
        }
        m_bExponentDigit = true;
        m_llExponent = capped(m_llExponent * 10 + (c - '0'));
        return;
    }
}

// Leading zeros only move the point; the first significant digits are kept.
void CTextWord::scanMantissaDigit(char c)
{
    m_bMantissaDigit = true;
    if (m_sDigits.empty() && c == '0')
    {
        if (m_bPoint)
            m_llShift = capped(m_llShift - 1);
        return;
    }
    if (!m_bPoint)
        m_llShift = capped(m_llShift + 1);
    if (m_sDigits.size() < kDecidingDigits)
        m_sDigits.push_back(c);
    else if (c != '0')
        m_bMoreNonZero = true;
}

int CTextWord::toInt(int& value) const
{
    if (m_bIntBad || !m_bIntDigit)
        return NOT_A_NUMBER;
    const long long signedValue = m_bIntNegative ? -m_llIntMagnitude : m_llIntMagnitude;
    if (signedValue < INT_MIN || signedValue > INT_MAX)
        return OUT_OF_RANGE;
    value = static_cast<int>(signedValue);
    return NUMBER;
}

int CTextWord::toDouble(double& value) const
{
    const bool complete = m_iDoublePart == kMantissa || (m_iDoublePart == kExponent && m_bExponentDigit);
    if (m_bDoubleBad || !m_bMantissaDigit || !complete)
        return NOT_A_NUMBER;
    if (m_sDigits.empty())
    {
        value = m_bDoubleNegative ? -0.0 : 0.0;
        return NUMBER;
    }
    // The same decimal value in a short form, read by the same conversion the stream uses; a
    // non-zero tail beyond the deciding digits stands as one more digit, which rounds alike.
    const long long exponent = capped(m_llShift + (m_bExponentNegative ? -m_llExponent : m_llExponent));
    const std::string text = std::string(m_bDoubleNegative ? "-" : "") + "0." + m_sDigits
                             + (m_bMoreNonZero ? "1" : "") + "e" + std::to_string(exponent);
    const double converted = std::strtod(text.c_str(), nullptr);
    // As the stream does: too large fails, too small becomes zero or a subnormal.
    if (std::isinf(converted))
        return OUT_OF_RANGE;
    value = converted;
    return NUMBER;
}
