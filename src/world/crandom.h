#pragma once

#include <cstdint>

// A random sequence of its own: after seed(s), next() gives exactly the numbers that
// srand(s) and rand() of the GNU C library give (its additive feedback generator of degree
// 31), on every platform and C library, the browser's included, and without the library's
// lock. A world draws from a generator of its own, so that worlds stepped side by side never
// change each other's course and a seed replays a world wherever it runs.
// RandInt, RandFloat and RandomClamped draw from the generator in use (see CScope), and from
// the C library's rand() while none is: after srand(s) they give what they always gave.
class CRandom
{
public:
    static constexpr int Max = 2147483647; // the largest value of next()

    explicit CRandom(unsigned seed = 1) { this->seed(seed); }

    void seed(unsigned seed);
    // 0 to Max.
    int next()
    {
        const uint32_t sum = static_cast<uint32_t>(m_aState[m_iFront]) + static_cast<uint32_t>(m_aState[m_iRear]);
        m_aState[m_iFront] = static_cast<int32_t>(sum);
        m_iFront = m_iFront + 1 == kDegree ? 0 : m_iFront + 1;
        m_iRear = m_iRear + 1 == kDegree ? 0 : m_iRear + 1;
        return static_cast<int>(sum >> 1);
    }

    // While it lives, RandInt, RandFloat and RandomClamped draw from the given generator;
    // the one in use before comes back when it ends. Scopes nest.
    class CScope
    {
    public:
        explicit CScope(CRandom& random) : m_pOuter(s_pInUse) { s_pInUse = &random; }
        ~CScope() { s_pInUse = m_pOuter; }
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;

    private:
        CRandom* m_pOuter;
    };
    // The generator a scope put in use; null outside every scope.
    static CRandom* inUse() { return s_pInUse; }

private:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    int32_t m_aState[kDegree];
    int m_iFront; // the newer of the two taps, kSeparation ahead of the rear
    int m_iRear;
    static CRandom* s_pInUse; // the game runs on one thread
};
