#pragma once

#include "graphics/Rect.h"

#include <array>
#include <memory>

namespace Zorva {

struct FontLayer;
class MemoryImage;

/// A layer as a font at one point size and scale shows it: the image to draw from (the
/// layer's own, or a scaled strip made for this size) and each glyph's rect in that image.
struct ActiveFontLayer
{
    /// Owned by the font's FontData, which the font keeps alive.
    const FontLayer* baseFontLayer = nullptr;
    /// Shared with duplicates of the font; never changed once built.
    std::shared_ptr<MemoryImage> image;
    std::array<Rect, 256> scaledCharImageRects{};
};

} // namespace Zorva
