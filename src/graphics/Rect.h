#pragma once

#include <algorithm>
#include <cstdint>

namespace Zorva {

/// A rectangle of pixels: x, y, width, height.
struct Rect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    constexpr Rect() = default;
    constexpr Rect(int32_t left, int32_t top, int32_t w, int32_t h)
        : x(left), y(top), width(w), height(h)
    {}

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool Contains(int32_t px, int32_t py) const
    {
        return px >= x && py >= y && px < x + width && py < y + height;
    }

    /// The overlap of two rectangles, or a rectangle of zero size where there is none.
    constexpr Rect Intersection(const Rect& other) const
    {
        const int32_t left = std::max(x, other.x);
        const int32_t top = std::max(y, other.y);
        const int32_t right = std::min(x + width, other.x + other.width);
        const int32_t bottom = std::min(y + height, other.y + other.height);
        if (right <= left || bottom <= top) {
            return Rect(left, top, 0, 0);
        }
        return Rect(left, top, right - left, bottom - top);
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace Zorva
