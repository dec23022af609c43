#include "audio/StreamPlayer.h"

#include "audio/SoundBuffer.h"
#include "audio/VorbisDecoder.h"
#include "audio/WavReader.h"

#include <algorithm>
#include <cstring>

namespace Zorva {

namespace {

/// The frames of a whole WAV file held in memory.
class WavFrameSource : public StreamPlayer::FrameSource
{
public:
    explicit WavFrameSource(SoundBuffer decoded) : sound(std::move(decoded)) {}
    int Channels() const override { return sound.channels; }
    int SampleRate() const override { return sound.sampleRate; }
    long Read(int16_t* out, long maxFrames) override
    {
        const int64_t left = sound.FrameCount() - position;
        const long frames = static_cast<long>(std::min<int64_t>(left, maxFrames));
        const std::size_t samples = static_cast<std::size_t>(frames) * sound.channels;
        const std::size_t first = static_cast<std::size_t>(position) * sound.channels;
        for (std::size_t i = 0; i < samples; ++i) {
            if (sound.bitsPerSample == 8) {
                out[i] = static_cast<int16_t>((sound.data[first + i] - 128) * 256);
            } else {
                const uint8_t* at = sound.data.data() + 2 * (first + i);
                out[i] = static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
            }
        }
        position += frames;
        return frames;
    }
    bool SeekFrame(int64_t frame) override
    {
        position = std::clamp<int64_t>(frame, 0, sound.FrameCount());
        return true;
    }

private:
    SoundBuffer sound;
    int64_t position = 0;
};

class VorbisFrameSource : public StreamPlayer::FrameSource
{
public:
    explicit VorbisFrameSource(std::unique_ptr<VorbisDecoder> opened) : decoder(std::move(opened))
    {}
    int Channels() const override { return decoder->Channels(); }
    int SampleRate() const override { return decoder->SampleRate(); }
    long Read(int16_t* out, long maxFrames) override { return decoder->ReadFrames(out, maxFrames); }
    bool SeekFrame(int64_t frame) override { return decoder->SeekFrame(frame); }

private:
    std::unique_ptr<VorbisDecoder> decoder;
};

float ToFloat(int16_t sample)
{
    return sample / 32768.0f;
}

} // namespace

std::unique_ptr<StreamPlayer> StreamPlayer::Open(const std::string& extension,
                                                 std::vector<uint8_t> bytes, int outputRate)
{
    std::unique_ptr<FrameSource> source;
    if (extension == "wav") {
        auto sound = ReadWav(bytes.data(), bytes.size(), nullptr);
        if (sound) {
            source = std::make_unique<WavFrameSource>(std::move(*sound));
        }
    } else if (extension == "ogg") {
        auto decoder = VorbisDecoder::Open(std::move(bytes));
        if (decoder && IsPlayableFormat(decoder->Channels(), decoder->SampleRate(), 16)) {
            source = std::make_unique<VorbisFrameSource>(std::move(decoder));
        }
    }
    if (!source || outputRate <= 0) {
        return nullptr;
    }
    return std::make_unique<StreamPlayer>(std::move(source), outputRate);
}

StreamPlayer::StreamPlayer(std::unique_ptr<FrameSource> frames, int outputRate)
    : source(std::move(frames)),
      step(static_cast<double>(source->SampleRate()) / std::max(outputRate, 1))
{}

void StreamPlayer::Seek(int bytePosition)
{
    const int frameBytes = 2 * source->Channels();
    source->SeekFrame(std::max(bytePosition, 0) / frameBytes);
    blockFrames = blockPosition = 0;
    primed = sourceEnded = finished = false;
    phase = 0;
}

bool StreamPlayer::NextFrame(float* frame)
{
    if (blockPosition == blockFrames) {
        long got = source->Read(block.data(), kBlockFrames);
        // A looping stream starts over once; an empty one ends rather than spin.
        if (got == 0 && loops && source->SeekFrame(0)) {
            got = source->Read(block.data(), kBlockFrames);
        }
        if (got <= 0) {
            blockFrames = blockPosition = 0;
            return false;
        }
        blockFrames = std::min(got, kBlockFrames);
        blockPosition = 0;
    }
    const int channels = source->Channels();
    const int16_t* at = block.data() + blockPosition * channels;
    frame[0] = ToFloat(at[0]);
    frame[1] = channels == 2 ? ToFloat(at[1]) : frame[0];
    ++blockPosition;
    return true;
}

int StreamPlayer::Render(float* stereo, int frameCount)
{
    if (!primed) {
        if (!NextFrame(current.data())) {
            finished = true;
        } else if (!NextFrame(next.data())) {
            next = current;
            sourceEnded = true;
        }
        primed = true;
    }
    for (int i = 0; i < frameCount; ++i) {
        if (finished) {
            return i;
        }
        const auto fraction = static_cast<float>(phase);
        stereo[2 * i] = current[0] + (next[0] - current[0]) * fraction;
        stereo[2 * i + 1] = current[1] + (next[1] - current[1]) * fraction;
        phase += step;
        while (phase >= 1.0 && !finished) {
            phase -= 1.0;
            if (sourceEnded) {
                finished = true;
                break;
            }
            current = next;
            if (!NextFrame(next.data())) {
                next = current;
                sourceEnded = true;
            }
        }
    }
    return frameCount;
}

} // namespace Zorva
