#pragma once

#include <deque>
#include <string>
#include <vector>

// Short messages for the player in the window. Guarantees: a message shows for kShowMs
// after it was posted, fully for the first kSteadyMs, then fading linearly to nothing; at most
// kMaxShown show at once, newest last, a newer one pushing the oldest out; expired ones are
// forgotten, so the line holds no more than kMaxShown whatever is posted.
class CMessageLine
{
public:
    static constexpr double kShowMs = 3000.0;
    static constexpr double kSteadyMs = 2000.0;
    static constexpr int kMaxShown = 3;

    struct SShown
    {
        std::string sText;
        double dOpacity; // 1 fully shown, falling to 0
    };

    // nowMs never runs backwards from one call to the next.
    void post(const std::string& text, double nowMs);
    std::vector<SShown> shown(double nowMs);
    bool isEmpty(double nowMs);

private:
    struct SMessage
    {
        std::string sText;
        double dPostedMs;
    };
    void forgetExpired(double nowMs);

    std::deque<SMessage> m_dqMessages;
};
