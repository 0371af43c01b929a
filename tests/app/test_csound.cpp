#include "app/csound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include <sys/stat.h>

#include "app/csoundeffects.h"
#include "support/asnobody.h"
#include "support/childprocess.h"
#include "support/devicenode.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"
#include "support/soundmeasures.h"
#include "support/wavefile.h"

// CSound runs the real OpenAL Soft. Its wave-file output stands in for a sound card: the
// environment variable ALSOFT_DRIVERS=wave chooses it, and ALSOFT_CONF names a configuration
// file giving the file's name and a format the test reads back (mono, 16 bits at 22050 Hz,
// undithered, so that silence is silence). OpenAL Soft reads its configuration once a process,
// so each run of the sound is a child process of its own, with a deadline for a hang.
namespace
{
constexpr std::chrono::seconds kDeadline(60);
constexpr double kRate = 22050.0;

class CWaveOutput
{
public:
    CWaveOutput()
    {
        std::ofstream(m_folder / "alsoft.conf") << "[general]\nchannels = mono\nsample-type = int16\n"
                                                   "frequency = 22050\ndither = false\n[wave]\nfile = "
                                                << wavePath() << "\n";
    }
    std::string wavePath() const { return m_folder / "out.wav"; }
    std::vector<std::pair<std::string, std::string>> environment() const
    {
        return {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", m_folder / "alsoft.conf"}};
    }
    // The wave file once the device has closed it.
    SWaveFile read() const { return parseWaveFile(readWholeFile(wavePath())); }
    bool exists() const
    {
        struct stat status;
        return stat(wavePath().c_str(), &status) == 0;
    }
    off_t size() const
    {
        struct stat status;
        return stat(wavePath().c_str(), &status) == 0 ? status.st_size : 0;
    }

private:
    CScratchFolder m_folder;
};

// Waits in the child, polling, until the check holds or half the child's deadline passes.
bool waitFor(const std::function<bool()>& check)
{
    const auto until = std::chrono::steady_clock::now() + kDeadline / 2;
    while (!check())
    {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The first sample at or after from that is louder than a twentieth of full scale.
size_t onsetFrom(const std::vector<int16_t>& samples, size_t from)
{
    while (from < samples.size() && std::abs(samples[from]) < 0.05 * 32767)
        ++from;
    return from;
}

size_t samplesIn(int ms)
{
    return static_cast<size_t>(ms * kRate / 1000.0);
}

// What was said on a stream, without the lines OpenAL Soft logs of its own ("AL lib: (EE) ...").
std::string withoutTheLibrarysLog(const std::string& said)
{
    std::istringstream lines(said);
    std::string kept, line;
    while (std::getline(lines, line))
        if (line.rfind("AL lib: ", 0) != 0)
            kept += line + "\n";
    return kept;
}

// A gun shot, then an explosion once the shot has ended, each waited for until it stops
// sounding; the device is closed as the CSound goes, which finishes the file.
TEST(CSoundTest, EffectsPlayedReachTheDeviceAsTheirSounds)
{
    const CWaveOutput output;
    const SChildRun run = runInChild(
        [&output] {
            CSound sound;
            std::ostringstream said;
            sound.play(SOUND_GUN_SHOT);
            said << "before start: open " << sound.isOpen() << ", playing " << sound.isPlaying() << ", device "
                 << output.exists() << "\n";
            said << "start " << sound.start() << ", again " << sound.start() << ", device " << output.exists() << "\n";
            sound.play(SOUND_NONE);
            sound.play(SOUND_KIND_COUNT);
            said << "unknown kinds: open " << sound.isOpen() << ", playing " << sound.isPlaying() << "\n";
            for (int kind : {SOUND_GUN_SHOT, SOUND_EXPLOSION})
            {
                sound.play(kind);
                said << CSoundEffects::name(kind) << ": playing " << sound.isPlaying();
                said << ", ended " << waitFor([&sound] { return !sound.isPlaying(); }) << "\n";
            }
            // Muting stops what sounds and keeps new sounds from starting; unmuting plays again.
            sound.play(SOUND_EXPLOSION);
            sound.setMuted(true);
            said << "muted: playing " << sound.isPlaying();
            sound.play(SOUND_GUN_SHOT);
            said << ", after a shot " << sound.isPlaying();
            sound.setMuted(false);
            sound.play(SOUND_GUN_SHOT);
            said << "; unmuted, after a shot " << sound.isPlaying() << "\n";
            std::cout << said.str();
            return 0;
        },
        output.environment(), kDeadline);
    ASSERT_TRUE(run.bEnded) << run.sErr;
    EXPECT_EQ(run.iExitStatus, 0) << run.sErr;
    EXPECT_EQ(run.sErr, "");
    EXPECT_EQ(run.sOut, "before start: open 0, playing 0, device 0\n"
                        "start 1, again 1, device 1\n"
                        "unknown kinds: open 1, playing 0\n"
                        "gun shot: playing 1, ended 1\n"
                        "explosion: playing 1, ended 1\n"
                        "muted: playing 0, after a shot 0; unmuted, after a shot 1\n");

    const SWaveFile wave = output.read();
    ASSERT_EQ(wave.sError, "");
    ASSERT_EQ(wave.iChannels, 1);
    ASSERT_EQ(wave.iRate, 22050);
    const std::vector<int16_t>& samples = wave.viSamples;
    const size_t shot = onsetFrom(samples, 0);
    ASSERT_LT(shot + samplesIn(80), samples.size()) << "no gun shot in the file";
    const double shotHz = strongestFrequency(samples, shot, shot + samplesIn(80), kRate);
    EXPECT_GE(shotHz, 1280);
    EXPECT_LE(shotHz, 1360);
    // As loud as made: nothing attenuates it on the way.
    EXPECT_GE(peakOf(samples, shot, shot + samplesIn(80)), 0.9 * peakOf(CSoundEffects::synthesise(SOUND_GUN_SHOT)));
    // The explosion came after the shot had ended, low and as loud as made.
    const size_t blast = onsetFrom(samples, shot + samplesIn(80));
    ASSERT_LT(blast + samplesIn(350), samples.size()) << "no explosion in the file";
    EXPECT_LE(strongestFrequency(samples, blast, blast + samplesIn(350), kRate), 1000);
    EXPECT_GE(peakOf(samples, blast, blast + samplesIn(350)), 0.9 * peakOf(CSoundEffects::synthesise(SOUND_EXPLOSION)));
}

// Muted from the start, the device hears nothing however long it runs.
TEST(CSoundTest, MutedEffectsLeaveTheDeviceSilent)
{
    const CWaveOutput output;
    const off_t enough = 100 + static_cast<off_t>(samplesIn(600)) * 2;
    const SChildRun run = runInChild(
        [&output, enough] {
            CSound sound;
            sound.setMuted(true);
            std::cout << "start " << sound.start();
            for (const CSoundEffects::SKind& kind : CSoundEffects::all())
                sound.play(kind.iId);
            std::cout << ", playing " << sound.isPlaying();
            // Long enough for every effect but the game over to have sounded.
            std::cout << ", waited " << waitFor([&] { return output.size() >= enough; }) << "\n";
            return 0;
        },
        output.environment(), kDeadline);
    ASSERT_TRUE(run.bEnded) << run.sErr;
    EXPECT_EQ(run.iExitStatus, 0) << run.sErr;
    EXPECT_EQ(run.sErr, "");
    EXPECT_EQ(run.sOut, "start 1, playing 0, waited 1\n");

    const SWaveFile wave = output.read();
    ASSERT_EQ(wave.sError, "");
    ASSERT_EQ(wave.iChannels, 1);
    EXPECT_GE(wave.viSamples.size(), samplesIn(600));
    EXPECT_EQ(peakOf(wave.viSamples, 0, wave.viSamples.size()), 0);
}

// No device to be had: no driver of that name, or a wave file that cannot be created. The
// game is told once, and every call after returns at once.
TEST(CSoundTest, WithoutADeviceTheSilenceIsSaidOnceAndEveryCallReturns)
{
    CScratchFolder scratch;
    std::ofstream(scratch / "nowhere.conf") << "[wave]\nfile = " << (scratch / "missing/out.wav") << "\n";
    const std::vector<std::vector<std::pair<std::string, std::string>>> setups = {
        {{"ALSOFT_DRIVERS", "no-such-driver"}},
        {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", scratch / "nowhere.conf"}},
    };
    for (const auto& environment : setups)
    {
        SCOPED_TRACE(environment.back().second);
        const SChildRun run = runInChild(
            [] {
                CSound sound;
                std::cout << "start " << sound.start() << ", again " << sound.start();
                for (int round = 0; round < 3; ++round)
                    for (const CSoundEffects::SKind& kind : CSoundEffects::all())
                        sound.play(kind.iId);
                sound.setMuted(true);
                sound.setMuted(false);
                std::cout << ", open " << sound.isOpen() << ", playing " << sound.isPlaying() << ", muted "
                          << sound.isMuted() << "\n";
                return 0;
            },
            environment, kDeadline);
        ASSERT_TRUE(run.bEnded) << run.sErr;
        EXPECT_EQ(run.iExitStatus, 0) << run.sErr;
        EXPECT_EQ(run.sOut, "start 0, again 0, open 0, playing 0, muted 0\n");
        EXPECT_EQ(withoutTheLibrarysLog(run.sErr),
                  "No sound device: the game is silent (the default OpenAL device cannot be opened)\n");
    }
}

// The choice is kept as one line, and read back.
TEST(CSoundTest, TheMuteChoiceIsSavedAndReadBack)
{
    CScratchFolder scratch;
    const std::string file = scratch / kSoundSettingsFile;
    for (bool muted : {true, false, true})
    {
        CSound saver;
        saver.setMuted(muted);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(saver.saveSettings(file));
        CSound reader;
        reader.setMuted(!muted);
        EXPECT_TRUE(reader.loadSettings(file));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(readWholeFile(file), muted ? "muted 1\n" : "muted 0\n");
        EXPECT_EQ(reader.isMuted(), muted);
    }
    // Edited by hand without its line end, it still counts.
    std::ofstream(file) << "muted 1";
    CSound reader;
    EXPECT_TRUE(reader.loadSettings(file));
    EXPECT_TRUE(reader.isMuted());
}

// A file that is not one of the two lines leaves the choice as it was and says why, naming the
// file; a missing one says nothing (no choice was made yet).
TEST(CSoundTest, SettingsThatCannotBeReadLeaveTheChoiceAndSayWhy)
{
    CScratchFolder scratch;
    const std::string file = scratch / "settings";
    const std::string cannot = "Cannot read " + file + ": ";
    struct SCase
    {
        const char* szWhat;
        std::function<bool()> make;
        std::string sSaid;
    };
    const auto write = [file](const std::string& text) {
        return [file, text] { return static_cast<bool>(std::ofstream(file, std::ios::binary) << text); };
    };
    const std::vector<SCase> cases = {
        {"missing", [] { return true; }, ""},
        {"empty", write(""), cannot + "it holds \"\", not \"muted 0\" or \"muted 1\"\n"},
        {"another value", write("muted 2\n"), cannot + "it holds \"muted 2\", not \"muted 0\" or \"muted 1\"\n"},
        {"two lines", write("muted 0\nmuted 1\n"),
         cannot + "it holds \"muted 0\\x0Amuted 1\", not \"muted 0\" or \"muted 1\"\n"},
        {"binary", write(std::string("\x7F" "ELF\0\x01", 6)),
         cannot + "it holds \"\\x7FELF\\x00\\x01\", not \"muted 0\" or \"muted 1\"\n"},
        {"huge", write(std::string(1 << 20, 'm')), cannot + "is larger than 64 bytes\n"},
        {"folder", [file] { return mkdir(file.c_str(), 0755) == 0; }, cannot + "is a folder\n"},
        {"FIFO without a writer", [file] { return mkfifo(file.c_str(), 0644) == 0; }, cannot + "is not a regular file\n"},
        {"device", [file] { return makeDeviceNode(file, 5); }, cannot + "is not a regular file\n"},
    };
    for (const SCase& bad : cases)
    {
        SCOPED_TRACE(bad.szWhat);
        std::filesystem::remove_all(file);
        if (!bad.make())
        {
            EXPECT_STREQ(bad.szWhat, "device") << "could not make the file";
            continue; // this test may not make device nodes
        }
        CSound sound;
        sound.setMuted(true);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(sound.loadSettings(file));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), bad.sSaid);
        EXPECT_TRUE(sound.isMuted());
    }
}

// A save that cannot be made says so and is not taken for done; what stood there stays.
TEST(CSoundTest, SavesThatFailSayWhyAndLeaveWhatWasThere)
{
    CScratchFolder scratch;
    ASSERT_EQ(mkdir((scratch / "folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((scratch / "fifo").c_str(), 0644), 0);
    for (const std::string& file : {scratch / "missing/settings", scratch / "folder", scratch / "fifo"})
    {
        SCOPED_TRACE(file);
        CSound sound;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(sound.saveSettings(file));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("Cannot save " + file + ": ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder"));
    EXPECT_TRUE(std::filesystem::is_fifo(scratch / "fifo"));

    // A folder the saver may not write to: the old choice stays whole.
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    ASSERT_EQ(mkdir((scratch / "locked").c_str(), 0755), 0);
    const std::string kept = scratch / "locked/settings";
    std::ofstream(kept) << "muted 1\n";
    ASSERT_EQ(chmod((scratch / "locked").c_str(), 0555), 0);
    EXPECT_TRUE(asNobody([&kept] {
        CSound sound;
        ::testing::internal::CaptureStderr();
        const bool saved = sound.saveSettings(kept);
        const std::string said = ::testing::internal::GetCapturedStderr();
        return !saved && said.rfind("Cannot save " + kept + ": ", 0) == 0;
    }));
    EXPECT_EQ(readWholeFile(kept), "muted 1\n");
}
} // namespace
