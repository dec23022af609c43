#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace Zorva {

/// An Ogg Vorbis stream decoded from bytes held in memory (libvorbisfile), so that decoding
/// never touches the disk.
class VorbisDecoder
{
public:
    /// Null when the bytes are not an Ogg Vorbis stream.
    static std::unique_ptr<VorbisDecoder> Open(std::vector<uint8_t> bytes);
    ~VorbisDecoder();
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    int Channels() const { return channels; }
    int SampleRate() const { return sampleRate; }
    /// The length in frames, or -1 when the stream does not tell.
    int64_t TotalFrames();
    /// Decodes up to `maxFrames` interleaved 16-bit frames; the number read, 0 at the end,
    /// -1 when decoding fails or the channel layout changes within the stream.
    long ReadFrames(int16_t* out, long maxFrames);
    /// Continues from `frame`; false when the stream cannot seek there.
    bool SeekFrame(int64_t frame);

private:
    struct State;
    explicit VorbisDecoder(std::vector<uint8_t> bytes);

    std::unique_ptr<State> state;
    int channels = 0;
    int sampleRate = 0;
};

} // namespace Zorva
