#pragma once

#include <cstddef>
#include <cstdint>

namespace Zorva {

/// Whether the pages an Ogg reader would accept in `bytes` (those whose checksum holds; the
/// bytes between them are skipped as a reader skips them) form exactly one logical stream:
/// one serial number, opened by the first page and never opened again. Chained or
/// interleaved streams are refused before the decoder sees them: a sound effect is one stream,
/// and the system's Ogg library does not survive every malformed chain.
bool IsSingleOggStream(const uint8_t* bytes, std::size_t size);

} // namespace Zorva
