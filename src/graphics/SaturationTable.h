#pragma once

#include <cstdint>

namespace Zorva {

/// t[i] = min(i, 255) for i in 0..511: additive drawing adds two channels and looks the sum
/// up instead of clamping.
const uint8_t* SaturationTable();

} // namespace Zorva
