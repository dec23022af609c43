#pragma once

#include "audio/AudioOutput.h"
#include "audio/MixerSource.h"
#include "audio/MixerVoice.h"

#include <array>
#include <memory>
#include <vector>

namespace Zorva {

/// Sums the playing sound instances and the music into one stereo stream for an audio
/// output, and applies the program's own output gain. Shared by the sound manager and the
/// music player; the output stops before the mixer goes.
///
/// Voices and sources are registered by their owners, who unregister them before they go.
/// Every change the audio thread can see is made while a MixerLock is held.
class Mixer : public AudioRenderer
{
public:
    /// Starts `output`; null when there is no output or it does not start.
    static std::shared_ptr<Mixer> Create(std::unique_ptr<AudioOutput> output);

    explicit Mixer(std::unique_ptr<AudioOutput> output);
    ~Mixer() override;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int OutputRate() const { return outputRate; }

    /// The caller holds the lock for these.
    void AddVoice(MixerVoice* voice);
    void RemoveVoice(MixerVoice* voice);
    void AddSource(MixerSource* source);
    void RemoveSource(MixerSource* source);
    /// Linear gain on everything, 0..1.
    void SetOutputGain(float gain) { outputGain = gain; }

    void Lock() { output->Lock(); }
    void Unlock() { output->Unlock(); }

    void Render(int16_t* stereoFrames, int frameCount) override;

private:
    bool Start();
    void MixVoice(MixerVoice& voice, float* stereo, int frameCount);

    std::unique_ptr<AudioOutput> output;
    int outputRate = 44100;
    bool started = false;
    float outputGain = 1.0f;
    std::vector<MixerVoice*> voices;
    std::vector<MixerSource*> sources;
    std::array<float, 2 * MixerSource::kMaxFrames> accumulator{};
};

/// Holds the mixer's lock for a scope.
class MixerLock
{
public:
    explicit MixerLock(Mixer& lockedMixer) : mixer(lockedMixer) { mixer.Lock(); }
    ~MixerLock() { mixer.Unlock(); }
    MixerLock(const MixerLock&) = delete;
    MixerLock& operator=(const MixerLock&) = delete;

private:
    Mixer& mixer;
};

} // namespace Zorva
