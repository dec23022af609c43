#include "app/CursorSprite.h"

#include "graphics/MemoryImage.h"

#include <cstddef>
#include <string_view>

namespace Zorva {

namespace {

constexpr uint32_t kOutline = 0xFF000000;
constexpr uint32_t kFill = 0xFFFFFFFF;
/// A faint shadow one pixel down and right, so the arrow stands off light backgrounds too.
constexpr uint32_t kShadow = 0x50000000;

// 'X' outline, 'o' fill, anything else transparent.
// clang-format off
constexpr std::string_view kArrowRows[] = {
    "X",
    "XX",
    "XoX",
    "XooX",
    "XoooX",
    "XooooX",
    "XoooooX",
    "XooooooX",
    "XoooooooX",
    "XooooooooX",
    "XoooooXXXXX",
    "XooXooX",
    "XoX XooX",
    "XX  XooX",
    "X    XooX",
    "     XooX",
    "      XooX",
    "      XooX",
    "       XX",
};
// clang-format on
constexpr int kShapeWidth = 11;
constexpr int kShapeHeight = static_cast<int>(std::size(kArrowRows));
/// The shape and its shadow.
constexpr int kArrowWidth = kShapeWidth + 1;
constexpr int kArrowHeight = kShapeHeight + 1;

uint32_t ArrowPixel(char code)
{
    switch (code) {
    case 'X':
        return kOutline;
    case 'o':
        return kFill;
    default:
        return 0;
    }
}

/// `source` over `dest` by the source's alpha; the destination keeps its own alpha.
uint32_t BlendOver(uint32_t source, uint32_t dest)
{
    const uint32_t alpha = source >> 24;
    if (alpha == 0) {
        return dest;
    }
    if (alpha == 255) {
        return (source & 0x00FFFFFF) | (dest & 0xFF000000);
    }
    uint32_t result = dest & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t from = (dest >> shift) & 0xFF;
        const uint32_t to = (source >> shift) & 0xFF;
        const uint32_t mixed = (to * alpha + from * (255 - alpha) + 127) / 255;
        result |= mixed << shift;
    }
    return result;
}

} // namespace

CursorPixels ArrowCursorPixels()
{
    CursorPixels cursor;
    cursor.width = kArrowWidth;
    cursor.height = kArrowHeight;
    cursor.argb.assign(static_cast<std::size_t>(kArrowWidth) * kArrowHeight, 0);
    const auto at = [&cursor](int column, int row) -> uint32_t& {
        return cursor.argb[static_cast<std::size_t>(row) * kArrowWidth + column];
    };
    for (int row = 0; row < kShapeHeight; ++row) {
        const std::string_view line = kArrowRows[row];
        for (int column = 0; column < kShapeWidth && column < static_cast<int>(line.size());
             ++column) {
            at(column, row) = ArrowPixel(line[column]);
        }
    }
    for (int row = kArrowHeight - 1; row > 0; --row) {
        for (int column = kArrowWidth - 1; column > 0; --column) {
            // Bottom right first: the pixel looked at up and left is still the shape's own.
            if (at(column, row) == 0 && at(column - 1, row - 1) != 0) {
                at(column, row) = kShadow;
            }
        }
    }
    return cursor;
}

CursorSprite::CursorSprite() : arrow(ArrowCursorPixels()) {}

void CursorSprite::DrawAt(MemoryImage& screen, int x, int y)
{
    Restore(screen);
    // Positions come from a file: far-off ones are dropped before any sum could overflow.
    if (x >= screen.GetWidth() || y >= screen.GetHeight() || x < -arrow.width ||
        y < -arrow.height) {
        return;
    }
    const Rect placed(x - arrow.hotX, y - arrow.hotY, arrow.width, arrow.height);
    const Rect area = placed.Intersection(Rect(0, 0, screen.GetWidth(), screen.GetHeight()));
    if (area.IsEmpty()) {
        return;
    }
    uint32_t* pixels = screen.GetPixels();
    const auto stride = static_cast<std::size_t>(screen.GetWidth());
    savedPixels.clear();
    savedPixels.reserve(static_cast<std::size_t>(area.width) * area.height);
    for (int row = area.y; row < area.y + area.height; ++row) {
        uint32_t* line = pixels + static_cast<std::size_t>(row) * stride;
        const uint32_t* source =
            arrow.argb.data() + static_cast<std::size_t>(row - placed.y) * arrow.width;
        for (int column = area.x; column < area.x + area.width; ++column) {
            savedPixels.push_back(line[column]);
            line[column] = BlendOver(source[column - placed.x], line[column]);
        }
    }
    savedArea = area;
}

void CursorSprite::Restore(MemoryImage& screen)
{
    if (savedArea.IsEmpty()) {
        return;
    }
    const Rect area = savedArea;
    savedArea = Rect();
    // An image resized in between has nothing of the old picture left to repair.
    if (area.x + area.width > screen.GetWidth() || area.y + area.height > screen.GetHeight()) {
        return;
    }
    uint32_t* pixels = screen.GetPixels();
    const auto stride = static_cast<std::size_t>(screen.GetWidth());
    const uint32_t* saved = savedPixels.data();
    for (int row = area.y; row < area.y + area.height; ++row) {
        uint32_t* line = pixels + static_cast<std::size_t>(row) * stride;
        for (int column = area.x; column < area.x + area.width; ++column) {
            line[column] = *saved++;
        }
    }
}

} // namespace Zorva
