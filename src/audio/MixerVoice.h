#pragma once

#include "audio/SoundBuffer.h"

namespace Zorva {

/// One sound instance's playback state as the mixer sees it. Every field is read by the audio
/// thread and changed only under the mixer's lock. The owner keeps `sample` alive.
struct MixerVoice
{
    const SoundBuffer* sample = nullptr;
    /// In frames of the sample.
    double position = 0;
    /// Sample frames per output frame.
    double step = 1.0;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    bool playing = false;
    bool looping = false;
};

} // namespace Zorva
