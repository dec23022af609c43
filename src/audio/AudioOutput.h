#pragma once

#include <cstdint>

namespace Zorva {

/// What an audio output pulls its samples from.
class AudioRenderer
{
public:
    virtual ~AudioRenderer() = default;
    /// Writes `frameCount` interleaved stereo frames. Called on the output's own thread with
    /// the output's lock held.
    virtual void Render(int16_t* stereoFrames, int frameCount) = 0;
};

/// A stereo 16-bit output that calls a renderer for samples: the sound device, or a test
/// sink that pulls on demand.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    /// Begins calling `renderer`; false when the output cannot run.
    virtual bool Start(AudioRenderer& renderer) = 0;
    /// After this returns the renderer is never called again.
    virtual void Stop() = 0;
    virtual int SampleRate() const = 0;
    /// Held around every change of state the renderer reads; the renderer runs under it.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

} // namespace Zorva
