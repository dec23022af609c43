#include "audio/Mixer.h"

#include <algorithm>
#include <cmath>

namespace Zorva {

namespace {

/// Room for every voice the sound manager can hold, so that registering never allocates
/// while the audio thread waits.
constexpr std::size_t kReservedVoices = 64;
constexpr std::size_t kReservedSources = 8;

struct Frame
{
    float left;
    float right;
};

template <int Bits, int Channels>
Frame ReadFrame(const uint8_t* data, int64_t index)
{
    if constexpr (Bits == 8) {
        const uint8_t* at = data + index * Channels;
        const float left = (static_cast<int>(at[0]) - 128) / 128.0f;
        const float right = Channels == 2 ? (static_cast<int>(at[1]) - 128) / 128.0f : left;
        return {left, right};
    } else {
        const uint8_t* at = data + index * Channels * 2;
        const auto sample = [](const uint8_t* bytes) {
            return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))) /
                   32768.0f;
        };
        const float left = sample(at);
        const float right = Channels == 2 ? sample(at + 2) : left;
        return {left, right};
    }
}

/// Adds the voice from its position with linear interpolation; returns false when a voice
/// that does not loop reached its end.
template <int Bits, int Channels>
bool MixFrames(MixerVoice& voice, float* stereo, int frameCount)
{
    const SoundBuffer& sample = *voice.sample;
    const int64_t count = sample.FrameCount();
    const uint8_t* data = sample.data.data();
    const double length = static_cast<double>(count);
    double position = voice.position;
    for (int i = 0; i < frameCount; ++i) {
        const auto index = static_cast<int64_t>(position);
        const float fraction = static_cast<float>(position - static_cast<double>(index));
        int64_t next = index + 1;
        if (next >= count) {
            next = voice.looping ? 0 : index;
        }
        const Frame a = ReadFrame<Bits, Channels>(data, index);
        const Frame b = ReadFrame<Bits, Channels>(data, next);
        stereo[2 * i] += (a.left + (b.left - a.left) * fraction) * voice.gainLeft;
        stereo[2 * i + 1] += (a.right + (b.right - a.right) * fraction) * voice.gainRight;
        position += voice.step;
        if (position >= length) {
            if (!voice.looping) {
                voice.position = 0;
                return false;
            }
            position = std::fmod(position, length);
        }
    }
    voice.position = position;
    return true;
}

} // namespace

std::shared_ptr<Mixer> Mixer::Create(std::unique_ptr<AudioOutput> output)
{
    if (!output) {
        return nullptr;
    }
    auto mixer = std::make_shared<Mixer>(std::move(output));
    if (!mixer->Start()) {
        return nullptr;
    }
    return mixer;
}

Mixer::Mixer(std::unique_ptr<AudioOutput> audioOutput) : output(std::move(audioOutput))
{
    voices.reserve(kReservedVoices);
    sources.reserve(kReservedSources);
}

Mixer::~Mixer()
{
    if (started) {
        output->Stop();
    }
}

bool Mixer::Start()
{
    started = output->Start(*this);
    if (started) {
        outputRate = std::max(1, output->SampleRate());
    }
    return started;
}

void Mixer::AddVoice(MixerVoice* voice)
{
    if (std::find(voices.begin(), voices.end(), voice) == voices.end()) {
        voices.push_back(voice);
    }
}

void Mixer::RemoveVoice(MixerVoice* voice)
{
    voices.erase(std::remove(voices.begin(), voices.end(), voice), voices.end());
}

void Mixer::AddSource(MixerSource* source)
{
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) {
        sources.push_back(source);
    }
}

void Mixer::RemoveSource(MixerSource* source)
{
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

void Mixer::Render(int16_t* stereoFrames, int frameCount)
{
    while (frameCount > 0) {
        const int frames = std::min(frameCount, MixerSource::kMaxFrames);
        std::fill_n(accumulator.begin(), 2 * frames, 0.0f);
        for (MixerVoice* voice : voices) {
            if (voice->playing) {
                MixVoice(*voice, accumulator.data(), frames);
            }
        }
        for (MixerSource* source : sources) {
            source->Mix(accumulator.data(), frames);
        }
        for (int i = 0; i < 2 * frames; ++i) {
            const float scaled = accumulator[static_cast<std::size_t>(i)] * outputGain * 32768.0f;
            const float clipped = std::clamp(scaled, -32768.0f, 32767.0f);
            stereoFrames[i] = static_cast<int16_t>(std::lrint(clipped));
        }
        stereoFrames += 2 * frames;
        frameCount -= frames;
    }
}

void Mixer::MixVoice(MixerVoice& voice, float* stereo, int frameCount)
{
    const SoundBuffer* sample = voice.sample;
    if (sample == nullptr || sample->FrameCount() == 0 || !(voice.step > 0) ||
        !(voice.position >= 0) || voice.position >= static_cast<double>(sample->FrameCount())) {
        voice.playing = false;
        voice.position = 0;
        return;
    }
    bool stillPlaying = true;
    const bool wide = sample->bitsPerSample == 16;
    if (sample->channels == 2) {
        stillPlaying = wide ? MixFrames<16, 2>(voice, stereo, frameCount)
                            : MixFrames<8, 2>(voice, stereo, frameCount);
    } else {
        stillPlaying = wide ? MixFrames<16, 1>(voice, stereo, frameCount)
                            : MixFrames<8, 1>(voice, stereo, frameCount);
    }
    voice.playing = stillPlaying;
}

} // namespace Zorva
