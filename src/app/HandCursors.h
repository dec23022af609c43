#pragma once

#include <cstdint>
#include <vector>

namespace Zorva {

/// A colour cursor: ARGB pixels, rows packed, and the pixel that points.
struct CursorPixels
{
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> argb;
};

inline constexpr int kHandCursorSide = 32;

/// The pointing hand shown over clickable things (hot spot on the finger tip, 11,4).
CursorPixels HandCursorPixels();
/// The closed hand shown while dragging (hot spot 15,10).
CursorPixels DraggingHandCursorPixels();

} // namespace Zorva
