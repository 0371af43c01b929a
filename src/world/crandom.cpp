#include "world/crandom.h"

CRandom* CRandom::s_pInUse = nullptr;

void CRandom::seed(unsigned seed)
{
    // The library's seeding: a zero seed is taken as 1, the state filled by the minimal
    // standard generator (16807 * x mod 2^31 - 1, kept within 31 bits by Schrage's method)
    // from the seed read as a signed 32-bit word, then ten rounds of the state thrown away.
    if (seed == 0)
        seed = 1;
    int32_t word = static_cast<int32_t>(seed);
    m_aState[0] = word;
    for (int i = 1; i < kDegree; ++i)
    {
        const long long hi = word / 127773;
        const long long lo = word % 127773;
        long long next = 16807 * lo - 2836 * hi;
        if (next < 0)
            next += 2147483647;
        word = static_cast<int32_t>(next);
        m_aState[i] = word;
    }
    m_iFront = kSeparation;
    m_iRear = 0;
    for (int i = 0; i < 10 * kDegree; ++i)
        next();
}
