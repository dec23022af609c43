#pragma once

namespace Zorva {

/// Something the mixer adds to its output besides the sound instances (the music).
class MixerSource
{
public:
    /// The most frames one Mix call asks for.
    static constexpr int kMaxFrames = 1024;

    virtual ~MixerSource() = default;
    /// Adds `frameCount` interleaved stereo frames, full scale ±1, to `stereo`. Called on the
    /// audio thread under the mixer's lock.
    virtual void Mix(float* stereo, int frameCount) = 0;
};

} // namespace Zorva
