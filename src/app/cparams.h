#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

// The game's tuning values, read once from the parameter file before anything else runs
// and read everywhere afterwards by qualified name (CParams::Alien_MaxSpeed).
class CParams
{
public:
    // The loaded members, in file order: the order is the file format.
    static int Window_Width;
    static int Window_Height;
    static int Game_FramesPerSecond;
    static int Window_TopMargin;
    static int Window_BottomMargin;
    static int Stats_UpdateInterval;
    static int Stats_SaveInterval;
    static double Alien_Width;
    static double Alien_Height;
    static double Alien_Mass;
    static double Alien_DyingTime;
    static double Alien_BeingBornTime;
    static int Alien_NumberInPool;
    static double Alien_ProbCloneFromBest;
    static double Alien_CrossoverRate;
    static double Alien_SensorWidthScale;
    static double Alien_SensorLengthScale;
    static double Alien_SensorMaxTime;
    static int Alien_NN_Movement_UseSensors;
    static int Alien_NN_Movement_NumInputs;
    static int Alien_NN_Movement_NumOutputs;
    static int Alien_NN_Movement_NumHiddenLayers;
    static int Alien_NN_Movement_NeuronsPerHiddenLayer;
    static double NN_ActivationResponse;
    static double NN_Bias;
    static int Alien_NN_Attack_NumInputs;
    static int Alien_NN_Attack_NumOutputs;
    static int Alien_NN_Attack_NumHiddenLayers;
    static int Alien_NN_Attack_NeuronsPerHiddenLayer;
    // How many of the gun's nearest bullets coming at an alien its movement network sees, two
    // inputs each (CGunBulletSense), 0 for none, in the slot once named Reserved_30: that name
    // still reads.
    static double Alien_NN_Movement_GunBullets;
    static double Reserved_31;
    static int Alien_PercentBestInPool;
    static int Alien_MutationRate;
    static double Alien_MaxPerturbation;
    static int Alien_MovementForce;
    static double Alien_MaxSpeed;
    static double Alien_ExplosionFrameTime;
    static int Alien_ReproductionOn;
    static double Alien_Green_SpawnInterval;
    static int Alien_NumberOfGreen;
    static int Alien_Red_FireDelay;
    static int Alien_NumberOfRed;
    static double Alien_Red_TurretTurnRate;
    static double Gun_MaxSpeed;
    static double Gun_Mass;
    static double Gun_MovementForce;
    static double Gun_Width;
    static double Gun_Height;
    static double Bullet_Width;
    static double Bullet_Height;
    static double Bullet_Speed;
    // Game minutes in which a pool entry's fitness halves, 0 for never (the pool then keeps the
    // best brains ever offered), in the slots once named Reserved_52 and Reserved_53: those
    // names still read.
    static double Alien_Green_PoolHalfLife;
    static double Alien_Red_PoolHalfLife;
    static int Gun_AutoDirectionInterval;
    static int Gun_FireInterval;
    // Which score a red alien's brain enters its pool with (CAlien_Red::getFitness), 0 for the
    // game's first, in the slot once named Reserved_56: that name still reads.
    static double Alien_Red_FitnessRule;
    static int Gun_AutoMode;
    static double Reserved_58;

    // Derived after loading.
    static double Window_Diagonal;
    static double Alien_Diagonal;

    static constexpr int NumLoaded = 58;
    // The largest parameter file read: the shipped one is 1.4 kB.
    static constexpr size_t MaxFileBytes = 1 << 20;
    // The most memory a set of values may make the world hold (see validate): what a
    // desktop machine can give one program. The shipped values need about 0.2 MB, and
    // 10,000 + 10,000 aliens of the shipped networks about 90 MB.
    static constexpr double MaxMemoryBytes = 4.0 * 1024 * 1024 * 1024;
    // A web page gets less: the browser gives WebAssembly 2 GiB at most, the page's own share.
    static constexpr double MaxPageMemoryBytes = 1.0 * 1024 * 1024 * 1024;

    // How many worlds of the values a program runs at once (the game: its own and the control
    // world beside it) and the memory it may take: validate counts every world against it.
    // One world in at most MaxMemoryBytes until set.
    static void setWorldsAndMemory(int worlds, double maxBytes);

    // A web page keeps the statistics file in the browser's storage after every line, and its
    // storage takes tens of milliseconds for one: a period shorter than a game second would
    // ask for more keeps than it answers, in fast mode hundreds a second. The page refuses
    // shorter ones (setShortestSaveInterval); elsewhere any positive period runs.
    static constexpr int PageShortestSaveInterval = 1000;
    static void setShortestSaveInterval(int ms);

    // Reads the file with readParameters, if it is a regular file of at most MaxFileBytes
    // (a folder, FIFO or device is refused without being opened for reading). False, with
    // the reason in error ("Permission denied", "is a folder", "is not a regular file"...),
    // when it cannot be read; true otherwise, whatever it holds.
    bool loadParameters(const char* szFileName, std::string& error);
    bool loadParameters(const char* szFileName);

    // Reads the label/value pairs by position. A value must be one whole word of its
    // member's type; the first that is missing or is not leaves that member and every later
    // one as they were. Labels are not examined for loading, but one that spells another
    // member's name gives a warning: the file's order looks broken, and values are still
    // taken by position. However long a word, only its first characters are kept. True when
    // every value was read.
    static bool readParameters(std::istream& in);

    // One line per broken rule of the values now loaded, each naming the file and the
    // member, and quoting the value; empty when the game can run on them. A file that could
    // not be read whole gets one line, naming the first member it could not give a value.
    // Every loop the world runs is bounded through these rules, and a set of values whose
    // worlds would hold more than the memory allowed (setWorldsAndMemory) is refused with the
    // estimate.
    static std::vector<std::string> validate(const std::string& fileName);

    // Warnings about the last file read that do not refuse it (its order looks broken).
    static std::vector<std::string> warnings(const std::string& fileName);

    // What loading and validating the file would say (the reason it cannot be read, or one
    // line per problem), without changing any member: for checking a file before it is kept.
    static std::vector<std::string> checkFile(const std::string& fileName);

    // Prints the warnings and every problem validate finds to the standard error stream;
    // true when there is no problem.
    static bool reportProblems(const std::string& fileName);

    // Loads the file and reports, on the standard error stream, why it cannot be read
    // ("<name>: <reason>", after "Cannot find '<name>'" when there is no such file) or what is
    // wrong with its values; true when the game can run on them.
    static bool loadAndReport(const std::string& fileName);

    // Sets one loaded member by name (or the name its slot had before) after loading, its value read as the file's values are
    // (one whole word of the member's type), and recomputes the derived members. False, with
    // the reason in error and the member unchanged, for a name that is no member (the
    // nearest names are suggested) or a value that is not one word of its type. The rules
    // are validate's to check, once every value is set.
    static bool setByName(const std::string& name, const std::string& value, std::string& error);

    // One "Member=Value" setting, as setByName takes it; false, with the reason, when it is not
    // of that form or setByName refuses it.
    static bool setFromText(const std::string& setting, std::string& error);

    // A loaded member and its value, for listing them in file order; an int member's is whole.
    struct SMember
    {
        const char* szName;
        bool bInteger;
        double dValue;
    };
    static std::vector<SMember> members();
    // The members whose values differ from the list's, as "Member=Value" settings joined by
    // commas, each value written so that it reads back to the same bits.
    static std::string settingsAgainst(const std::vector<SMember>& base);

    // Recomputes the derived members from the loaded ones (loading does this itself).
    static void updateDerived();

    // Every member back to its value before any loading.
    static void resetToInitialValues();

private:
    static int s_iNumValuesRead;        // values the last load took from its file
    static std::string s_sReadProblem;  // why the next value could not be read
    static std::string s_sOrderWarning; // a label that spells another member's name
    static int s_iWorlds;
    static double s_dMaxMemoryBytes;
    static int s_iShortestSaveInterval;
};
