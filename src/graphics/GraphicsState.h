#pragma once

#include "graphics/Color.h"
#include "graphics/DrawMode.h"
#include "graphics/Rect.h"

#include <cstdint>

namespace Zorva {

class Font;
class Image;

/// Everything a drawing context saves and restores: destination, translation, clip, colour,
/// font, draw mode and switches. Pointers do not own; image and font must outlive the state.
struct GraphicsState
{
    Image* destinationImage = nullptr;
    float translationX = 0;
    float translationY = 0;
    /// In destination coordinates, always within the destination image.
    Rect clipRect;
    Color color{0, 0, 0, 255};
    Font* font = nullptr;
    int32_t drawMode = kDrawModeNormal;
    /// Images are modulated by `color` when set, by white otherwise.
    bool modulateImages = false;
    /// Nearest-sample stretching instead of filtered.
    bool fastStretch = false;
    /// Interpret "^RRGGBB" colour codes in DrawTextLine and DrawWrappedText.
    bool colorCodes = true;
    bool linearBlend = false;
};

} // namespace Zorva
