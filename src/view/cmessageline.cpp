#include "view/cmessageline.h"

#include <algorithm>

void CMessageLine::post(const std::string& text, double nowMs)
{
    m_dqMessages.push_back({text, nowMs});
    if (static_cast<int>(m_dqMessages.size()) > kMaxShown)
        m_dqMessages.pop_front();
}

std::vector<CMessageLine::SShown> CMessageLine::shown(double nowMs)
{
    forgetExpired(nowMs);
    std::vector<SShown> list;
    for (const SMessage& message : m_dqMessages)
    {
        const double age = nowMs - message.dPostedMs;
        const double opacity = age <= kSteadyMs ? 1.0 : (kShowMs - age) / (kShowMs - kSteadyMs);
        list.push_back({message.sText, std::clamp(opacity, 0.0, 1.0)});
    }
    return list;
}

bool CMessageLine::isEmpty(double nowMs)
{
    forgetExpired(nowMs);
    return m_dqMessages.empty();
}

void CMessageLine::forgetExpired(double nowMs)
{
    while (!m_dqMessages.empty() && nowMs - m_dqMessages.front().dPostedMs >= kShowMs)
        m_dqMessages.pop_front();
}
