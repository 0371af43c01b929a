#include "app/csound.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "app/csoundeffects.h"
#include "files/safefile.h"

namespace
{
constexpr size_t kMaxSettingsBytes = 64;

// The kind's place in the table, or -1.
int indexOf(int iKind)
{
    const CSoundEffects::SKind* kind = CSoundEffects::find(iKind);
    return kind ? static_cast<int>(kind - CSoundEffects::all().data()) : -1;
}

std::string alcError(ALCdevice* pDevice)
{
    const ALCchar* text = alcGetString(pDevice, alcGetError(pDevice));
    return text ? text : "unknown error";
}
} // namespace

CSound::~CSound()
{
    release();
}

bool CSound::start()
{
    if (m_iState == STATE_NOT_STARTED && open())
        m_iState = STATE_OPEN;
    return isOpen();
}

bool CSound::open()
{
    m_pDevice = alcOpenDevice(nullptr);
    if (!m_pDevice)
    {
        goSilent("the default OpenAL device cannot be opened");
        return false;
    }
    m_pContext = alcCreateContext(m_pDevice, nullptr);
    if (!m_pContext || !alcMakeContextCurrent(m_pContext))
    {
        goSilent("no OpenAL context: " + alcError(m_pDevice));
        return false;
    }
    alGetError(); // a fresh context has none, but a lingering one must not be taken for ours
    // Gains stay as made: no attenuation by distance, whatever the library's default.
    alDistanceModel(AL_NONE);
    for (const CSoundEffects::SKind& kind : CSoundEffects::all())
        if (!upload(kind.iId))
            return false;
    m_viNextSource.assign(CSoundEffects::all().size(), 0);
    return true;
}

// The effect into a buffer of its own, and the sources that play it.
bool CSound::upload(int iKind)
{
    const std::vector<int16_t> samples = CSoundEffects::synthesise(iKind);
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (!succeeded(std::string("making the buffer of the ") + CSoundEffects::name(iKind)))
        return false;
    m_viBuffers.push_back(buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(int16_t)),
                 CSoundEffects::kSampleRate);
    for (int i = 0; i < kSourcesPerKind; ++i)
    {
        ALuint source = 0;
        alGenSources(1, &source);
        if (!succeeded(std::string("making the sources of the ") + CSoundEffects::name(iKind)))
            return false;
        m_viSources.push_back(source);
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    }
    return succeeded(std::string("loading the ") + CSoundEffects::name(iKind));
}

void CSound::play(int iKind)
{
    const int index = indexOf(iKind);
    if (m_bMuted || index < 0 || !current())
        return;
    int& next = m_viNextSource[index];
    // In the order they started: the next source is the free one or the oldest.
    alSourcePlay(m_viSources[index * kSourcesPerKind + next]);
    next = (next + 1) % kSourcesPerKind;
    succeeded(std::string("playing the ") + CSoundEffects::name(iKind));
}

void CSound::setMuted(bool bMuted)
{
    m_bMuted = bMuted;
    if (bMuted && current())
    {
        stopAll();
        succeeded("stopping the sounds");
    }
}

bool CSound::isPlaying()
{
    if (!current())
        return false;
    bool playing = false;
    for (ALuint source : m_viSources)
    {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        playing = playing || state == AL_PLAYING;
    }
    return succeeded("asking the sources") && playing;
}

// Open, and its context the one OpenAL works on (another may have been made current since).
bool CSound::current()
{
    if (!isOpen())
        return false;
    if (alcGetCurrentContext() == m_pContext || alcMakeContextCurrent(m_pContext))
        return true;
    goSilent("the context cannot be made current: " + alcError(m_pDevice));
    return false;
}

// False, after going silent, when the OpenAL calls since the last check failed.
bool CSound::succeeded(const std::string& action)
{
    const ALenum error = alGetError();
    if (error == AL_NO_ERROR)
        return true;
    const ALchar* text = alGetString(error);
    goSilent(action + " failed: " + (text ? text : "unknown error"));
    return false;
}

void CSound::goSilent(const std::string& cause)
{
    std::cerr << "No sound device: the game is silent (" << cause << ")" << std::endl;
    release();
    m_iState = STATE_SILENT;
}

// A source at a time: the page's OpenAL (Emscripten's) throws in alSourceStopv, which hands
// each stop the source's number where the source belongs.
void CSound::stopAll()
{
    for (const ALuint source : m_viSources)
        alSourceStop(source);
}

void CSound::release()
{
    if (m_pContext && (alcGetCurrentContext() == m_pContext || alcMakeContextCurrent(m_pContext)))
    {
        // Sources go before the buffers they hold; a buffer still attached cannot be deleted.
        stopAll();
        alDeleteSources(static_cast<ALsizei>(m_viSources.size()), m_viSources.data());
        alDeleteBuffers(static_cast<ALsizei>(m_viBuffers.size()), m_viBuffers.data());
        alGetError();
    }
    m_viSources.clear();
    m_viBuffers.clear();
    if (m_pContext)
    {
        if (alcGetCurrentContext() == m_pContext)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_pContext);
        m_pContext = nullptr;
    }
    if (m_pDevice)
        alcCloseDevice(m_pDevice);
    m_pDevice = nullptr;
}

bool CSound::loadSettings(const std::string& fileName)
{
    std::string text, error;
    if (!readRegularFile(fileName, kMaxSettingsBytes, text, error))
    {
        if (error != std::strerror(ENOENT))
            std::cerr << "Cannot read " << fileName << ": " << error << std::endl;
        return false;
    }
    // One line, its line end optional: what the game writes, or the same edited by hand.
    const std::string line = text.ends_with('\n') ? text.substr(0, text.size() - 1) : text;
    if (line != "muted 0" && line != "muted 1")
    {
        std::cerr << "Cannot read " << fileName << ": it holds \"" << printableExcerpt(line)
                  << "\", not \"muted 0\" or \"muted 1\"" << std::endl;
        return false;
    }
    m_bMuted = line == "muted 1";
    return true;
}

bool CSound::saveSettings(const std::string& fileName) const
{
    std::string error;
    if (writeFileAtomically(fileName, m_bMuted ? "muted 1\n" : "muted 0\n", error))
        return true;
    std::cerr << "Cannot save " << fileName << ": " << error << std::endl;
    return false;
}
