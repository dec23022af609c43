#pragma once

#include "audio/SoundBuffer.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace Zorva {

/// Decodes a whole Ogg Vorbis file from memory into 16-bit samples. Fails unless the stream
/// tells its length and decodes to exactly that many frames.
std::optional<SoundBuffer> ReadOgg(const uint8_t* bytes, std::size_t size);

} // namespace Zorva
