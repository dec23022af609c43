#pragma once

#include <array>
#include <cstdint>

namespace Zorva {

/// A point with real coordinates (polygon corners).
struct FPoint
{
    float x = 0;
    float y = 0;
};

/// A horizontal run of pixels, stored as (y, x, width).
struct PixelSpan
{
    int32_t y = 0;
    int32_t x = 0;
    int32_t width = 0;
};

/// One corner of a textured triangle: position, texture coordinates 0..1, packed ARGB colour
/// (all zero means no per-vertex colour).
struct TriVertex
{
    float x = 0;
    float y = 0;
    float u = 0;
    float v = 0;
    uint32_t color = 0;
};

using Triangle = std::array<TriVertex, 3>;

/// A 3 x 3 transformation matrix, row-major, applied to column vectors (x, y, 1).
struct Matrix3
{
    std::array<std::array<float, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
};

/// A display pixel layout: per-channel masks; bit counts and shifts follow from them.
struct NativeFormat
{
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0xFF00;
    uint32_t blueMask = 0xFF;

    friend constexpr bool operator==(const NativeFormat&, const NativeFormat&) = default;
};

} // namespace Zorva
