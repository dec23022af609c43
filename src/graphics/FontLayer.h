#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {

class FontData;
class MemoryImage;

/// One glyph of a layer, indexed by mapped character code.
struct CharData
{
    Rect imageRect;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    /// Added after this glyph when the indexed character follows.
    std::array<int8_t, 256> kerningOffsets{};
    int32_t width = 0;
    int32_t order = 0;
};

/// One layer of an image font (a fill, a shadow, an outline...): glyphs cut from one image,
/// the point sizes and tags it is used for, and how it is coloured and placed.
struct FontLayer
{
    explicit FontLayer(FontData* owner) : fontData(owner) {}

    /// The font this layer belongs to; not owned.
    FontData* fontData;
    std::vector<std::string> requiredTags;
    std::vector<std::string> excludedTags;
    std::array<CharData, 256> charData{};
    Color colorMult = Color::kWhite;
    Color colorAdd{0, 0, 0, 0};
    std::shared_ptr<MemoryImage> image;
    /// -1 leaves the context's draw mode.
    int32_t drawMode = -1;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t spacing = 0;
    /// -1: unbounded.
    int32_t minPointSize = -1;
    int32_t maxPointSize = -1;
    /// The point size the glyph images are drawn for; 0 = unscaled.
    int32_t pointSize = 0;
    int32_t ascent = 0;
    int32_t ascentPadding = 0;
    /// The largest glyph height plus offset y, refreshed when the image map is set.
    int32_t height = 0;
    int32_t lineSpacingOffset = 0;
    int32_t baseOrder = 0;
    /// The layer draws only text whose lightness (0-255, the luma of the text colour) lies in
    /// this range, so that an outline made for light text can stay off dark text.
    int32_t minTextLightness = 0;
    int32_t maxTextLightness = 255;
};

} // namespace Zorva
