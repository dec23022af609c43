#pragma once

#include "audio/SongPlayer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {

/// A song from a WAV or Ogg Vorbis file, decoded as it plays from the file's bytes in
/// memory and resampled to the output rate (linear interpolation).
class StreamPlayer : public SongPlayer
{
public:
    /// The source of 16-bit frames a stream plays.
    class FrameSource
    {
    public:
        virtual ~FrameSource() = default;
        virtual int Channels() const = 0;
        virtual int SampleRate() const = 0;
        /// Interleaved frames; the number read, 0 at the end, negative on a decoding error.
        virtual long Read(int16_t* out, long maxFrames) = 0;
        virtual bool SeekFrame(int64_t frame) = 0;
    };

    /// `extension` is "wav" or "ogg"; null when the bytes are not a playable file of it.
    static std::unique_ptr<StreamPlayer> Open(const std::string& extension,
                                              std::vector<uint8_t> bytes, int outputRate);
    StreamPlayer(std::unique_ptr<FrameSource> source, int outputRate);

    int Render(float* stereo, int frameCount) override;
    void SetLooping(bool looping) override { loops = looping; }
    void Seek(int bytePosition) override;
    bool IsModule() const override { return false; }

private:
    static constexpr long kBlockFrames = 1024;

    /// The next source frame as stereo; false past the end (after one rewind when looping).
    bool NextFrame(float* frame);

    std::unique_ptr<FrameSource> source;
    double step = 1.0;
    bool loops = true;
    bool primed = false;
    bool sourceEnded = false;
    bool finished = false;
    double phase = 0;
    std::array<float, 2> current{};
    std::array<float, 2> next{};
    std::array<int16_t, 2 * kBlockFrames> block{};
    long blockFrames = 0;
    long blockPosition = 0;
};

} // namespace Zorva
