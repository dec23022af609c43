#pragma once

#include "graphics/Rect.h"

#include <cstdint>

namespace Zorva {

/// The smallest rectangle holding every pixel that differs between two images of
/// width x height pixels (rows packed); empty when they are equal.
Rect FindChangedRect(const uint32_t* before, const uint32_t* after, int width, int height);

} // namespace Zorva
