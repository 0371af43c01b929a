#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A RIFF wave file of 16-bit PCM, as a sound device's wave-file output writes it.
struct SWaveFile
{
    std::string sError; // empty when the file was whole and of 16-bit PCM
    int iChannels = 0;
    int iRate = 0;
    std::vector<int16_t> viSamples; // the channels interleaved
};

namespace wavefile_detail
{
inline uint32_t word(const std::string& bytes, size_t at, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

inline SWaveFile refused(const std::string& why)
{
    SWaveFile wave;
    wave.sError = why;
    return wave;
}
} // namespace wavefile_detail

// Reads the file's bytes. A file whose sizes were never filled in (its writer did not close
// it) or whose chunks overrun it is refused, saying so.
inline SWaveFile parseWaveFile(const std::string& bytes)
{
    using wavefile_detail::refused;
    using wavefile_detail::word;
    SWaveFile wave;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return refused("not a RIFF wave file");
    if (word(bytes, 4, 4) != bytes.size() - 8)
        return refused("the RIFF size is not the file's: the file was not finished");
    int bits = 0;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const std::string id = bytes.substr(at, 4);
        const size_t size = word(bytes, at + 4, 4);
        if (size > bytes.size() - at - 8)
            return refused("the chunk " + id + " overruns the file");
        if (id == "fmt " && size >= 16)
        {
            const uint32_t format = word(bytes, at + 8, 2);
            if (format != 1 && format != 0xFFFE) // PCM, or PCM described by an extension
                return refused("not PCM");
            wave.iChannels = static_cast<int>(word(bytes, at + 10, 2));
            wave.iRate = static_cast<int>(word(bytes, at + 12, 4));
            bits = static_cast<int>(word(bytes, at + 22, 2));
        }
        else if (id == "data")
        {
            if (bits != 16)
                return refused("not 16-bit samples, or no format before the data");
            wave.viSamples.resize(size / 2);
            std::memcpy(wave.viSamples.data(), bytes.data() + at + 8, wave.viSamples.size() * 2); // little-endian
        }
        at += 8 + size + (size & 1);
    }
    if (bits == 0)
        wave.sError = "no format chunk";
    return wave;
}
