#pragma once

#include "audio/AudioOutput.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace Zorva::Testing {

/// An audio output that renders only when pulled, so tests read the mixer's samples exactly.
class TestAudioSink : public AudioOutput
{
public:
    explicit TestAudioSink(int rate = 44100) : sampleRate(rate) {}

    bool Start(AudioRenderer& target) override
    {
        renderer = &target;
        return startSucceeds;
    }
    void Stop() override
    {
        std::lock_guard lock(mutex);
        renderer = nullptr;
    }
    int SampleRate() const override { return sampleRate; }
    void Lock() override { mutex.lock(); }
    void Unlock() override { mutex.unlock(); }

    /// Interleaved stereo frames as the device would play them.
    std::vector<int16_t> Pull(int frames)
    {
        std::vector<int16_t> out(static_cast<std::size_t>(frames) * 2, 0);
        std::lock_guard lock(mutex);
        if (renderer != nullptr) {
            renderer->Render(out.data(), frames);
        }
        return out;
    }

    bool startSucceeds = true;

private:
    std::mutex mutex;
    AudioRenderer* renderer = nullptr;
    int sampleRate;
};

} // namespace Zorva::Testing
