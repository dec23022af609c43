#pragma once

#include "audio/MixerVoice.h"
#include "audio/SoundInstance.h"

#include <memory>

namespace Zorva {

class DSoundManager;
class Mixer;

/// A sound instance on the mixer: its own voice over a shared sample. Without a mixer it has
/// no sample, and every call succeeds without sound.
///
/// Used from the main thread; what the audio thread reads changes under the mixer's lock.
class DSoundInstance : public SoundInstance
{
public:
    /// `mixer` and `sample` are both null, or both set.
    DSoundInstance(DSoundManager* owner, std::shared_ptr<Mixer> mixer,
                   std::shared_ptr<const SoundBuffer> sample);
    ~DSoundInstance() override;
    DSoundInstance(const DSoundInstance&) = delete;
    DSoundInstance& operator=(const DSoundInstance&) = delete;

    void Release() override;
    void SetBaseVolume(double volume) override;
    void SetBasePan(int pan) override;
    void AdjustPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override { return volume; }

    /// Re-applies volume and pan (the manager's level changed).
    void ApplyGains();
    bool AutoReleases() const { return autoRelease; }
    void SetAutoRelease(bool flag) { autoRelease = flag; }

private:
    void ApplyFrequency();

    DSoundManager* manager;
    std::shared_ptr<Mixer> mixer;
    std::shared_ptr<const SoundBuffer> sourceBuffer;
    MixerVoice voice;
    bool autoRelease = false;
    bool hasPlayed = false;
    bool released = false;
    int basePan = 0;
    double baseVolume = 1.0;
    int pan = 0;
    double volume = 1.0;
    int baseFrequency = 44100;
    int frequency = 44100;
};

} // namespace Zorva
