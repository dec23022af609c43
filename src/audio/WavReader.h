#pragma once

#include "audio/SoundBuffer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace Zorva {

/// Answers whether the file a decoded-sound cache was made from still has the recorded
/// modification time.
using SourceTimeCheck = std::function<bool(const std::string& sourceName, int64_t fileTime)>;

/// Reads a RIFF WAVE file of PCM samples from memory. Before a "fmt " chunk the format is
/// 1 channel, 22050 Hz, 16 bits. A "dep " chunk names the file a cache was decoded from and
/// its time; when `isCurrent` says it changed, the read fails. Fails on anything but PCM,
/// a format the mixer cannot play, a truncated chunk or a missing "data" chunk.
std::optional<SoundBuffer> ReadWav(const uint8_t* bytes, std::size_t size,
                                   const SourceTimeCheck& isCurrent);

} // namespace Zorva
