#include "app/cparams.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>

#include "brain/cneuralnet.h"

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
double CParams::Reserved_30 = 0.0;
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
double CParams::Reserved_52 = 0.0;
double CParams::Reserved_53 = 0.0;
int CParams::Gun_AutoDirectionInterval = 0;
int CParams::Gun_FireInterval = 0;
double CParams::Reserved_56 = 0.0;
int CParams::Gun_AutoMode = 0;
double CParams::Reserved_58 = 0.0;
double CParams::Window_Diagonal = 0.0;
double CParams::Alien_Diagonal = 0.0;
int CParams::s_iNumValuesRead = 0;
std::vector<std::string> CParams::s_vLabels;

namespace
{
// One loaded member: exactly one of the two pointers is set.
struct SParamSlot
{
    const char* szName;
    int* piValue;
    double* pdValue;
};

#define INT_SLOT(name) {#name, &CParams::name, nullptr}
#define DOUBLE_SLOT(name) {#name, nullptr, &CParams::name}

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
    DOUBLE_SLOT(Reserved_30),
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
    DOUBLE_SLOT(Reserved_52),
    DOUBLE_SLOT(Reserved_53),
    INT_SLOT(Gun_AutoDirectionInterval),
    INT_SLOT(Gun_FireInterval),
    DOUBLE_SLOT(Reserved_56),
    INT_SLOT(Gun_AutoMode),
    DOUBLE_SLOT(Reserved_58),
};

#undef INT_SLOT
#undef DOUBLE_SLOT

// Extracts into a temporary first: a failed extraction would write 0 into the member.
template <typename T> bool readValue(std::istream& in, T* pTarget)
{
    T value{};
    if (!(in >> value))
        return false;
    *pTarget = value;
    return true;
}

bool readSlot(std::istream& in, const SParamSlot& slot)
{
    return slot.piValue ? readValue(in, slot.piValue) : readValue(in, slot.pdValue);
}
} // namespace

bool CParams::loadParameters(const char* szFileName)
{
    std::ifstream in(szFileName);
    if (!in)
        return false;
    readParameters(in);
    return true;
}

bool CParams::readParameters(std::istream& in)
{
    s_iNumValuesRead = 0;
    s_vLabels.clear();
    for (const SParamSlot& slot : g_aSlots)
    {
        // A label is one word of any length; a long one is skipped whole.
        std::string label;
        if (!(in >> label))
            break;
        s_vLabels.push_back(label);
        if (!readSlot(in, slot))
            break;
        ++s_iNumValuesRead;
    }

    updateDerived();
    return s_iNumValuesRead == NumLoaded;
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
    s_vLabels.clear();
}

namespace
{
// Generous bounds that keep a hostile file from asking for unbounded memory.
constexpr int kMaxWindowSide = 16384;
constexpr int kMaxFramesPerSecond = 1000;
constexpr int kMaxAliens = 10000;
constexpr int kMaxNetworkSize = 1000;
constexpr long long kMaxWeightsPerNetwork = 1000000;

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

void checkWindowAndTiming(CRuleList& rules)
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
}

void checkAliens(CRuleList& rules)
{
    REQUIRE_POSITIVE(rules, Alien_Width);
    REQUIRE_POSITIVE(rules, Alien_Height);
    REQUIRE_POSITIVE(rules, Alien_Mass);
    REQUIRE_NON_NEGATIVE(rules, Alien_DyingTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_BeingBornTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_ExplosionFrameTime);
    REQUIRE_NON_NEGATIVE(rules, Alien_MovementForce);
    REQUIRE_NON_NEGATIVE(rules, Alien_MaxSpeed);
    REQUIRE(rules, CParams::Alien_SensorWidthScale >= 1, Alien_SensorWidthScale, "must be at least 1");
    REQUIRE_POSITIVE(rules, Alien_SensorLengthScale);
    REQUIRE_POSITIVE(rules, Alien_SensorMaxTime);
    REQUIRE_POSITIVE(rules, Alien_Green_SpawnInterval);
    REQUIRE_NON_NEGATIVE(rules, Alien_Red_FireDelay);
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
}

void checkNetworks(CRuleList& rules)
{
    const bool sensors = CParams::Alien_NN_Movement_UseSensors != 0;
    REQUIRE(rules, CParams::Alien_NN_Movement_NumInputs == (sensors ? 6 : 2), Alien_NN_Movement_NumInputs,
            sensors ? "must be 6 while Alien_NN_Movement_UseSensors is on" : "must be 2 while Alien_NN_Movement_UseSensors is off");
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
    REQUIRE_NON_NEGATIVE(rules, Alien_MutationRate);
    REQUIRE_NON_NEGATIVE(rules, Alien_MaxPerturbation);
}

void checkGunAndBullets(CRuleList& rules)
{
    REQUIRE_POSITIVE(rules, Gun_Mass);
    REQUIRE_NON_NEGATIVE(rules, Gun_MaxSpeed);
    REQUIRE_NON_NEGATIVE(rules, Gun_MovementForce);
    REQUIRE_POSITIVE(rules, Gun_Width);
    REQUIRE(rules, CParams::Gun_Width < CParams::Window_Width, Gun_Width, "must be less than Window_Width");
    REQUIRE_POSITIVE(rules, Gun_Height);
    REQUIRE_NON_NEGATIVE(rules, Gun_AutoDirectionInterval);
    REQUIRE_NON_NEGATIVE(rules, Gun_FireInterval);
    REQUIRE_POSITIVE(rules, Bullet_Width);
    REQUIRE_POSITIVE(rules, Bullet_Height);
    // A bullet that does not move never leaves the window and is never removed.
    REQUIRE_POSITIVE(rules, Bullet_Speed);
}
} // namespace

std::vector<std::string> CParams::validate(const std::string& fileName)
{
    if (s_iNumValuesRead < NumLoaded)
    {
        // Later values are unread too; their rules would only repeat this one problem.
        const int index = s_iNumValuesRead;
        const std::string label =
            index < static_cast<int>(s_vLabels.size()) ? s_vLabels[index] : g_aSlots[index].szName;
        return {fileName + ": value " + std::to_string(index + 1) + " (" + label + ") is missing or not a number"};
    }
    CRuleList rules(fileName);
    checkFinite(rules);
    checkWindowAndTiming(rules);
    checkAliens(rules);
    checkNetworks(rules);
    if (rules.m_vProblems.empty())
        checkNetworkWeights(rules);
    checkEvolution(rules);
    checkGunAndBullets(rules);
    return rules.m_vProblems;
}

bool CParams::reportProblems(const std::string& fileName)
{
    const std::vector<std::string> problems = validate(fileName);
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
    return problems.empty();
}
