#pragma once

#include <cstddef>
#include <vector>

/// One pass through a song as the player renders it: interleaved stereo samples in -1..1 and
/// where the first and the last note start, in frames.
struct RenderedSong
{
    int rate = 44100;
    std::vector<float> stereo;
    std::size_t firstNoteFrame = 0;
    std::size_t lastNoteFrame = 0;

    std::size_t FrameCount() const { return stereo.size() / 2; }
};
