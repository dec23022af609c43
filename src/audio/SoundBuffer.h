#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Zorva {

/// A whole decoded sample in PCM: 8-bit unsigned or 16-bit signed little-endian samples,
/// one or two interleaved channels.
struct SoundBuffer
{
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    std::vector<uint8_t> data;

    int BlockAlign() const { return bitsPerSample * channels / 8; }
    int ByteRate() const { return sampleRate * BlockAlign(); }
    /// Whole frames only; a trailing partial frame is never played.
    int64_t FrameCount() const
    {
        const int align = BlockAlign();
        return align > 0 ? static_cast<int64_t>(data.size() / static_cast<std::size_t>(align)) : 0;
    }
};

/// Limits every reader keeps to, so that a hostile header cannot make it allocate without end.
inline constexpr std::size_t kMaxSoundBytes = 64u * 1024u * 1024u;
inline constexpr int kMinSampleRate = 100;
inline constexpr int kMaxSampleRate = 200000;

/// Whether a format is one the mixer plays.
inline bool IsPlayableFormat(int channels, int sampleRate, int bitsPerSample)
{
    return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) &&
           sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate;
}

} // namespace Zorva
