#pragma once

#include <cstdint>

namespace Zorva {

/// How a drawing operation combines with the destination. Software drawing does nothing for
/// any other value.
enum DrawMode : int32_t
{
    kDrawModeNormal = 0,   ///< alpha blending
    kDrawModeAdditive = 1, ///< channels added, saturating at 255
};

} // namespace Zorva
