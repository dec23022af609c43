#include "audio/WavReader.h"

#include <cstring>

namespace Zorva {

namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatBytes = 16;
constexpr std::size_t kMaxDependencyName = 255;
constexpr uint16_t kPcmTag = 1;

uint16_t Le16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t Le32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

int64_t Le64(const uint8_t* at)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return static_cast<int64_t>(value);
}

bool IsChunk(const uint8_t* at, const char* id)
{
    return std::memcmp(at, id, 4) == 0;
}

} // namespace

std::optional<SoundBuffer> ReadWav(const uint8_t* bytes, std::size_t size,
                                   const SourceTimeCheck& isCurrent)
{
    if (bytes == nullptr || size < kRiffHeaderBytes || !IsChunk(bytes, "RIFF") ||
        !IsChunk(bytes + 8, "WAVE")) {
        return std::nullopt;
    }
    // The format in force so far; a "data" chunk takes the one before it.
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    SoundBuffer sound;
    bool haveData = false;
    std::size_t position = kRiffHeaderBytes;
    while (size - position >= kChunkHeaderBytes) {
        const uint8_t* header = bytes + position;
        const std::size_t chunkSize = Le32(header + 4);
        const std::size_t body = position + kChunkHeaderBytes;
        const std::size_t available = size - body;
        const uint8_t* chunk = bytes + body;
        if (IsChunk(header, "fmt ")) {
            if (chunkSize < kFormatBytes || chunkSize > available) {
                return std::nullopt;
            }
            if (Le16(chunk) != kPcmTag) {
                return std::nullopt;
            }
            channels = Le16(chunk + 2);
            const uint32_t rate = Le32(chunk + 4);
            sampleRate = rate > static_cast<uint32_t>(kMaxSampleRate) ? kMaxSampleRate + 1
                                                                      : static_cast<int>(rate);
            bitsPerSample = Le16(chunk + 14);
        } else if (IsChunk(header, "dep ")) {
            if (chunkSize < 2 || chunkSize > available) {
                return std::nullopt;
            }
            std::size_t nameLength = Le16(chunk);
            if (nameLength > kMaxDependencyName) {
                nameLength = kMaxDependencyName;
            }
            if (2 + nameLength + 8 > chunkSize) {
                return std::nullopt;
            }
            const std::string name(reinterpret_cast<const char*>(chunk + 2), nameLength);
            const int64_t fileTime = Le64(chunk + 2 + nameLength);
            if (isCurrent && !isCurrent(name, fileTime)) {
                return std::nullopt;
            }
        } else if (IsChunk(header, "data")) {
            if (chunkSize > available || chunkSize > kMaxSoundBytes ||
                !IsPlayableFormat(channels, sampleRate, bitsPerSample)) {
                return std::nullopt;
            }
            sound.channels = channels;
            sound.sampleRate = sampleRate;
            sound.bitsPerSample = bitsPerSample;
            sound.data.assign(chunk, chunk + chunkSize);
            haveData = true;
        }
        if (chunkSize >= available) {
            break;
        }
        // Chunks start on even offsets; an odd-sized chunk is followed by a pad byte.
        position = body + chunkSize + (chunkSize & 1);
        if (position > size) {
            break;
        }
    }
    if (!haveData) {
        return std::nullopt;
    }
    return sound;
}

} // namespace Zorva
