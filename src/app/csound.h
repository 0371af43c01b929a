#pragma once

#include <string>
#include <vector>

#include <AL/al.h>
#include <AL/alc.h>

// The file, in the working folder, that keeps the player's mute choice across runs:
// "muted 1\n" or "muted 0\n".
constexpr const char* kSoundSettingsFile = "KorvaneSound.txt";

// The game's sound effects (CSoundEffects) played through OpenAL. Nothing is opened until
// start(), which a web page may call only once the player has touched or pressed a key; before
// it every call is quiet. start() opens the default device and a context once, uploads each
// effect to a buffer and makes kSourcesPerKind sources for each kind. When the device cannot
// be opened, or any OpenAL call fails then or later, "No sound device: the game is silent
// (<cause>)" goes to the standard error stream once, everything opened is released, and from
// then on every call returns at once: the game plays on without sound, never waiting for it.
// In a page, Emscripten's OpenAL plays through Web Audio, which the browser holds suspended
// until the first key, click or touch. All calls come from one thread.
class CSound
{
public:
    static constexpr int kSourcesPerKind = 4;

    CSound() = default;
    ~CSound(); // stops every sound and closes the device
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // True when the effects can play (again at once on later calls); false when silent.
    bool start();
    // Starts the effect on the next source of its kind, cutting off the oldest one of the
    // kind when all are sounding. Nothing when muted, before start(), when silent or for an
    // unknown kind.
    void play(int iKind);
    // Muting also stops whatever sounds.
    void setMuted(bool bMuted);
    bool isMuted() const { return m_bMuted; }
    // Started and not silent.
    bool isOpen() const { return m_iState == STATE_OPEN; }
    // Started, and no device took the sound.
    bool isSilent() const { return m_iState == STATE_SILENT; }
    // Whether any effect is still sounding.
    bool isPlaying();

    // Takes the mute choice from the file. A missing file leaves it as it is, silently (a first
    // run); a file that cannot be read or does not hold one of the two lines leaves it too,
    // saying "Cannot read <file>: <reason>" on the standard error stream. True when the file
    // gave the choice.
    bool loadSettings(const std::string& fileName = kSoundSettingsFile);
    // Replaces the file only once the new one is whole; on failure "Cannot save <file>:
    // <reason>" goes to the standard error stream and the answer is false, never done.
    bool saveSettings(const std::string& fileName = kSoundSettingsFile) const;

private:
    static constexpr int STATE_NOT_STARTED = 0;
    static constexpr int STATE_OPEN = 1;
    static constexpr int STATE_SILENT = 2;

    bool open();
    bool upload(int iKind);
    bool current();
    bool succeeded(const std::string& action);
    void goSilent(const std::string& cause);
    void stopAll();
    void release();

    int m_iState = STATE_NOT_STARTED;
    bool m_bMuted = false;
    ALCdevice* m_pDevice = nullptr;   // owned
    ALCcontext* m_pContext = nullptr; // owned
    std::vector<ALuint> m_viBuffers;  // owned: one a kind, in the kinds' order
    std::vector<ALuint> m_viSources;  // owned: kSourcesPerKind a kind, in the kinds' order
    std::vector<int> m_viNextSource;  // a kind's next source, counted within the kind
};
