#include "app/cparams.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "aliens/calien.h"
#include "aliens/calien_red.h"
#include "aliens/cgunbulletsense.h"
#include "app/nearestnames.h"
#include "brain/cneuralnet.h"
#include "files/ctextword.h"
#include "files/safefile.h"
#include "world/worldbounds.h"
#include "world/worldmemory.h"

int CParams::Window_Width = 0;
int CParams::Window_Height = 0;
int CParams::Game_FramesPerSecond = 0;
int CParams::Window_TopMargin = 0;
int CParams::Window_BottomMargin = 0;
int CParams::Stats_UpdateInterval = 0;
int CParams::Stats_SaveInterval = 0;
double CParams::Alien_Width = 0.0;
double CParams::Alien_Height = 0.0;
double CParams::Alien_Mass = 0.0;
double CParams::Alien_DyingTime = 0.0;
double CParams::Alien_BeingBornTime = 0.0;
int CParams::Alien_NumberInPool = 0;
double CParams::Alien_ProbCloneFromBest = 0.0;
double CParams::Alien_CrossoverRate = 0.0;
double CParams::Alien_SensorWidthScale = 0.0;
double CParams::Alien_SensorLengthScale = 0.0;
double CParams::Alien_SensorMaxTime = 0.0;
int CParams::Alien_NN_Movement_UseSensors = 0;
int CParams::Alien_NN_Movement_NumInputs = 0;
int CParams::Alien_NN_Movement_NumOutputs = 0;
int CParams::Alien_NN_Movement_NumHiddenLayers = 0;
int CParams::Alien_NN_Movement_NeuronsPerHiddenLayer = 0;
double CParams::NN_ActivationResponse = 0.0;
double CParams::NN_Bias = -1.0;
int CParams::Alien_NN_Attack_NumInputs = 0;
int CParams::Alien_NN_Attack_NumOutputs = 0;
int CParams::Alien_NN_Attack_NumHiddenLayers = 0;
int CParams::Alien_NN_Attack_NeuronsPerHiddenLayer = 0;
double CParams::Alien_NN_Movement_GunBullets = 0.0;
double CParams::Reserved_31 = -1.0;
int CParams::Alien_PercentBestInPool = 0;
int CParams::Alien_MutationRate = 0;
double CParams::Alien_MaxPerturbation = 0.0;
int CParams::Alien_MovementForce = 0;
double CParams::Alien_MaxSpeed = 0.0;
double CParams::Alien_ExplosionFrameTime = 0.0;
int CParams::Alien_ReproductionOn = 0;
double CParams::Alien_Green_SpawnInterval = 0.0;
int CParams::Alien_NumberOfGreen = 0;
int CParams::Alien_Red_FireDelay = 0;
int CParams::Alien_NumberOfRed = 0;
double CParams::Alien_Red_TurretTurnRate = 0.0;
double CParams::Gun_MaxSpeed = 0.0;
double CParams::Gun_Mass = 0.0;
double CParams::Gun_MovementForce = 0.0;
double CParams::Gun_Width = 0.0;
double CParams::Gun_Height = 0.0;
double CParams::Bullet_Width = 0.0;
double CParams::Bullet_Height = 0.0;
double CParams::Bullet_Speed = 0.0;
double CParams::Alien_Green_PoolHalfLife = 0.0;
double CParams::Alien_Red_PoolHalfLife = 0.0;
int CParams::Gun_AutoDirectionInterval = 0;
int CParams::Gun_FireInterval = 0;
double CParams::Alien_Red_FitnessRule = 0.0;
int CParams::Gun_AutoMode = 0;
double CParams::Reserved_58 = 0.0;
double CParams::Window_Diagonal = 0.0;
double CParams::Alien_Diagonal = 0.0;
int CParams::s_iNumValuesRead = 0;
std::string CParams::s_sReadProblem;
std::string CParams::s_sOrderWarning;
int CParams::s_iWorlds = 1;
double CParams::s_dMaxMemoryBytes = CParams::MaxMemoryBytes;
int CParams::s_iShortestSaveInterval = 1;

namespace
{
// One loaded member: exactly one of the two pointers is set. A slot given a use keeps the
// name it had before as a second name, so that files and command lines written with it read.
struct SParamSlot
{
    const char* szName;
    int* piValue;
    double* pdValue;
    const char* szOldName = nullptr;

    bool isNamed(const std::string& name) const { return name == szName || (szOldName && name == szOldName); }
};

#define INT_SLOT(name) {#name, &CParams::name, nullptr}
#define DOUBLE_SLOT(name) {#name, nullptr, &CParams::name}
#define RENAMED_SLOT(name, oldName) {#name, nullptr, &CParams::name, #oldName}

const SParamSlot g_aSlots[CParams::NumLoaded] = {
    INT_SLOT(Window_Width),
    INT_SLOT(Window_Height),
    INT_SLOT(Game_FramesPerSecond),
    INT_SLOT(Window_TopMargin),
    INT_SLOT(Window_BottomMargin),
    INT_SLOT(Stats_UpdateInterval),
    INT_SLOT(Stats_SaveInterval),
    DOUBLE_SLOT(Alien_Width),
    DOUBLE_SLOT(Alien_Height),
    DOUBLE_SLOT(Alien_Mass),
    DOUBLE_SLOT(Alien_DyingTime),
    DOUBLE_SLOT(Alien_BeingBornTime),
    INT_SLOT(Alien_NumberInPool),
    DOUBLE_SLOT(Alien_ProbCloneFromBest),
    DOUBLE_SLOT(Alien_CrossoverRate),
    DOUBLE_SLOT(Alien_SensorWidthScale),
    DOUBLE_SLOT(Alien_SensorLengthScale),
    DOUBLE_SLOT(Alien_SensorMaxTime),
    INT_SLOT(Alien_NN_Movement_UseSensors),
    INT_SLOT(Alien_NN_Movement_NumInputs),
    INT_SLOT(Alien_NN_Movement_NumOutputs),
    INT_SLOT(Alien_NN_Movement_NumHiddenLayers),
    INT_SLOT(Alien_NN_Movement_NeuronsPerHiddenLayer),
    DOUBLE_SLOT(NN_ActivationResponse),
    DOUBLE_SLOT(NN_Bias),
    INT_SLOT(Alien_NN_Attack_NumInputs),
    INT_SLOT(Alien_NN_Attack_NumOutputs),
    INT_SLOT(Alien_NN_Attack_NumHiddenLayers),
    INT_SLOT(Alien_NN_Attack_NeuronsPerHiddenLayer),
    RENAMED_SLOT(Alien_NN_Movement_GunBullets, Reserved_30),
    DOUBLE_SLOT(Reserved_31),
    INT_SLOT(Alien_PercentBestInPool),
    INT_SLOT(Alien_MutationRate),
    DOUBLE_SLOT(Alien_MaxPerturbation),
    INT_SLOT(Alien_MovementForce),
    DOUBLE_SLOT(Alien_MaxSpeed),
    DOUBLE_SLOT(Alien_ExplosionFrameTime),
    INT_SLOT(Alien_ReproductionOn),
    DOUBLE_SLOT(Alien_Green_SpawnInterval),
    INT_SLOT(Alien_NumberOfGreen),
    INT_SLOT(Alien_Red_FireDelay),
    INT_SLOT(Alien_NumberOfRed),
    DOUBLE_SLOT(Alien_Red_TurretTurnRate),
    DOUBLE_SLOT(Gun_MaxSpeed),
    DOUBLE_SLOT(Gun_Mass),
    DOUBLE_SLOT(Gun_MovementForce),
    DOUBLE_SLOT(Gun_Width),
    DOUBLE_SLOT(Gun_Height),
    DOUBLE_SLOT(Bullet_Width),
    DOUBLE_SLOT(Bullet_Height),
    DOUBLE_SLOT(Bullet_Speed),
    RENAMED_SLOT(Alien_Green_PoolHalfLife, Reserved_52),
    RENAMED_SLOT(Alien_Red_PoolHalfLife, Reserved_53),
    INT_SLOT(Gun_AutoDirectionInterval),
    INT_SLOT(Gun_FireInterval),
    RENAMED_SLOT(Alien_Red_FitnessRule, Reserved_56),
    INT_SLOT(Gun_AutoMode),
    DOUBLE_SLOT(Reserved_58),
};

#undef INT_SLOT
#undef DOUBLE_SLOT
#undef RENAMED_SLOT

// Quotes a word of the file: short and printable whatever it holds.
std::string quoted(const CTextWord& word)
{
    return "'" + printableExcerpt(word.start() + (word.isCut() ? "..." : "")) + "'";
}

// The index of the member the word names, or -1.
int memberNamed(const CTextWord& word)
{
    if (word.isCut())
        return -1;
    for (int i = 0; i < CParams::NumLoaded; ++i)
        if (g_aSlots[i].isNamed(word.start()))
            return i;
    return -1;
}

// The member, and how the file labelled it when that was something else.
std::string memberAndLabel(int index, const CTextWord& label)
{
    const std::string name = g_aSlots[index].szName;
    return label.start() == name ? name : name + " (labelled " + quoted(label) + ")";
}

// A warning when the label of the value at the index spells another member's name.
std::string orderWarning(int index, const CTextWord& label)
{
    const int named = memberNamed(label);
    if (named < 0 || named == index)
        return "";
    return "warning: value " + std::to_string(index + 1) + " (" + g_aSlots[index].szName + ") is labelled "
           + quoted(label) + ", the name of value " + std::to_string(named + 1)
           + ": the file's order looks broken (a stray, missing or swapped line?), and values are taken by their "
             "position";
}

// Stores the word's value in the slot's member; otherwise says why not.
bool takeValue(const CTextWord& word, const SParamSlot& slot, std::string& why)
{
    const int code = slot.piValue ? word.toInt(*slot.piValue) : word.toDouble(*slot.pdValue);
    if (code == CTextWord::NUMBER)
        return true;
    const char* type = slot.piValue ? "an integer" : "a number";
    if (code == CTextWord::NOT_A_NUMBER)
        why = quoted(word) + " is not " + type;
    else if (slot.piValue)
        why = quoted(word) + " is outside the range of an integer (-2147483648 to 2147483647)";
    else
        why = quoted(word) + " is too large for a number (the largest is about 1.8e308)";
    return false;
}
} // namespace

bool CParams::loadParameters(const char* szFileName, std::string& error)
{
    std::string contents;
    if (!readRegularFile(szFileName, MaxFileBytes, contents, error))
        return false;
    std::istringstream in(contents);
    readParameters(in);
    return true;
}

bool CParams::loadParameters(const char* szFileName)
{
    std::string ignored;
    return loadParameters(szFileName, ignored);
}

bool CParams::readParameters(std::istream& in)
{
    s_iNumValuesRead = 0;
    s_sReadProblem.clear();
    s_sOrderWarning.clear();
    CTextWord label, value;
    for (int i = 0; i < NumLoaded; ++i)
    {
        const bool labelRead = label.read(in);
        if (!labelRead || !value.read(in))
        {
            s_sReadProblem = (labelRead ? memberAndLabel(i, label) : std::string(g_aSlots[i].szName))
                             + ": the value is missing (the file ends before it)";
            break;
        }
        if (s_sOrderWarning.empty())
            s_sOrderWarning = orderWarning(i, label);
        std::string why;
        if (!takeValue(value, g_aSlots[i], why))
        {
            s_sReadProblem = memberAndLabel(i, label) + ": " + why;
            break;
        }
        ++s_iNumValuesRead;
    }

    updateDerived();
    return s_iNumValuesRead == NumLoaded;
}

bool CParams::setByName(const std::string& name, const std::string& value, std::string& error)
{
    std::vector<std::string> names;
    for (const SParamSlot& slot : g_aSlots)
    {
        if (!slot.isNamed(name))
        {
            names.push_back(slot.szName);
            continue;
        }
        std::istringstream in(value);
        CTextWord word, extra;
        std::string why;
        if (!word.read(in))
            why = "the value is missing";
        else if (extra.read(in))
            why = quoted(extra) + " follows the value: it must be one word";
        else if (takeValue(word, slot, why))
        {
            updateDerived();
            return true;
        }
        error = name + ": " + why;
        return false;
    }
    error = "no member '" + printableExcerpt(name) + "'; did you mean " + alternatives(nearestNames(name, names, 3)) + "?";
    return false;
}

bool CParams::setFromText(const std::string& setting, std::string& error)
{
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
    {
        error = "'" + printableExcerpt(setting) + "' is not Member=Value";
        return false;
    }
    return setByName(setting.substr(0, equals), setting.substr(equals + 1), error);
}

std::string CParams::settingsAgainst(const std::vector<SMember>& base)
{
    std::ostringstream settings;
    settings << std::setprecision(17);
    const std::vector<SMember> now = members();
    for (size_t i = 0; i < now.size() && i < base.size(); ++i)
    {
        if (now[i].dValue == base[i].dValue && std::signbit(now[i].dValue) == std::signbit(base[i].dValue))
            continue;
        settings << (settings.tellp() > 0 ? "," : "") << now[i].szName << "=";
        if (now[i].bInteger)
            settings << static_cast<int>(now[i].dValue);
        else
            settings << now[i].dValue;
    }
    return settings.str();
}

std::vector<CParams::SMember> CParams::members()
{
    std::vector<SMember> list;
    for (const SParamSlot& slot : g_aSlots)
        list.push_back({slot.szName, slot.piValue != nullptr, slot.piValue ? *slot.piValue : *slot.pdValue});
    return list;
}

void CParams::updateDerived()
{
    // The window's sum of squares is 32-bit int arithmetic; wrap it without overflow UB.
    const std::uint32_t w = static_cast<std::uint32_t>(Window_Width);
    const std::uint32_t h = static_cast<std::uint32_t>(Window_Height);
    Window_Diagonal = std::sqrt(static_cast<double>(static_cast<std::int32_t>(w * w + h * h)));
    Alien_Diagonal = std::sqrt(Alien_Height * Alien_Height + Alien_Width * Alien_Width);
}

void CParams::resetToInitialValues()
{
    for (const SParamSlot& slot : g_aSlots)
    {
        if (slot.piValue)
            *slot.piValue = 0;
        else
            *slot.pdValue = 0.0;
    }
    NN_Bias = -1.0;
    Reserved_31 = -1.0;
    Window_Diagonal = 0.0;
    Alien_Diagonal = 0.0;
    s_iNumValuesRead = 0;
    s_sReadProblem.clear();
    s_sOrderWarning.clear();
    s_iWorlds = 1;
    s_dMaxMemoryBytes = MaxMemoryBytes;
    s_iShortestSaveInterval = 1;
}

namespace
{
// Generous bounds that keep a hostile file from asking for unbounded memory.
constexpr int kMaxWindowSide = 16384;
constexpr int kMaxFramesPerSecond = 1000;
constexpr int kMaxAliens = 10000;
// A sensor reaches this many alien sizes at most: the shipped ones reach two, and one alien
// reaching far over a crowded band would look at hundreds of others every step.
constexpr int kMaxSensorScale = 4;
// Bullets may be this many pixels a side whatever the aliens' size (the shipped ones are 4 x 12).
constexpr int kLargeBullet = 32;
constexpr int kMaxNetworkSize = 1000;
constexpr long long kMaxWeightsPerNetwork = 1000000;
// Counts of world steps: a billion is a year at 30 steps a second, and a count plus one
// stays an int.
constexpr int kMaxSteps = 1000000000;
// A bullet flies until it has left the window widened by an alien box on every side: at
// most the box's width plus its height. It must get there within this many world steps
// (33 s at 30 steps a second; the shipped bullets take 76), which bounds the bullets in
// flight at once.
constexpr double kMaxBulletFlightSteps = 1000;
// Weights start in (-1, 1) and a mutation moves one by less than Alien_MaxPerturbation,
// so after n mutations in its line of descent a weight is below 1 + n x this bound: even
// 1e20 mutations, far beyond any run, leave it below 1e26, and the networks' sums of
// weights times inputs (at most 1001 of them, each input at most a window's width) stay
// far from overflowing to infinity.
constexpr double kMaxPerturbation = 1e6;

// Collects one line per broken rule.
class CRuleList
{
public:
    explicit CRuleList(const std::string& fileName) : m_sFileName(fileName) {}

    template <typename T> void require(bool bHolds, const char* szMember, T value, const std::string& rule)
    {
        if (bHolds)
            return;
        std::ostringstream line;
        line << m_sFileName << ": " << szMember << " = " << value << " " << rule;
        m_vProblems.push_back(line.str());
    }

    std::vector<std::string> m_vProblems;

private:
    std::string m_sFileName;
};

#define REQUIRE(rules, cond, member, rule) (rules).require((cond), #member, CParams::member, (rule))
#define REQUIRE_POSITIVE(rules, member) REQUIRE(rules, CParams::member > 0, member, "must be positive")
#define REQUIRE_NON_NEGATIVE(rules, member) REQUIRE(rules, CParams::member >= 0, member, "must not be negative")
#define REQUIRE_AT_MOST(rules, member, limit) \
    REQUIRE(rules, CParams::member <= (limit), member, "must be at most " + std::to_string(limit))
#define REQUIRE_FROM_TO(rules, member, lowest, highest, rule) \
    REQUIRE(rules, CParams::member >= (lowest) && CParams::member <= (highest), member, rule)
// A switch is off or on; any other number would read as on here and mean nothing.
#define REQUIRE_ON_OFF(rules, member) \
    REQUIRE(rules, CParams::member == 0 || CParams::member == 1, member, "must be 0 (off) or 1 (on)")
// A choice or a count kept in a slot of doubles: one of the whole numbers it names.
#define REQUIRE_WHOLE_FROM_TO(rules, member, lowest, highest)                                                    \
    REQUIRE(rules,                                                                                              \
            CParams::member >= (lowest) && CParams::member <= (highest) &&                                       \
                CParams::member == static_cast<int>(CParams::member),                                           \
            member, "must be a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest))
// Boxes of less than a pixel make the look-ahead walk and the bullets crawl.
#define REQUIRE_ONE_PIXEL(rules, member) REQUIRE(rules, CParams::member >= 1, member, "must be at least 1 (pixel)")
// A network's hidden layers need neurons, as the brain reader demands of saved brains.
#define REQUIRE_NEURONS_IF_HIDDEN(rules, net)                                                                    \
    REQUIRE(rules, CParams::net##_NumHiddenLayers <= 0 || CParams::net##_NeuronsPerHiddenLayer >= 1,           \
            net##_NeuronsPerHiddenLayer, "must be at least 1 while " #net "_NumHiddenLayers is positive")

void checkFinite(CRuleList& rules)
{
    for (const SParamSlot& slot : g_aSlots)
        if (slot.pdValue)
            rules.require(std::isfinite(*slot.pdValue), slot.szName, *slot.pdValue, "must be a finite number");
}

void checkWindowAndTiming(CRuleList& rules, int shortestSaveInterval)
{
    REQUIRE_POSITIVE(rules, Window_Width);
    REQUIRE_AT_MOST(rules, Window_Width, kMaxWindowSide);
    REQUIRE_POSITIVE(rules, Window_Height);
    REQUIRE_AT_MOST(rules, Window_Height, kMaxWindowSide);
    REQUIRE_POSITIVE(rules, Game_FramesPerSecond);
    REQUIRE_AT_MOST(rules, Game_FramesPerSecond, kMaxFramesPerSecond);
    REQUIRE_NON_NEGATIVE(rules, Window_TopMargin);
    REQUIRE_NON_NEGATIVE(rules, Window_BottomMargin);
    REQUIRE_POSITIVE(rules, Stats_UpdateInterval);
    REQUIRE_POSITIVE(rules, Stats_SaveInterval);
    if (shortestSaveInterval > 1)
        REQUIRE(rules, CParams::Stats_SaveInterval >= shortestSaveInterval, Stats_SaveInterval,
                "must be at least " + std::to_string(shortestSaveInterval) +
                    " in a web page: its browser's storage keeps the statistics file after every line, "
                    "and cannot keep up with a shorter period");
}

// Only meaningful once the window and the aliens' sizes are within their bounds.
void checkCrowding(CRuleList& rules)
{
    const long long aliens = static_cast<long long>(CParams::Alien_NumberOfGreen) + CParams::Alien_NumberOfRed;
    const long long seats = bandSeats();
    rules.require(aliens <= MaxAliensPerSeat * seats, "Alien_NumberOfGreen + Alien_NumberOfRed", aliens,
                  "must be at most " + std::to_string(MaxAliensPerSeat) + " times the " + std::to_string(seats) +
                      " seats of the band: aliens crowded over each other each sense every one they overlap, "
                      "and a world step would take seconds");
}

void checkAliens(CRuleList& rules)
{
    REQUIRE_ONE_PIXEL(rules, Alien_Width);
    REQUIRE_ONE_PIXEL(rules, Alien_Height);
    REQUIRE_POSITIVE(rules, Alien_Mass);
    REQUIRE_NON_NEGATIVE(rules, Alien_DyingTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_BeingBornTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_ExplosionFrameTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_MovementForce);
    REQUIRE_NON_NEGATIVE(rules, Alien_MaxSpeed);
    REQUIRE(rules, CParams::Alien_SensorWidthScale >= 1, Alien_SensorWidthScale, "must be at least 1");
    REQUIRE_POSITIVE(rules, Alien_SensorLengthScale);
    // Every alien looks at each alien its sensors reach, every step.
    REQUIRE_AT_MOST(rules, Alien_SensorWidthScale, kMaxSensorScale);
    REQUIRE_AT_MOST(rules, Alien_SensorLengthScale, kMaxSensorScale);
    REQUIRE_POSITIVE(rules, Alien_SensorMaxTime);
    REQUIRE_POSITIVE(rules, Alien_Green_SpawnInterval);
    REQUIRE_ON_OFF(rules, Alien_ReproductionOn);
    REQUIRE_NON_NEGATIVE(rules, Alien_Red_FireDelay);
    REQUIRE_AT_MOST(rules, Alien_Red_FireDelay, kMaxSteps);
    // One correction a step keeps the turret's angle within [0, 360].
    REQUIRE_FROM_TO(rules, Alien_Red_TurretTurnRate, -360, 360, "must be from -360 to 360");
    REQUIRE_NON_NEGATIVE(rules, Alien_NumberOfGreen);
    REQUIRE_AT_MOST(rules, Alien_NumberOfGreen, kMaxAliens);
    REQUIRE_NON_NEGATIVE(rules, Alien_NumberOfRed);
    REQUIRE_AT_MOST(rules, Alien_NumberOfRed, kMaxAliens);

    // Aliens are first placed with boxes twice their size, a whole box from every limit.
    // In double: the int difference of extreme values would overflow.
    const double zoneHeight = static_cast<double>(CParams::Window_Height) - CParams::Window_TopMargin
                              - CParams::Window_BottomMargin;
    rules.require(zoneHeight >= 4 * CParams::Alien_Height, "Window_Height - Window_TopMargin - Window_BottomMargin",
                  zoneHeight, "must be at least four times Alien_Height");
    REQUIRE(rules, CParams::Window_Width >= 4 * CParams::Alien_Width, Window_Width,
            "must be at least four times Alien_Width");
    if (rules.m_vProblems.empty())
        checkCrowding(rules);
}

// The movement network takes the gun's two distances, the four sensors when they are on and
// two inputs for each of the gun's bullets it sees.
void checkMovementInputs(CRuleList& rules)
{
    const bool sensors = CParams::Alien_NN_Movement_UseSensors != 0;
    const double seen = CParams::Alien_NN_Movement_GunBullets;
    if (!(seen >= 0 && seen <= CGunBulletSense::MaxBullets) || seen != static_cast<int>(seen))
        return; // refused on its own
    const int bullets = static_cast<int>(seen);
    const int inputs = CAlien::movementInputCount(sensors, bullets);
    std::string rule = "must be " + std::to_string(inputs) + " while Alien_NN_Movement_UseSensors is " +
                       (sensors ? "on" : "off");
    if (bullets > 0)
        rule += " and Alien_NN_Movement_GunBullets is " + std::to_string(bullets);
    REQUIRE(rules, CParams::Alien_NN_Movement_NumInputs == inputs, Alien_NN_Movement_NumInputs, rule);
}

void checkNetworks(CRuleList& rules)
{
    REQUIRE_ON_OFF(rules, Alien_NN_Movement_UseSensors);
    REQUIRE_WHOLE_FROM_TO(rules, Alien_NN_Movement_GunBullets, 0, CGunBulletSense::MaxBullets);
    checkMovementInputs(rules);
    REQUIRE(rules, CParams::Alien_NN_Movement_NumOutputs >= 2, Alien_NN_Movement_NumOutputs, "must be at least 2");
    REQUIRE_AT_MOST(rules, Alien_NN_Movement_NumOutputs, kMaxNetworkSize);
    REQUIRE_NON_NEGATIVE(rules, Alien_NN_Movement_NumHiddenLayers);
    REQUIRE_AT_MOST(rules, Alien_NN_Movement_NumHiddenLayers, kMaxNetworkSize);
    REQUIRE_NON_NEGATIVE(rules, Alien_NN_Movement_NeuronsPerHiddenLayer);
    REQUIRE_AT_MOST(rules, Alien_NN_Movement_NeuronsPerHiddenLayer, kMaxNetworkSize);
    REQUIRE_NEURONS_IF_HIDDEN(rules, Alien_NN_Movement);
    REQUIRE(rules, CParams::Alien_NN_Attack_NumInputs == 4, Alien_NN_Attack_NumInputs, "must be 4");
    REQUIRE(rules, CParams::Alien_NN_Attack_NumOutputs >= 1, Alien_NN_Attack_NumOutputs, "must be at least 1");
    REQUIRE_AT_MOST(rules, Alien_NN_Attack_NumOutputs, kMaxNetworkSize);
    REQUIRE_NON_NEGATIVE(rules, Alien_NN_Attack_NumHiddenLayers);
    REQUIRE_AT_MOST(rules, Alien_NN_Attack_NumHiddenLayers, kMaxNetworkSize);
    REQUIRE_NON_NEGATIVE(rules, Alien_NN_Attack_NeuronsPerHiddenLayer);
    REQUIRE_AT_MOST(rules, Alien_NN_Attack_NeuronsPerHiddenLayer, kMaxNetworkSize);
    REQUIRE_NEURONS_IF_HIDDEN(rules, Alien_NN_Attack);
    REQUIRE_POSITIVE(rules, NN_ActivationResponse);
}

// Only meaningful once every network size is within its bounds.
void checkNetworkWeights(CRuleList& rules)
{
    const long long movement = CNeuralNet::countWeights(CParams::Alien_NN_Movement_NumInputs, CParams::Alien_NN_Movement_NumOutputs,
                                           CParams::Alien_NN_Movement_NumHiddenLayers,
                                           CParams::Alien_NN_Movement_NeuronsPerHiddenLayer);
    const long long attack = CNeuralNet::countWeights(CParams::Alien_NN_Attack_NumInputs, CParams::Alien_NN_Attack_NumOutputs,
                                         CParams::Alien_NN_Attack_NumHiddenLayers,
                                         CParams::Alien_NN_Attack_NeuronsPerHiddenLayer);
    const std::string rule = "makes a network of more than " + std::to_string(kMaxWeightsPerNetwork) + " weights";
    rules.require(movement <= kMaxWeightsPerNetwork, "Alien_NN_Movement_NeuronsPerHiddenLayer",
                  CParams::Alien_NN_Movement_NeuronsPerHiddenLayer, rule);
    rules.require(attack <= kMaxWeightsPerNetwork, "Alien_NN_Attack_NeuronsPerHiddenLayer",
                  CParams::Alien_NN_Attack_NeuronsPerHiddenLayer, rule);
}

void checkEvolution(CRuleList& rules)
{
    REQUIRE(rules, CParams::Alien_NumberInPool >= 1, Alien_NumberInPool, "must be at least 1");
    REQUIRE_AT_MOST(rules, Alien_NumberInPool, kMaxAliens);
    REQUIRE(rules, CParams::Alien_PercentBestInPool >= 1 && CParams::Alien_PercentBestInPool <= 100,
            Alien_PercentBestInPool, "must be from 1 to 100");
    REQUIRE_FROM_TO(rules, Alien_ProbCloneFromBest, 0, 1, "must be from 0 to 1");
    REQUIRE_FROM_TO(rules, Alien_CrossoverRate, 0, 1, "must be from 0 to 1");
    REQUIRE_FROM_TO(rules, Alien_MutationRate, 0, 100, "must be from 0 to 100");
    REQUIRE_FROM_TO(rules, Alien_MaxPerturbation, 0, kMaxPerturbation, "must be from 0 to 1000000");
    REQUIRE_NON_NEGATIVE(rules, Alien_Green_PoolHalfLife);
    REQUIRE_NON_NEGATIVE(rules, Alien_Red_PoolHalfLife);
    REQUIRE_WHOLE_FROM_TO(rules, Alien_Red_FitnessRule, 0, CAlien_Red::NumFitnessRules - 1);
}

void checkGunAndBullets(CRuleList& rules)
{
    REQUIRE_POSITIVE(rules, Gun_Mass);
    REQUIRE_NON_NEGATIVE(rules, Gun_MaxSpeed);
    REQUIRE_NON_NEGATIVE(rules, Gun_MovementForce);
    REQUIRE_ONE_PIXEL(rules, Gun_Width);
    REQUIRE(rules, CParams::Gun_Width < CParams::Window_Width, Gun_Width, "must be less than Window_Width");
    REQUIRE_ONE_PIXEL(rules, Gun_Height);
    REQUIRE_ON_OFF(rules, Gun_AutoMode);
    REQUIRE_NON_NEGATIVE(rules, Gun_AutoDirectionInterval);
    REQUIRE_AT_MOST(rules, Gun_AutoDirectionInterval, kMaxSteps);
    REQUIRE_NON_NEGATIVE(rules, Gun_FireInterval);
    REQUIRE_AT_MOST(rules, Gun_FireInterval, kMaxSteps);
    REQUIRE_ONE_PIXEL(rules, Bullet_Width);
    REQUIRE_ONE_PIXEL(rules, Bullet_Height);
    // Every alien looks at each bullet that may touch it, every step: a bullet many aliens
    // wide would be looked at by all of them.
    REQUIRE(rules, CParams::Bullet_Width <= std::max<double>(kLargeBullet, 2 * CParams::Alien_Width), Bullet_Width,
            "must be at most " + std::to_string(kLargeBullet) + " or twice Alien_Width, whichever is more");
    REQUIRE(rules, CParams::Bullet_Height <= std::max<double>(kLargeBullet, 2 * CParams::Alien_Height),
            Bullet_Height, "must be at most " + std::to_string(kLargeBullet) + " or twice Alien_Height, whichever is more");
    // A bullet that does not move never leaves the window and is never removed.
    REQUIRE_POSITIVE(rules, Bullet_Speed);
}

// Only meaningful once the window, the clock and the sizes are within their bounds.
void checkBulletFlight(CRuleList& rules)
{
    const double stepMs = 1000.0 / CParams::Game_FramesPerSecond;
    const double flight = (CParams::Window_Width + 2 * CParams::Alien_Width)
                          + (CParams::Window_Height + 2 * CParams::Alien_Height);
    const double slowest = flight / (kMaxBulletFlightSteps * stepMs);
    std::ostringstream rule;
    rule << "must carry a bullet out of the window within " << kMaxBulletFlightSteps << " steps: at least "
         << slowest << " here";
    REQUIRE(rules, CParams::Bullet_Speed >= slowest, Bullet_Speed, rule.str());
}

// Bytes the game's window takes for each of its pixels: front and back colour and the depth
// buffer (12), the background's copy (4), and while a frame is captured its pixels read back,
// as a bitmap and as the file's contents (10).
constexpr double kWindowBytesPerPixel = 26;

// Only meaningful once every other rule holds: the estimate counts what they bound.
void checkMemory(CRuleList& rules, const std::string& fileName, int worlds, double maxBytes)
{
    const double need =
        worlds * estimateWorldBytes() + kWindowBytesPerPixel * CParams::Window_Width * CParams::Window_Height;
    if (need <= maxBytes)
        return;
    constexpr double kGiB = 1024.0 * 1024 * 1024;
    std::ostringstream line;
    line << fileName << ": these values need about " << std::fixed << std::setprecision(1) << need / kGiB
         << " GiB of memory, more than the " << std::setprecision(0) << maxBytes / kGiB
         << " GiB allowed ("
         << (worlds > 1 ? "the game's world and the control world beside it: aliens' and pools' brains, bullets; "
                        : "aliens' and pools' brains, bullets, ")
         << "the window's pictures and a capture)";
    rules.m_vProblems.push_back(line.str());
}
} // namespace

std::vector<std::string> CParams::validate(const std::string& fileName)
{
    // Later values are unread too; their rules would only repeat this one problem.
    if (s_iNumValuesRead < NumLoaded)
        return {fileName + ": " + s_sReadProblem};
    CRuleList rules(fileName);
    checkFinite(rules);
    checkWindowAndTiming(rules, s_iShortestSaveInterval);
    checkAliens(rules);
    checkNetworks(rules);
    if (rules.m_vProblems.empty())
        checkNetworkWeights(rules);
    checkEvolution(rules);
    checkGunAndBullets(rules);
    if (rules.m_vProblems.empty())
        checkBulletFlight(rules);
    if (rules.m_vProblems.empty())
        checkMemory(rules, fileName, s_iWorlds, s_dMaxMemoryBytes);
    return rules.m_vProblems;
}

void CParams::setWorldsAndMemory(int worlds, double maxBytes)
{
    s_iWorlds = worlds;
    s_dMaxMemoryBytes = maxBytes;
}

void CParams::setShortestSaveInterval(int ms)
{
    s_iShortestSaveInterval = ms;
}

std::vector<std::string> CParams::warnings(const std::string& fileName)
{
    if (s_sOrderWarning.empty())
        return {};
    return {fileName + ": " + s_sOrderWarning};
}

std::vector<std::string> CParams::checkFile(const std::string& fileName)
{
    std::vector<double> values;
    for (const SParamSlot& slot : g_aSlots)
        values.push_back(slot.piValue ? *slot.piValue : *slot.pdValue);
    const int valuesRead = s_iNumValuesRead;
    const std::string readProblem = s_sReadProblem, orderWarning = s_sOrderWarning;
    std::string error;
    const std::vector<std::string> problems = CParams().loadParameters(fileName.c_str(), error)
                                                  ? validate(fileName)
                                                  : std::vector<std::string>{fileName + ": " + error};
    for (size_t i = 0; i < values.size(); ++i)
    {
        if (g_aSlots[i].piValue)
            *g_aSlots[i].piValue = static_cast<int>(values[i]);
        else
            *g_aSlots[i].pdValue = values[i];
    }
    updateDerived();
    s_iNumValuesRead = valuesRead;
    s_sReadProblem = readProblem;
    s_sOrderWarning = orderWarning;
    return problems;
}

bool CParams::reportProblems(const std::string& fileName)
{
    for (const std::string& warning : warnings(fileName))
        std::cerr << warning << '\n';
    const std::vector<std::string> problems = validate(fileName);
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
    return problems.empty();
}

bool CParams::loadAndReport(const std::string& fileName)
{
    std::string error;
    if (!CParams().loadParameters(fileName.c_str(), error))
    {
        // "Cannot find" only where there is nothing to find: a file too large or a folder is
        // told as what it is.
        if (error == std::strerror(ENOENT))
            std::cerr << "Cannot find '" << fileName << "'\n";
        std::cerr << fileName << ": " << error << std::endl;
        return false;
    }
    return reportProblems(fileName);
}
