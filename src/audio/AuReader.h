#pragma once

#include "audio/SoundBuffer.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace Zorva {

/// The 16-bit sample of one 8-bit mu-law byte.
int16_t MuLawToLinear(uint8_t byte);

/// Reads a Sun ".au" file from memory: 8-bit mu-law (expanded to 16 bits) or 8-bit linear.
/// Fails on other encodings, a format the mixer cannot play, or data past the end.
std::optional<SoundBuffer> ReadAu(const uint8_t* bytes, std::size_t size);

} // namespace Zorva
