#include "app/ctouchgesture.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
constexpr double kSlop = 10.0;

// One finger's event: d(own), m(ove), u(p) or c(ancelled), at a time and place.
struct SEvent
{
    char cKind;
    int iFinger;
    double dX, dY, dMs;
};

// What the gesture asked for, as words: "hold 10", "release", "tap 10,20".
std::string said(CTouchGesture& gesture, const SEvent& e)
{
    std::vector<CTouchGesture::SAction> actions;
    switch (e.cKind)
    {
    case 'd': actions = gesture.down(e.iFinger, e.dX, e.dY, e.dMs); break;
    case 'm': actions = gesture.move(e.iFinger, e.dX, e.dY, kSlop); break;
    default: actions = gesture.up(e.iFinger, e.dMs, e.cKind == 'c'); break;
    }
    std::string words;
    for (const CTouchGesture::SAction& a : actions)
    {
        const int x = static_cast<int>(a.dX), y = static_cast<int>(a.dY);
        words += std::string(words.empty() ? "" : " ") +
                 (a.iKind == CTouchGesture::DRIVE_HOLD      ? "hold " + std::to_string(x)
                  : a.iKind == CTouchGesture::DRIVE_RELEASE ? std::string("release")
                                                            : "tap " + std::to_string(x) + "," + std::to_string(y));
    }
    return words;
}

struct SCase
{
    const char* szName;
    std::vector<SEvent> vEvents;
    std::vector<std::string> vSaid; // after each event
};

const SCase kCases[] = {
    {"AShortStillTouchIsATapThatAlsoNudgedTheGun", {{'d', 1, 10, 20, 0}, {'u', 1, 0, 0, 100}}, {"hold 10", "release tap 10,20"}},
    {"AHeldFingerDrivesAndIsNoTap",
     {{'d', 1, 10, 20, 0}, {'m', 1, 40, 20, 100}, {'u', 1, 0, 0, 200}},
     {"hold 10", "hold 40", "release"}},
    {"ALongStillTouchIsNoTap", {{'d', 1, 10, 20, 0}, {'u', 1, 0, 0, 400}}, {"hold 10", "release"}},
    {"ASmallQuiverIsStillATap",
     {{'d', 1, 10, 20, 0}, {'m', 1, 14, 23, 50}, {'u', 1, 0, 0, 120}},
     {"hold 10", "hold 14", "release tap 10,20"}},
    {"ACancelledTouchLiftsWithoutATap", {{'d', 1, 10, 20, 0}, {'c', 1, 0, 0, 50}}, {"hold 10", "release"}},
    // Finger A drives; B's touch neither takes the gun nor releases A's drive when it lifts.
    {"TwoFingersFightOverOneIsMended",
     {{'d', 1, 10, 20, 0},
      {'d', 2, 300, 200, 1000},
      {'m', 2, 350, 200, 1010},
      {'u', 2, 0, 0, 1400},
      {'m', 1, 60, 20, 1500},
      {'u', 1, 0, 0, 1600},
      {'d', 2, 90, 90, 2000}},
     {"hold 10", "", "", "", "hold 60", "release", "hold 90"}},
    {"ASecondFingersTapLooksIntoAShipWhileTheFirstDrives",
     {{'d', 1, 10, 20, 0}, {'d', 2, 300, 200, 500}, {'u', 2, 0, 0, 550}, {'m', 1, 12, 20, 600}},
     {"hold 10", "", "tap 300,200", "hold 12"}},
    {"AFingerNeverDownIsIgnored", {{'m', 5, 10, 20, 0}, {'u', 5, 0, 0, 10}}, {"", ""}},
};

class CTouchGestureTest : public ::testing::TestWithParam<SCase>
{
};

TEST_P(CTouchGestureTest, EachFingerIsKnownByItsIdentifier)
{
    CTouchGesture gesture;
    const SCase& c = GetParam();
    ASSERT_EQ(c.vEvents.size(), c.vSaid.size());
    for (size_t i = 0; i < c.vEvents.size(); ++i)
        EXPECT_EQ(said(gesture, c.vEvents[i]), c.vSaid[i]) << "event " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, CTouchGestureTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SCase>& info) { return info.param.szName; });

// A storm of fingers never held more than MaxFingers starts, and lifting them all leaves none.
TEST(CTouchGestureStormTest, FingersBeyondTheLimitAreLeftOut)
{
    CTouchGesture gesture;
    for (int finger = 0; finger < 1000; ++finger)
        gesture.down(finger, finger, finger, finger);
    for (int finger = 0; finger < 1000; ++finger)
        gesture.up(finger, 5000, false);
    EXPECT_FALSE(gesture.isDriving());
    EXPECT_EQ(said(gesture, {'d', 7, 1, 1, 6000}), "hold 1") << "a new finger takes the gun again";
}
} // namespace
