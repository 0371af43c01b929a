#include "app/cparams.h"

#include "aliens/calien_red.h"
#include "world/worldmemory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <cstring>
#include <regex>
#include <sstream>
#include <streambuf>

#include "support/devicenode.h"
#include "support/heapbytes.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"

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
              "params.ini: Window_Width: the value is missing (the file ends before it)\n");
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
    EXPECT_TRUE(CParams::warnings("params.ini").empty());
}

TEST_F(CParamsTest, PairsMaySpanLines)
{
    ASSERT_TRUE(load("Window_Width 800 Window_Height\n600\n"));
    EXPECT_EQ(CParams::Window_Width, 800);
    EXPECT_EQ(CParams::Window_Height, 600);
    EXPECT_EQ(CParams::Game_FramesPerSecond, 0);
    EXPECT_DOUBLE_EQ(CParams::Window_Diagonal, 1000.0);
}

// The stream read 12 and took ".5" for the next label, blaming the value after it.
TEST_F(CParamsTest, FractionalIntBlamedOnTheNextValueIsMended)
{
    ASSERT_TRUE(load("Window_Width 12.5 Window_Height 600 Game_FramesPerSecond 30\n"));
    EXPECT_EQ(CParams::Window_Width, 0);
    EXPECT_EQ(CParams::Window_Height, 0);
    EXPECT_EQ(joined(CParams::validate("params.ini")), "params.ini: Window_Width: '12.5' is not an integer\n");
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
              "params.ini: Alien_BeingBornTime: the value is missing (the file ends before it)\n");

    ASSERT_TRUE(load(shippedWith("Alien_BeingBornTime", "soon")));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "params.ini: Alien_BeingBornTime: 'soon' is not a number\n");
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
                     "Alien_NN_Movement_NumInputs = 2 must be 8 while Alien_NN_Movement_UseSensors is on and "
                     "Alien_NN_Movement_GunBullets is 1"},
        SBrokenValue{"Alien_NN_Movement_UseSensors", "0",
                     "Alien_NN_Movement_NumInputs = 8 must be 4 while Alien_NN_Movement_UseSensors is off and "
                     "Alien_NN_Movement_GunBullets is 1"},
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
        SBrokenValue{"Alien_SensorWidthScale", "0.5", "Alien_SensorWidthScale = 0.5 must be at least 1"},
        SBrokenValue{"Alien_Green_PoolHalfLife", "-0.25", "Alien_Green_PoolHalfLife = -0.25 must not be negative"},
        SBrokenValue{"Alien_Red_PoolHalfLife", "-1", "Alien_Red_PoolHalfLife = -1 must not be negative"},
        SBrokenValue{"Alien_NN_Movement_GunBullets", "5",
                     "Alien_NN_Movement_GunBullets = 5 must be a whole number from 0 to 4"},
        SBrokenValue{"Alien_NN_Movement_GunBullets", "0.5",
                     "Alien_NN_Movement_GunBullets = 0.5 must be a whole number from 0 to 4"},
        SBrokenValue{"Alien_NN_Movement_GunBullets", "0",
                     "Alien_NN_Movement_NumInputs = 8 must be 6 while Alien_NN_Movement_UseSensors is on"},
        SBrokenValue{"Alien_NN_Movement_GunBullets", "2",
                     "Alien_NN_Movement_NumInputs = 8 must be 10 while Alien_NN_Movement_UseSensors is on and "
                     "Alien_NN_Movement_GunBullets is 2"},
        SBrokenValue{"Alien_Red_FitnessRule", "2", "Alien_Red_FitnessRule = 2 must be a whole number from 0 to 1"},
        SBrokenValue{"Alien_Red_FitnessRule", "1e300",
                     "Alien_Red_FitnessRule = 1e+300 must be a whole number from 0 to 1"}),
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
    EXPECT_EQ(joined(CParams::validate("stream")),
              "stream: Game_FramesPerSecond: the value is missing (the file ends before it)\n");
}

TEST_F(CParamsTest, OversizedNetworkIsRefused)
{
    ASSERT_TRUE(load(withValue(shippedWith("Alien_NN_Movement_NumHiddenLayers", "3"),
                                   "Alien_NN_Movement_NeuronsPerHiddenLayer", "1000")));
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: Alien_NN_Movement_NeuronsPerHiddenLayer = 1000 makes a network of more than 1000000 weights\n");
}

// The only problem the text's values have.
void expectOnlyProblem(const std::string& text, const std::string& expected)
{
    CScratchFile file("params_rule.ini", text);
    ASSERT_TRUE(CParams().loadParameters(file.path()));
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << expected;
    EXPECT_EQ(problems[0], "params.ini: " + expected);
}

std::string shippedWithEach(std::initializer_list<std::pair<const char*, const char*>> values)
{
    std::string text = shippedParams();
    for (const auto& [member, value] : values)
        text = withValue(text, member, value);
    return text;
}

TEST_F(CParamsTest, ValueBlamedOnALaterMemberOrAPartOfItsTokenIsMended)
{
    expectOnlyProblem(shippedWith("Window_Width", "1e308"), "Window_Width: '1e308' is not an integer");
    expectOnlyProblem(shippedWith("Window_Width", "0x1E"), "Window_Width: '0x1E' is not an integer");
    expectOnlyProblem(shippedWith("Alien_Width", "abc"), "Alien_Width: 'abc' is not a number");
    expectOnlyProblem(shippedWith("Alien_Width", "32px"), "Alien_Width: '32px' is not a number");
    expectOnlyProblem(shippedWith("Window_Height", "2147483648"),
                      "Window_Height: '2147483648' is outside the range of an integer (-2147483648 to 2147483647)");
}

TEST_F(CParamsTest, NanInfinityHexAndOverflowAreRefusedNamingTheMember)
{
    expectOnlyProblem(shippedWith("Alien_Mass", "nan"), "Alien_Mass: 'nan' is not a number");
    expectOnlyProblem(shippedWith("Alien_Mass", "inf"), "Alien_Mass: 'inf' is not a number");
    expectOnlyProblem(shippedWith("Alien_Mass", "-inf"), "Alien_Mass: '-inf' is not a number");
    expectOnlyProblem(shippedWith("Alien_Mass", "0x1p3"), "Alien_Mass: '0x1p3' is not a number");
    expectOnlyProblem(shippedWith("Alien_Mass", "1e309"),
                      "Alien_Mass: '1e309' is too large for a number (the largest is about 1.8e308)");
}

TEST_F(CParamsTest, SignsAndLeadingZerosReadAsBefore)
{
    ASSERT_TRUE(load(shippedWithEach({{"Window_TopMargin", "+40"}, {"Window_BottomMargin", "0150"},
                                      {"Alien_ReproductionOn", "-0"}, {"Alien_Mass", "+1e3"}, {"NN_Bias", "-1."}})));
    EXPECT_EQ(CParams::Window_TopMargin, 40);
    EXPECT_EQ(CParams::Window_BottomMargin, 150);
    EXPECT_EQ(CParams::Alien_ReproductionOn, 0);
    EXPECT_EQ(CParams::Alien_Mass, 1000.0);
    EXPECT_EQ(CParams::NN_Bias, -1.0);
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, LineEndsByteOrderMarkAndTabsReadAsBefore)
{
    const std::string shipped = shippedParams();
    const std::string crlf = std::regex_replace(shipped, std::regex("\n"), "\r\n");
    const std::string tabs = std::regex_replace(shipped, std::regex(" "), "\t \t");
    ASSERT_TRUE(load(shipped));
    const double maxSpeed = CParams::Alien_MaxSpeed;
    for (const std::string& text : {crlf, "\xEF\xBB\xBF" + shipped, tabs, "\xEF\xBB\xBF" + crlf})
    {
        CParams::resetToInitialValues();
        ASSERT_TRUE(load(text));
        EXPECT_EQ(CParams::Window_Width, 800);
        EXPECT_EQ(CParams::Alien_MaxSpeed, maxSpeed);
        EXPECT_EQ(CParams::Bullet_Speed, 0.6);
        EXPECT_EQ(CParams::Gun_AutoMode, 0);
        EXPECT_EQ(joined(CParams::validate("params.ini")), "");
        EXPECT_TRUE(CParams::warnings("params.ini").empty());
    }
}

TEST_F(CParamsTest, StrayLineShiftingEveryLaterValueSilentlyIsMended)
{
    std::string text = shippedParams();
    text.insert(text.find('\n') + 1, "Comment 5\n");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(CParams::Window_Height, 5);
    EXPECT_EQ(joined(CParams::warnings("params.ini")),
              "params.ini: warning: value 3 (Game_FramesPerSecond) is labelled 'Window_Height', the name of value 2: "
              "the file's order looks broken (a stray, missing or swapped line?), and values are taken by their "
              "position\n");
}

// A warning alone does not refuse the file: labels are for the reader of the file.
TEST_F(CParamsTest, SwappedLinesTakenSilentlyIsMended)
{
    const std::string times = shippedWithEach({{"Alien_DyingTime", "600"}, {"Alien_BeingBornTime", "1000"}});
    const std::string text = std::regex_replace(times, std::regex("(Alien_DyingTime [^\n]*)\n(Alien_BeingBornTime [^\n]*)\n"),
                                                "$2\n$1\n");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(CParams::Alien_DyingTime, 1000.0);
    EXPECT_EQ(CParams::Alien_BeingBornTime, 600.0);
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
    EXPECT_EQ(joined(CParams::warnings("params.ini")),
              "params.ini: warning: value 11 (Alien_DyingTime) is labelled 'Alien_BeingBornTime', the name of value "
              "12: the file's order looks broken (a stray, missing or swapped line?), and values are taken by their "
              "position\n");
}

TEST_F(CParamsTest, EscapeCodesOfTheFilePrintedRawIsMended)
{
    ASSERT_TRUE(load("\x1b[2J\x1b]0;title\x07 x\n"));
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: Window_Width (labelled '\\x1B[2J\\x1B]0;title\\x07'): 'x' is not an integer\n");
    ASSERT_TRUE(load("Window_Width \x1b[31m800\n"));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "params.ini: Window_Width: '\\x1B[31m800' is not an integer\n");
}

// Hands out a label of the given length a piece at a time, then the rest of a file, and
// notes the most the heap held while the reader asked for more.
class CLongLabelBuffer : public std::streambuf
{
public:
    CLongLabelBuffer(size_t labelLength, const std::string& rest)
        : m_left(labelLength), m_sPiece(1 << 16, 'L'), m_sRest(rest), m_peak(heapBytesInUse())
    {
    }
    size_t peak() const { return m_peak; }

protected:
    int_type underflow() override
    {
        m_peak = std::max(m_peak, heapBytesInUse());
        std::string* source = m_left > 0 ? &m_sPiece : m_bRestGiven ? nullptr : &m_sRest;
        if (!source)
            return traits_type::eof();
        const size_t n = source == &m_sPiece ? std::min(m_left, m_sPiece.size()) : m_sRest.size();
        if (source == &m_sPiece)
            m_left -= n;
        else
            m_bRestGiven = true;
        setg(source->data(), source->data(), source->data() + n);
        return traits_type::to_int_type(source->front());
    }

private:
    size_t m_left;
    std::string m_sPiece;
    std::string m_sRest;
    bool m_bRestGiven = false;
    size_t m_peak;
};

TEST_F(CParamsTest, HugeLabelStoredWholeAndEchoedWholeIsMended)
{
    const size_t before = heapBytesInUse();
    CLongLabelBuffer buffer(100000000, " 1e308\n");
    std::istream in(&buffer);
    EXPECT_FALSE(CParams::readParameters(in));
    EXPECT_LT(static_cast<long long>(buffer.peak()) - static_cast<long long>(before), 1 << 20);
    EXPECT_EQ(joined(CParams::validate("params.ini")),
              "params.ini: Window_Width (labelled '" + std::string(40, 'L') + "...'): '1e308' is not an integer\n");
}

TEST_F(CParamsTest, HugeFileReadWholeIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    const std::string path = folder / "params.ini";
    std::ofstream(path) << "Window_Width ";
    ASSERT_EQ(truncate(path.c_str(), 100000000), 0);
    std::string error;
    CParams::Window_Width = 123;
    EXPECT_FALSE(CParams().loadParameters(path.c_str(), error));
    EXPECT_EQ(error, "is larger than 1048576 bytes");
    EXPECT_EQ(CParams::Window_Width, 123);
}

// The reason the parameter file at the path cannot be read; empty when it can.
std::string whyNotLoaded(const std::string& path)
{
    std::string error;
    return CParams().loadParameters(path.c_str(), error) ? "" : error;
}

TEST_F(CParamsTest, FifoOrFolderAsTheParameterFileHangingOrMisreadIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((folder / "folder").c_str(), 0700), 0);
    CParams::Window_Width = 123;
    EXPECT_EQ(whyNotLoaded(folder / "fifo"), "is not a regular file");
    EXPECT_EQ(whyNotLoaded(folder / "folder"), "is a folder");
    EXPECT_EQ(CParams::Window_Width, 123);
}

TEST_F(CParamsTest, DeviceBehindALinkGrowingMemoryWithoutBoundIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    // A node of its own with the numbers of an endless device; never opened for reading.
    if (!makeDeviceNode(folder / "zero", 5))
        GTEST_SKIP() << "mknod is refused here";
    ASSERT_EQ(symlink((folder / "zero").c_str(), (folder / "params.ini").c_str()), 0);
    EXPECT_EQ(whyNotLoaded(folder / "zero"), "is not a regular file");
    EXPECT_EQ(whyNotLoaded(folder / "params.ini"), "is not a regular file");
}

TEST_F(CParamsTest, DanglingAndLoopingLinksAreRefusedWithTheReason)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    ASSERT_EQ(symlink("missing.ini", (folder / "dangling").c_str()), 0);
    ASSERT_EQ(symlink("b", (folder / "a").c_str()), 0);
    ASSERT_EQ(symlink("a", (folder / "b").c_str()), 0);
    EXPECT_EQ(whyNotLoaded(folder / "dangling"), "No such file or directory");
    EXPECT_EQ(whyNotLoaded(folder / "a"), "Too many levels of symbolic links");
}

TEST_F(CParamsTest, UnreadableFileGivesThePermissionReason)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    const std::string path = folder / "params.ini";
    std::ofstream(path) << shippedParams();
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    if (access(path.c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files without read permission";
    EXPECT_EQ(whyNotLoaded(path), "Permission denied");
}

// A params.ini over 1 MB, or a folder, was first reported as "Cannot find 'params.ini'": only a
// missing file is said not to be found; the others are told as what they are.
TEST_F(CParamsTest, ParamsFileTooLargeReportedAsNotFoundIsMended)
{
    CScratchFolder folder;
    ASSERT_TRUE(folder.isReady());
    ASSERT_EQ(mkdir((folder / "dir.ini").c_str(), 0700), 0);
    std::ofstream(folder / "huge.ini") << std::string(CParams::MaxFileBytes + 1, ' ');
    const auto said = [](const std::string& path) {
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(CParams::loadAndReport(path));
        return ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(said(folder / "dir.ini"), folder / "dir.ini" + ": is a folder\n");
    EXPECT_EQ(said(folder / "huge.ini"), folder / "huge.ini" + ": is larger than 1048576 bytes\n");
    EXPECT_EQ(said(folder / "none.ini"),
              "Cannot find '" + folder / "none.ini" + "'\n" + folder / "none.ini" + ": No such file or directory\n");
}

TEST_F(CParamsTest, RandomBytesAreRefusedWithOnePrintableLine)
{
    std::srand(3);
    for (int file = 0; file < 50; ++file)
    {
        std::string bytes(2000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(std::rand() % 256);
        ASSERT_TRUE(load(bytes));
        const std::vector<std::string> problems = CParams::validate("params.ini");
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_TRUE(std::all_of(problems[0].begin(), problems[0].end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
            << problems[0];
        EXPECT_LT(problems[0].size(), 400u); // two excerpts of 40 characters, each shown in at most four
    }
}

TEST_F(CParamsTest, TurretRateMakingTheLookAheadWalkEndlessIsMended)
{
    expectOnlyProblem(shippedWith("Alien_Red_TurretTurnRate", "1e308"),
                      "Alien_Red_TurretTurnRate = 1e+308 must be from -360 to 360");
    expectOnlyProblem(shippedWith("Alien_Red_TurretTurnRate", "-1e308"),
                      "Alien_Red_TurretTurnRate = -1e+308 must be from -360 to 360");
    for (const char* rate : {"360", "-360", "-7"})
    {
        ASSERT_TRUE(load(shippedWith("Alien_Red_TurretTurnRate", rate)));
        EXPECT_EQ(joined(CParams::validate("params.ini")), "") << rate;
    }
}

TEST_F(CParamsTest, SubPixelSizesMakingTheLookAheadWalkCrawlIsMended)
{
    expectOnlyProblem(shippedWith("Alien_Width", "1e-9"), "Alien_Width = 1e-09 must be at least 1 (pixel)");
    expectOnlyProblem(shippedWith("Alien_Height", "1e-9"), "Alien_Height = 1e-09 must be at least 1 (pixel)");
    expectOnlyProblem(shippedWith("Gun_Width", "0.5"), "Gun_Width = 0.5 must be at least 1 (pixel)");
    expectOnlyProblem(shippedWith("Gun_Height", "0.5"), "Gun_Height = 0.5 must be at least 1 (pixel)");
    expectOnlyProblem(shippedWith("Bullet_Width", "0.5"), "Bullet_Width = 0.5 must be at least 1 (pixel)");
    expectOnlyProblem(shippedWith("Bullet_Height", "1e-300"), "Bullet_Height = 1e-300 must be at least 1 (pixel)");
    ASSERT_TRUE(load(shippedWithEach({{"Alien_Width", "1"}, {"Alien_Height", "1"}, {"Bullet_Width", "1"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, BulletsTooSlowToLeaveTheWindowPilingUpIsMended)
{
    // The shipped window, widened by an alien box on every side, is 864 + 648 pixels of
    // flight; 1000 steps of 33.3 ms need 0.04536 pixels a millisecond.
    expectOnlyProblem(shippedWith("Bullet_Speed", "1e-300"),
                      "Bullet_Speed = 1e-300 must carry a bullet out of the window within 1000 steps: at least "
                      "0.04536 here");
    expectOnlyProblem(shippedWith("Bullet_Speed", "0.045"),
                      "Bullet_Speed = 0.045 must carry a bullet out of the window within 1000 steps: at least "
                      "0.04536 here");
    ASSERT_TRUE(load(shippedWith("Bullet_Speed", "0.0454")));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, ProbabilitiesAndPercentagesOutOfRangeAcceptedSilentlyIsMended)
{
    expectOnlyProblem(shippedWith("Alien_ProbCloneFromBest", "1.5"), "Alien_ProbCloneFromBest = 1.5 must be from 0 to 1");
    expectOnlyProblem(shippedWith("Alien_ProbCloneFromBest", "-0.1"),
                      "Alien_ProbCloneFromBest = -0.1 must be from 0 to 1");
    expectOnlyProblem(shippedWith("Alien_CrossoverRate", "2"), "Alien_CrossoverRate = 2 must be from 0 to 1");
    expectOnlyProblem(shippedWith("Alien_MutationRate", "101"), "Alien_MutationRate = 101 must be from 0 to 100");
    expectOnlyProblem(shippedWith("Alien_MutationRate", "-1"), "Alien_MutationRate = -1 must be from 0 to 100");
    ASSERT_TRUE(load(shippedWithEach({{"Alien_ProbCloneFromBest", "0"}, {"Alien_CrossoverRate", "1"},
                                      {"Alien_MutationRate", "100"}, {"Alien_PercentBestInPool", "100"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, PerturbationOverflowingWeightsToInfinityIsMended)
{
    expectOnlyProblem(shippedWith("Alien_MaxPerturbation", "1e308"),
                      "Alien_MaxPerturbation = 1e+308 must be from 0 to 1000000");
    ASSERT_TRUE(load(shippedWith("Alien_MaxPerturbation", "1e6")));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, StepCountOverflowingWhenOneIsAddedIsMended)
{
    expectOnlyProblem(shippedWith("Alien_Red_FireDelay", "2147483647"),
                      "Alien_Red_FireDelay = 2147483647 must be at most 1000000000");
    expectOnlyProblem(shippedWith("Gun_FireInterval", "2147483647"),
                      "Gun_FireInterval = 2147483647 must be at most 1000000000");
    expectOnlyProblem(shippedWith("Gun_AutoDirectionInterval", "2147483647"),
                      "Gun_AutoDirectionInterval = 2147483647 must be at most 1000000000");
}

const std::regex kMemoryRefusal("params\\.ini: these values need about ([0-9]+\\.[0-9]) GiB of memory, more than "
                                "the 4 GiB allowed \\(aliens' and pools' brains, bullets, the window's pictures and "
                                "a capture\\)");

TEST_F(CParamsTest, LargestWorldDyingOfBadAllocIsMended)
{
    // Networks just within the weight bound: 997,930 and 995,950 weights.
    ASSERT_TRUE(load(shippedWithEach({{"Alien_NumberOfGreen", "10000"}, {"Alien_NumberOfRed", "10000"},
                                      {"Window_Width", "6400"}, {"Window_Height", "4990"},
                                      {"Alien_NN_Movement_NumOutputs", "1000"},
                                      {"Alien_NN_Movement_NeuronsPerHiddenLayer", "990"},
                                      {"Alien_NN_Attack_NumOutputs", "1000"},
                                      {"Alien_NN_Attack_NeuronsPerHiddenLayer", "990"}})));
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(problems[0], match, kMemoryRefusal)) << problems[0];
    // 30,000 brains' worth of networks of about 8 MB each, and the pools'.
    EXPECT_GT(std::stod(match[1]), 200.0);
}

TEST_F(CParamsTest, OffspringFillingAHugeBandCountInTheMemoryTotal)
{
    ASSERT_TRUE(load(shippedWithEach({{"Window_Width", "8000"}, {"Window_Height", "8000"}, {"Alien_Width", "1"},
                                      {"Alien_Height", "1"}, {"Bullet_Speed", "5"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
    CParams::Alien_ReproductionOn = 1; // the band seats 4000 x 3905 aliens
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_TRUE(std::regex_match(problems[0], kMemoryRefusal)) << problems[0];
}

// A 16384 x 16384 window passed, and the game then took 5.7 GB and wrote 805 MB a capture.
TEST_F(CParamsTest, HugeWindowPassingTheMemoryCheckIsMended)
{
    ASSERT_TRUE(load(shippedWithEach({{"Window_Width", "16384"}, {"Window_Height", "16384"}, {"Bullet_Speed", "5"}})));
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(problems[0], match, kMemoryRefusal)) << problems[0];
    EXPECT_GT(std::stod(match[1]), 6.0) << "26 bytes for each of its 268 million pixels";
}

// The game runs the control world beside its own, and a web page has less memory than a
// desktop: values whose one world fitted were taken, and two worlds could not be held. Every
// world counts, against the memory of where it runs.
TEST_F(CParamsTest, ControlWorldLeftOutOfTheMemoryEstimateIsMended)
{
    ASSERT_TRUE(load(shippedParams()));
    CParams::Alien_NumberOfGreen = 2000;
    CParams::Alien_NumberOfRed = 1000;
    CParams::Window_Width = CParams::Window_Height = 4000;
    // The hidden layer whose one world takes between half and all of a page's memory.
    for (int neurons = 10; neurons <= 1000 && estimateWorldBytes() < 0.55 * CParams::MaxPageMemoryBytes; neurons += 10)
        CParams::Alien_NN_Movement_NeuronsPerHiddenLayer = neurons;
    CParams::setWorldsAndMemory(1, CParams::MaxPageMemoryBytes);
    ASSERT_TRUE(CParams::validate("params.ini").empty()) << joined(CParams::validate("params.ini"));
    CParams::setWorldsAndMemory(2, CParams::MaxPageMemoryBytes);
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_NE(problems[0].find("more than the 1 GiB allowed (the game's world and the control world beside it"),
              std::string::npos) << problems[0];
    CParams::setWorldsAndMemory(2, CParams::MaxMemoryBytes);
    EXPECT_TRUE(CParams::validate("params.ini").empty()) << "a desktop holds both";
}

// A page took a statistics period of 1 ms and started a storage keep for each line, faster
// than the storage answered: its memory grew without bound while it said "Playing".
TEST_F(CParamsTest, LinkThatEatsMemoryIsMended)
{
    ASSERT_TRUE(load(shippedParams()));
    CParams::Stats_SaveInterval = 1;
    EXPECT_TRUE(CParams::validate("params.ini").empty()) << "the desktop runs any positive period";
    CParams::setShortestSaveInterval(CParams::PageShortestSaveInterval);
    const std::vector<std::string> problems = CParams::validate("params.ini");
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_EQ(problems[0].rfind("params.ini: Stats_SaveInterval = 1 must be at least 1000 in a web page", 0), 0u)
        << problems[0];
    CParams::Stats_SaveInterval = CParams::PageShortestSaveInterval;
    EXPECT_TRUE(CParams::validate("params.ini").empty()) << joined(CParams::validate("params.ini"));
}

// Any number was taken, and read as on, where only off or on means anything.
TEST_F(CParamsTest, SwitchesTakingAnyNumberIsMended)
{
    for (const char* member : {"Alien_NN_Movement_UseSensors", "Alien_ReproductionOn", "Gun_AutoMode"})
        for (const char* value : {"2", "-1", "7"})
            expectOnlyProblem(shippedWith(member, value),
                              std::string(member) + " = " + value + " must be 0 (off) or 1 (on)");
}

// In a band that seats them, the most aliens of the shipped networks pass; crowded into the
// shipped band (96 seats) they took 1.8 s a step, and are refused.
TEST_F(CParamsTest, ManyAliensOfTheShippedNetworksPassWhereTheBandSeatsThem)
{
    ASSERT_TRUE(load(shippedWithEach({{"Alien_NumberOfGreen", "10000"}, {"Alien_NumberOfRed", "10000"},
                                      {"Alien_Red_FireDelay", "0"}, {"Window_Width", "6400"}, {"Window_Height", "4990"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

// What made a world of 10,000 aliens take seconds a step: crowding them into a band that
// seats 96, each alien's sensors or bullets reaching over hundreds of others.
TEST_F(CParamsTest, CrowdedWorldTakingSecondsAStepIsMended)
{
    expectOnlyProblem(shippedWith("Alien_NumberOfGreen", "10000"),
                      "Alien_NumberOfGreen + Alien_NumberOfRed = 10006 must be at most 2 times the 96 seats of the "
                      "band: aliens crowded over each other each sense every one they overlap, and a world step "
                      "would take seconds");
    expectOnlyProblem(shippedWith("Alien_SensorLengthScale", "50"), "Alien_SensorLengthScale = 50 must be at most 4");
    expectOnlyProblem(shippedWith("Alien_SensorWidthScale", "4.5"), "Alien_SensorWidthScale = 4.5 must be at most 4");
    expectOnlyProblem(shippedWith("Bullet_Width", "600"),
                      "Bullet_Width = 600 must be at most 32 or twice Alien_Width, whichever is more");
    expectOnlyProblem(shippedWith("Bullet_Height", "49"),
                      "Bullet_Height = 49 must be at most 32 or twice Alien_Height, whichever is more");
    // At the limits every one of them passes.
    ASSERT_TRUE(load(shippedWithEach({{"Alien_NumberOfGreen", "186"}, {"Alien_SensorLengthScale", "4"},
                                      {"Alien_SensorWidthScale", "4"}, {"Bullet_Width", "64"},
                                      {"Bullet_Height", "48"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

TEST_F(CParamsTest, NoAliensAndAPoolOfOnePass)
{
    ASSERT_TRUE(load(shippedWithEach({{"Alien_NumberOfGreen", "0"}, {"Alien_NumberOfRed", "0"}})));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
    ASSERT_TRUE(load(shippedWith("Alien_NumberInPool", "1")));
    EXPECT_EQ(joined(CParams::validate("params.ini")), "");
}

// A one-pixel window has no room for aliens of at least a pixel: refused, naming the rules.
TEST_F(CParamsTest, OnePixelWindowIsRefusedNamingTheRules)
{
    ASSERT_TRUE(load(shippedWithEach({{"Window_Width", "1"}, {"Window_Height", "1"}})));
    const std::string problems = joined(CParams::validate("params.ini"));
    EXPECT_NE(problems.find("params.ini: Window_Width = 1 must be at least four times Alien_Width\n"), std::string::npos)
        << problems;
    EXPECT_NE(problems.find("params.ini: Gun_Width = 48 must be less than Window_Width\n"), std::string::npos)
        << problems;
}
} // namespace

TEST_F(CParamsTest, SetByNameReadsTheValueAsTheFileDoes)
{
    ASSERT_TRUE(load(shippedParams()));
    std::string error;
    EXPECT_TRUE(CParams::setByName("Alien_Width", "40", error)) << error;
    EXPECT_EQ(CParams::Alien_Width, 40.0);
    EXPECT_DOUBLE_EQ(CParams::Alien_Diagonal, std::sqrt(40.0 * 40.0 + 24.0 * 24.0));
    EXPECT_TRUE(CParams::setByName("Alien_NumberInPool", " +030\t", error)) << error;
    EXPECT_EQ(CParams::Alien_NumberInPool, 30);
    EXPECT_TRUE(CParams::setByName("NN_Bias", "-1.5e0", error)) << error;
    EXPECT_EQ(CParams::NN_Bias, -1.5);
    // Only the rules of validate refuse a value that reads well.
    EXPECT_TRUE(CParams::setByName("Alien_Height", "0", error));
    EXPECT_EQ(joined(CParams::validate("--set")), "--set: Alien_Height = 0 must be at least 1 (pixel)\n");
}

TEST_F(CParamsTest, SetByNameRefusesNamingTheNearestMembersOrTheWord)
{
    const auto refused = [](const std::string& name, const std::string& value) {
        EXPECT_TRUE(CParams().loadParameters(KA_SOURCE_DIR "/params.ini"));
        std::string error;
        EXPECT_FALSE(CParams::setByName(name, value, error)) << name << "=" << value;
        // Nothing refused changes a value.
        EXPECT_TRUE(CParams::validate("params.ini").empty()) << name << "=" << value;
        return error;
    };
    EXPECT_EQ(refused("Alien_Widht", "3"), "no member 'Alien_Widht'; did you mean Alien_Width?");
    EXPECT_EQ(refused("alien_width", "3"), "no member 'alien_width'; did you mean Alien_Width?");
    EXPECT_EQ(refused("Reserved_5", "3"), "no member 'Reserved_5'; did you mean Reserved_58?");
    EXPECT_EQ(refused("Gun_\x1b[2J", "3").substr(0, 28), "no member 'Gun_\\x1B[2J'; did");
    EXPECT_EQ(refused("Alien_Width", ""), "Alien_Width: the value is missing");
    EXPECT_EQ(refused("Alien_Width", "3 4"), "Alien_Width: '4' follows the value: it must be one word");
    // A word is refused as the file refuses it, in the same words.
    for (const auto& [member, word] : std::vector<std::pair<std::string, std::string>>{
             {"Alien_Width", "0x10"}, {"Alien_Mass", "nan"}, {"Alien_Mass", "1e999"}, {"Alien_NumberInPool", "1.5"},
             {"Alien_NumberInPool", "2147483648"}, {"Alien_Width", std::string(100, '7') + "x"}})
    {
        CScratchFile file("params_word.ini", shippedWith(member, word));
        ASSERT_TRUE(CParams().loadParameters(file.path()));
        const std::vector<std::string> problems = CParams::validate("params.ini");
        ASSERT_EQ(problems.size(), 1u) << word;
        EXPECT_EQ("params.ini: " + refused(member, word), problems[0]);
    }
}

// The slots the pools' half-lives, the gun's bullets seen and the red aliens' score took were
// Reserved_52, Reserved_53, Reserved_30 and Reserved_56: files and command lines written with
// those names read as before, into the members that now use them, and the 0 such files hold
// there keeps the game as it was.
TEST_F(CParamsTest, RenamedSlotsReadUnderTheirOldNames)
{
    std::string old = std::regex_replace(shippedParams(), std::regex("Alien_Green_PoolHalfLife [^\n]*"), "Reserved_52 0.5");
    old = std::regex_replace(old, std::regex("Alien_Red_PoolHalfLife [^\n]*"), "Reserved_53 0");
    old = std::regex_replace(old, std::regex("Alien_NN_Movement_GunBullets [^\n]*"), "Reserved_30 0");
    old = std::regex_replace(old, std::regex("Alien_NN_Movement_NumInputs [^\n]*"), "Alien_NN_Movement_NumInputs 6");
    old = std::regex_replace(old, std::regex("Alien_Red_FitnessRule [^\n]*"), "Reserved_56 0");
    ASSERT_TRUE(load(old));
    EXPECT_EQ(CParams::Alien_Green_PoolHalfLife, 0.5);
    EXPECT_EQ(CParams::Alien_Red_PoolHalfLife, 0.0);
    EXPECT_EQ(CParams::Alien_NN_Movement_GunBullets, 0.0);
    EXPECT_EQ(CParams::Alien_Red_FitnessRule, CAlien_Red::FITNESS_FIRST);
    EXPECT_TRUE(CParams::warnings("params.ini").empty());
    EXPECT_TRUE(CParams::validate("params.ini").empty());
    std::string error;
    EXPECT_TRUE(CParams::setByName("Reserved_53", "2", error)) << error;
    EXPECT_EQ(CParams::Alien_Red_PoolHalfLife, 2.0);
    EXPECT_TRUE(CParams::setByName("Reserved_56", "1", error)) << error;
    EXPECT_EQ(CParams::Alien_Red_FitnessRule, CAlien_Red::FITNESS_FIGHTS_GUN);
    // An old name elsewhere still tells of a broken order.
    ASSERT_TRUE(load(std::regex_replace(shippedParams(), std::regex("Bullet_Speed "), "Reserved_52 ")));
    EXPECT_NE(joined(CParams::warnings("params.ini")).find("labelled 'Reserved_52', the name of value 52"),
              std::string::npos);
}

TEST_F(CParamsTest, MembersListsEveryLoadedValueInFileOrder)
{
    ASSERT_TRUE(load(shippedParams()));
    const std::vector<CParams::SMember> members = CParams::members();
    ASSERT_EQ(members.size(), static_cast<size_t>(CParams::NumLoaded));
    EXPECT_STREQ(members.front().szName, "Window_Width");
    EXPECT_TRUE(members.front().bInteger);
    EXPECT_EQ(members.front().dValue, 800.0);
    EXPECT_STREQ(members[7].szName, "Alien_Width");
    EXPECT_FALSE(members[7].bInteger);
    EXPECT_EQ(members[7].dValue, 32.0);
    EXPECT_STREQ(members.back().szName, "Reserved_58");
    // Each name sets the member it lists.
    for (const CParams::SMember& member : members)
    {
        std::string error;
        EXPECT_TRUE(CParams::setByName(member.szName, "7", error)) << error;
    }
    for (const CParams::SMember& member : CParams::members())
        EXPECT_EQ(member.dValue, 7.0) << member.szName;
}

// A page's link to a run carries the values that differ from the shipped file: applied to the
// shipped file they give back every member to the bit, doubles of any digits included.
TEST_F(CParamsTest, SettingsAgainstTheShippedValuesReadBackToTheSameBits)
{
    ASSERT_TRUE(load(shippedParams()));
    const std::vector<CParams::SMember> shipped = CParams::members();
    EXPECT_EQ(CParams::settingsAgainst(shipped), "");
    CParams::Alien_MaxSpeed = 0.1 + 0.2;
    CParams::Alien_NumberOfRed = 9;
    CParams::NN_Bias = -1e-300;
    const std::vector<CParams::SMember> changed = CParams::members();
    const std::string settings = CParams::settingsAgainst(shipped);
    EXPECT_EQ(settings, "NN_Bias=-1e-300,Alien_MaxSpeed=0.30000000000000004,Alien_NumberOfRed=9");
    ASSERT_TRUE(load(shippedParams()));
    std::string error;
    for (size_t start = 0; start < settings.size();)
    {
        const size_t comma = std::min(settings.find(',', start), settings.size());
        EXPECT_TRUE(CParams::setFromText(settings.substr(start, comma - start), error)) << error;
        start = comma + 1;
    }
    const std::vector<CParams::SMember> back = CParams::members();
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(std::memcmp(&back[i].dValue, &changed[i].dValue, sizeof(double)), 0) << back[i].szName;
    EXPECT_FALSE(CParams::setFromText("Alien_MaxSpeed", error));
    EXPECT_EQ(error, "'Alien_MaxSpeed' is not Member=Value");
}

// A page checks a chosen params.ini before keeping it, while the game runs on its own values:
// the check says what loading would, and leaves every member as it was.
TEST_F(CParamsTest, CheckingAFileLeavesTheValuesInUse)
{
    ASSERT_TRUE(load(shippedParams()));
    const std::vector<CParams::SMember> before = CParams::members();
    CScratchFile broken("params_broken.ini", shippedWith("Alien_Mass", "0"));
    EXPECT_EQ(joined(CParams::checkFile(broken.path())), std::string(broken.path()) + ": Alien_Mass = 0 must be positive\n");
    EXPECT_EQ(joined(CParams::checkFile("no_such.ini")), "no_such.ini: No such file or directory\n");
    const std::vector<CParams::SMember> after = CParams::members();
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i].dValue, before[i].dValue) << after[i].szName;
    EXPECT_TRUE(CParams::validate("params.ini").empty());
}
