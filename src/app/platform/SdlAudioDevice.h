#pragma once

#include "audio/AudioOutput.h"

#include <cstdint>

namespace Zorva {

/// The sound device: one SDL audio device at 44100 Hz, 16-bit stereo, whose callback pulls
/// the samples from the renderer. SDL converts when the hardware wants another format.
class SdlAudioDevice : public AudioOutput
{
public:
    static constexpr int kSampleRate = 44100;

    SdlAudioDevice() = default;
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    /// False when SDL has no audio device to open (the game then runs silent).
    bool Start(AudioRenderer& renderer) override;
    void Stop() override;
    int SampleRate() const override { return kSampleRate; }
    void Lock() override;
    void Unlock() override;

private:
    static void Callback(void* user, uint8_t* stream, int length);

    AudioRenderer* renderer = nullptr;
    uint32_t device = 0;
    bool subsystemStarted = false;
};

} // namespace Zorva
