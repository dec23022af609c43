#pragma once

#include <cstdint>

namespace Zorva {

/// A colour of four channels 0..255. White (255, 255, 255, 255) means no colour modulation.
struct Color
{
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 255;

    constexpr Color() = default;
    constexpr Color(int32_t r, int32_t g, int32_t b, int32_t a = 255)
        : red(r), green(g), blue(b), alpha(a)
    {}

    /// From a packed word alpha << 24 | red << 16 | green << 8 | blue.
    static constexpr Color FromARGB(uint32_t argb)
    {
        return Color(static_cast<int32_t>((argb >> 16) & 0xFF),
                     static_cast<int32_t>((argb >> 8) & 0xFF), static_cast<int32_t>(argb & 0xFF),
                     static_cast<int32_t>(argb >> 24));
    }

    /// The packed form alpha << 24 | red << 16 | green << 8 | blue.
    constexpr uint32_t PackARGB() const
    {
        return (static_cast<uint32_t>(alpha & 0xFF) << 24) |
               (static_cast<uint32_t>(red & 0xFF) << 16) |
               (static_cast<uint32_t>(green & 0xFF) << 8) | static_cast<uint32_t>(blue & 0xFF);
    }

    constexpr bool IsWhite() const
    {
        return red == 255 && green == 255 && blue == 255 && alpha == 255;
    }

    friend constexpr bool operator==(const Color&, const Color&) = default;

    static const Color kWhite;
    static const Color kBlack;
};

inline constexpr Color Color::kWhite{255, 255, 255, 255};
inline constexpr Color Color::kBlack{0, 0, 0, 255};

} // namespace Zorva
