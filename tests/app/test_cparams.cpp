#include "app/cparams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "support/scratchfile.h"

namespace
{
// The parameter text with one member's value replaced.
std::string withValue(const std::string& text, const std::string& member, const std::string& value)
{
    return std::regex_replace(text, std::regex("(^|\n)" + member + " [^\n]*"), "$1" + member + " " + value);
}

class CParamsTest : public ::testing::Test
{
protected:
    void SetUp() override { CParams::resetToInitialValues(); }
    void TearDown() override { CParams::resetToInitialValues(); }

    bool load(const std::string& contents)
    {
        CScratchFile file("params_under_test.ini", contents);
        return CParams().loadParameters(file.path());
    }

    static std::string shippedWith(const std::string& member, const std::string& value)
    {
        return withValue(shippedParams(), member, value);
    }

    static std::string joined(const std::vector<std::string>& lines)
    {
        std::string all;
        for (const std::string& line : lines)
            all += line + "\n";
        return all;
    }
};

TEST_F(CParamsTest, MissingFileReturnsFalseAndChangesNothing)
{
    CParams::Window_Width = 123;
    EXPECT_FALSE(CParams().loadParameters("no_such_params_file.ini"));
    EXPECT_EQ(CParams::Window_Width, 123);
}

TEST_F(CParamsTest, EmptyFileKeepsInitialValues)
{
    EXPECT_TRUE(load(""));
    EXPECT_EQ(CParams::Window_Width, 0);
    EXPECT_EQ(CParams::Gun_AutoMode, 0);
    EXPECT_EQ(CParams::NN_Bias, -1.0);
    EXPECT_EQ(CParams::Reserved_31, -1.0);
    EXPECT_EQ(CParams::Window_Diagonal, 0.0);
    EXPECT_EQ(CParams::Alien_Diagonal, 0.0);
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: value 1 (Window_Width) is missing or not a number\n");
}

TEST_F(CParamsTest, ShippedFileLoadsEveryValueAndPassesValidation)
{
    ASSERT_TRUE(load(shippedParams()));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Window_Height, 600);
    EXPECT_EQ(CParams::Game_FramesPerSecond, 30);
    EXPECT_DOUBLE_EQ(CParams::Window_Diagonal, 1000.0);
    EXPECT_DOUBLE_EQ(CParams::Alien_Diagonal, std::sqrt(32.0 * 32.0 + 24.0 * 24.0));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, LabelsAreNotExamined)
{
    ASSERT_TRUE(load(shippedParams()));
    const double speed = CParams::Alien_MaxSpeed;
    const int autoMode = CParams::Gun_AutoDirectionInterval;
    CParams::resetToInitialValues();

    ASSERT_TRUE(load(std::regex_replace(shippedParams(), std::regex("[A-Za-z_0-9]+ "), "x ")));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Alien_MaxSpeed, speed);
    EXPECT_EQ(CParams::Gun_AutoDirectionInterval, autoMode);
    EXPECT_TRUE(CParams::validate("params.ini").empty());
}

TEST_F(CParamsTest, PairsMaySpanLines)
{
    ASSERT_TRUE(load("Window_Width 800 Window_Height\n600\n"));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Window_Height, 600);
    EXPECT_EQ(CParams::Game_FramesPerSecond, 0);
    EXPECT_DOUBLE_EQ(CParams::Window_Diagonal, 1000.0);
}

TEST_F(CParamsTest, FractionalIntShiftsTheRestAndStopsLoading)
{
    ASSERT_TRUE(load("Window_Width 12.5 Window_Height 600 Game_FramesPerSecond 30\n"));
    EXPECT_EQ(CParams::Window_Width, 12);
    // ".5" was taken as the next label, so "Window_Height" met the value extraction and failed.
    EXPECT_EQ(CParams::Window_Height, 0);
    EXPECT_EQ(CParams::Game_FramesPerSecond, 0);
    EXPECT_EQ(joined(CParams::validate("params.ini")), "params.ini: value 2 (.5) is missing or not a number\n");
}

TEST_F(CParamsTest, FailedValueKeepsThePreviousValueNotZero)
{
    ASSERT_TRUE(load(shippedParams()));
    ASSERT_TRUE(load("a 640 b 480 c thirty d 5\n"));
    EXPECT_EQ(CParams::Window_Width, 640);
    EXPECT_EQ(CParams::Window_Height, 480);
    EXPECT_EQ(CParams::Game_FramesPerSecond, 30);
    EXPECT_EQ(CParams::Window_TopMargin, 40);
}

TEST_F(CParamsTest, OverlongLabelIsSkippedAsOneWord)
{
    const std::string label(200, 'L');
    ASSERT_TRUE(load(label + " 800 " + label + " 600"));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Window_Height, 600);
}

TEST_F(CParamsTest, TruncatedFileNamesTheFirstMissingValue)
{
    std::string text = shippedParams();
    size_t cut = 0;
    for (int line = 0; line < 11; ++line)
        cut = text.find('\n', cut) + 1;
    ASSERT_TRUE(load(text.substr(0, cut)));
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: value 12 (Alien_BeingBornTime) is missing or not a number\n");

    ASSERT_TRUE(load(shippedWith("Alien_BeingBornTime", "soon")));
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: value 12 (Alien_BeingBornTime) is missing or not a number\n");
}

struct SBrokenValue
{
    const char* szMember;
    const char* szValue;
    const char* szExpected;
};

void PrintTo(const SBrokenValue& broken, std::ostream* os)
{
    *os << broken.szMember << " " << broken.szValue;
}

class CParamsRuleTest : public CParamsTest, public ::testing::WithParamInterface<SBrokenValue>
{
};

TEST_P(CParamsRuleTest, BrokenRuleIsReportedWithMemberAndValue)
{
    const SBrokenValue& broken = GetParam();
    ASSERT_TRUE(load(shippedWith(broken.szMember, broken.szValue)));
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_EQ(problems[0], std::string("params.ini: ") + broken.szExpected);
}

INSTANTIATE_TEST_SUITE_P(
    EachRule, CParamsRuleTest,
    ::testing::Values(
        SBrokenValue{"Stats_UpdateInterval", "0", "Stats_UpdateInterval = 0 must be positive"},
        SBrokenValue{"Window_Width", "100000", "Window_Width = 100000 must be at most 16384"},
        SBrokenValue{"Game_FramesPerSecond", "0", "Game_FramesPerSecond = 0 must be positive"},
        SBrokenValue{"Stats_SaveInterval", "-5", "Stats_SaveInterval = -5 must be positive"},
        SBrokenValue{"Alien_Mass", "0", "Alien_Mass = 0 must be positive"},
        SBrokenValue{"Gun_Mass", "-1", "Gun_Mass = -1 must be positive"},
        SBrokenValue{"NN_ActivationResponse", "0", "NN_ActivationResponse = 0 must be positive"},
        SBrokenValue{"Alien_DyingTime", "-1", "Alien_DyingTime = -1 must not be negative"},
        SBrokenValue{"Alien_NumberOfRed", "-3", "Alien_NumberOfRed = -3 must not be negative"},
        SBrokenValue{"Alien_NumberOfGreen", "2000000000", "Alien_NumberOfGreen = 2000000000 must be at most 10000"},
        SBrokenValue{"Alien_NN_Movement_NumInputs", "2",
                     "Alien_NN_Movement_NumInputs = 2 must be 6 while Alien_NN_Movement_UseSensors is on"},
        SBrokenValue{"Alien_NN_Movement_UseSensors", "0",
                     "Alien_NN_Movement_NumInputs = 6 must be 2 while Alien_NN_Movement_UseSensors is off"},
        SBrokenValue{"Alien_NN_Movement_NumOutputs", "1", "Alien_NN_Movement_NumOutputs = 1 must be at least 2"},
        SBrokenValue{"Alien_NN_Attack_NumInputs", "3", "Alien_NN_Attack_NumInputs = 3 must be 4"},
        SBrokenValue{"Alien_NN_Attack_NumOutputs", "0", "Alien_NN_Attack_NumOutputs = 0 must be at least 1"},
        SBrokenValue{"Alien_NumberInPool", "0", "Alien_NumberInPool = 0 must be at least 1"},
        SBrokenValue{"Alien_PercentBestInPool", "0", "Alien_PercentBestInPool = 0 must be from 1 to 100"},
        SBrokenValue{"Alien_PercentBestInPool", "101", "Alien_PercentBestInPool = 101 must be from 1 to 100"},
        SBrokenValue{"Window_BottomMargin", "500",
                     "Window_Height - Window_TopMargin - Window_BottomMargin = 60 must be at least four times Alien_Height"},
        SBrokenValue{"Alien_Width", "201", "Window_Width = 800 must be at least four times Alien_Width"},
        SBrokenValue{"Gun_Width", "800", "Gun_Width = 800 must be less than Window_Width"},
        SBrokenValue{"Bullet_Speed", "0", "Bullet_Speed = 0 must be positive"},
        SBrokenValue{"Alien_NN_Movement_NeuronsPerHiddenLayer", "0",
                     "Alien_NN_Movement_NeuronsPerHiddenLayer = 0 must be at least 1 while "
                     "Alien_NN_Movement_NumHiddenLayers is positive"},
        SBrokenValue{"Alien_NN_Attack_NeuronsPerHiddenLayer", "0",
                     "Alien_NN_Attack_NeuronsPerHiddenLayer = 0 must be at least 1 while "
                     "Alien_NN_Attack_NumHiddenLayers is positive"},
        SBrokenValue{"Alien_SensorWidthScale", "0.5", "Alien_SensorWidthScale = 0.5 must be at least 1"}),
    [](const ::testing::TestParamInfo<SBrokenValue>& info)
    { return std::string(info.param.szMember) + "_" + std::to_string(info.index); });

TEST_F(CParamsTest, EveryBrokenRuleGetsItsOwnLine)
{
    ASSERT_TRUE(load(withValue(shippedWith("Alien_Mass", "0"), "Gun_Mass", "0")));
    EXPECT_EQ(joined(CParams::validate("my.ini")),
              "my.ini: Alien_Mass = 0 must be positive\nmy.ini: Gun_Mass = 0 must be positive\n");
}
TEST_F(CParamsTest, BandHeightOfExtremeValuesOverflowsIsMended)
{
    ASSERT_TRUE(load(withValue(shippedWith("Window_Height", "-2147483648"), "Window_TopMargin", "1")));
    const std::string problems = joined(CParams::validate("params.ini"));
    EXPECT_NE(problems.find("params.ini: Window_Height - Window_TopMargin - Window_BottomMargin = -2.14748e+09 must be "
                            "at least four times Alien_Height\n"),
              std::string::npos)
        << problems;
}

TEST_F(CParamsTest, ReadingAStreamTellsWhetherEveryValueWasRead)
{
    std::istringstream whole(shippedParams());
    EXPECT_TRUE(CParams::readParameters(whole));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Gun_AutoMode, 0);
    EXPECT_EQ(joined(CParams::validate("stream")), "");

    CParams::resetToInitialValues();
    std::istringstream truncated("Window_Width 640 Window_Height 480");
    EXPECT_FALSE(CParams::readParameters(truncated));
    EXPECT_EQ(CParams::Window_Width, 640);
    EXPECT_EQ(CParams::Window_Height, 480);
    EXPECT_EQ(joined(CParams::validate("stream")), "stream: value 3 (Game_FramesPerSecond) is missing or not a number\n");
}

TEST_F(CParamsTest, OversizedNetworkIsRefused)
{
    ASSERT_TRUE(load(withValue(shippedWith("Alien_NN_Movement_NumHiddenLayers", "3"),
                                   "Alien_NN_Movement_NeuronsPerHiddenLayer", "1000")));
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: Alien_NN_Movement_NeuronsPerHiddenLayer = 1000 makes a network of more than 1000000 weights\n");
}
} // namespace
