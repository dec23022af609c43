#pragma once

#include "audio/SoundBuffer.h"

#include <cstdint>
#include <string>

namespace Zorva {

/// The file a decoded sound was made from, recorded in a cache so that a changed source
/// makes the cache stale.
struct SoundSource
{
    std::string name;
    int64_t fileTime = 0;
};

/// A RIFF WAVE file of the sound: "fmt " (PCM), "dep " naming the source, then "data".
/// The source name must be at most 255 characters.
std::string EncodeCachedWav(const SoundBuffer& sound, const SoundSource& source);

} // namespace Zorva
