#pragma once

#include <algorithm>

// Pixels that several pictures share: each picture accepted takes its pixels from what is
// left and gives them back when it is let go, so that together they never hold more than
// the total, however large each file may be on its own.
class CPixelBudget
{
public:
    explicit CPixelBudget(long long total) : m_iTotal(total), m_iLeft(total) {}

    long long getTotal() const { return m_iTotal; }
    long long getLeft() const { return m_iLeft; }
    // False, taking nothing, when fewer pixels are left.
    bool take(long long pixels)
    {
        if (pixels > m_iLeft)
            return false;
        m_iLeft -= pixels;
        return true;
    }
    void giveBack(long long pixels) { m_iLeft = std::min(m_iTotal, m_iLeft + pixels); }

private:
    long long m_iTotal;
    long long m_iLeft;
};
