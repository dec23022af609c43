#include "audio/AuReader.h"

#include <cstring>

namespace Zorva {

namespace {

constexpr std::size_t kHeaderBytes = 24;
constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
constexpr uint32_t kMuLaw = 1;
constexpr uint32_t kLinear8 = 2;

uint32_t Be32(const uint8_t* at)
{
    return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
           (static_cast<uint32_t>(at[2]) << 8) | static_cast<uint32_t>(at[3]);
}

} // namespace

int16_t MuLawToLinear(uint8_t byte)
{
    const int e = byte | 0x80;
    int magnitude = 0;
    if (e > 0xEF) {
        magnitude = (0xFF - e) * 2;
    } else if (e > 0xDF) {
        magnitude = (0xF7 - e) * 4;
    } else if (e > 0xCF) {
        magnitude = (0xEB - e) * 8;
    } else if (e > 0xBF) {
        magnitude = (0xDD - e) * 16;
    } else if (e > 0xAF) {
        magnitude = (0xCE - e) * 32;
    } else if (e > 0x9F) {
        magnitude = 0x2FA0 - e * 64;
    } else if (e > 0x8F) {
        magnitude = 0x5760 - e * 128;
    } else {
        // The loudest code continues the last segment (0x1EE0), so full-scale peaks stay loud.
        magnitude = 0x9EE0 - e * 256;
    }
    const int sample = magnitude * 4;
    return static_cast<int16_t>(byte < 0x80 ? -sample : sample);
}

std::optional<SoundBuffer> ReadAu(const uint8_t* bytes, std::size_t size)
{
    if (bytes == nullptr || size < kHeaderBytes || std::memcmp(bytes, ".snd", 4) != 0) {
        return std::nullopt;
    }
    const uint32_t offset = Be32(bytes + 4);
    const uint32_t dataSize = Be32(bytes + 8);
    const uint32_t encoding = Be32(bytes + 12);
    const uint32_t rate = Be32(bytes + 16);
    const uint32_t channels = Be32(bytes + 20);
    if (offset < kHeaderBytes || offset > size) {
        return std::nullopt;
    }
    const std::size_t available = size - offset;
    // The format's own marker for "until the end of the file".
    const std::size_t length = dataSize == kUnknownSize ? available : dataSize;
    if (length > available || length > kMaxSoundBytes / 2) {
        return std::nullopt;
    }
    if (channels > 2 || rate > static_cast<uint32_t>(kMaxSampleRate) ||
        (encoding != kMuLaw && encoding != kLinear8)) {
        return std::nullopt;
    }
    SoundBuffer sound;
    sound.channels = static_cast<int>(channels);
    sound.sampleRate = static_cast<int>(rate);
    sound.bitsPerSample = encoding == kMuLaw ? 16 : 8;
    if (!IsPlayableFormat(sound.channels, sound.sampleRate, sound.bitsPerSample)) {
        return std::nullopt;
    }
    const uint8_t* data = bytes + offset;
    if (encoding == kMuLaw) {
        sound.data.resize(length * 2);
        for (std::size_t i = 0; i < length; ++i) {
            const auto sample = static_cast<uint16_t>(MuLawToLinear(data[i]));
            sound.data[2 * i] = static_cast<uint8_t>(sample & 0xFF);
            sound.data[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
        }
    } else {
        // Sun's 8-bit samples are signed; WAV-style 8-bit buffers are unsigned.
        sound.data.resize(length);
        for (std::size_t i = 0; i < length; ++i) {
            sound.data[i] = static_cast<uint8_t>(data[i] ^ 0x80);
        }
    }
    return sound;
}

} // namespace Zorva
