#pragma once

#include "graphics/Color.h"
#include "graphics/DrawTypes.h"
#include "graphics/Rect.h"

#include <cstdint>

namespace Zorva {

class MemoryImage;

/// Destination layout flags: 32-bit with alpha (blended and written), or 32-bit whose alpha
/// byte is neither read nor written.
inline constexpr int kRasterFormat8888 = 0x8888;
inline constexpr int kRasterFormat888 = 0x888;

/// Draws textured triangles into a MemoryImage in software.
///
/// Pixel (i, j) is sampled at the integer point (i, j) and covered when that point lies inside
/// the triangle, points on an edge belonging to top and left edges only; so triangles sharing
/// an edge never leave a gap nor draw a pixel twice, and a quad offset by half a pixel maps
/// texels onto pixels one to one. Texture coordinates run 0..1 over the whole texture; every
/// sample is clamped to the texture's bounds rect, so neighbouring cells of a sheet never bleed
/// in. Blending on samples bilinearly (alpha-weighted), off takes the nearest texel. A triangle
/// whose three vertex colours are not all zero is modulated by its interpolated vertex colour,
/// otherwise by the rasteriser's colour. The caller owns the pixels and calls PixelsChanged.
class TriangleRasterizer
{
public:
    /// ARGB pixels of a texture, width * height words, read only.
    struct Texture
    {
        const uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
        /// Samples are clamped to this rect (cut to the texture).
        Rect bounds;
    };

    TriangleRasterizer(MemoryImage& destination, const Texture& texture, int destFormat,
                       const Rect& clip, const Color& color, int drawMode, bool blend);

    /// Fills one triangle; either winding is drawn, degenerate or non-finite ones are not.
    void DrawTriangle(const TriVertex& a, const TriVertex& b, const TriVertex& c);

private:
    struct SpanSetup;
    void DrawSpan(int y, int x0, int x1, const SpanSetup& setup);

    uint32_t* pixels = nullptr;
    int destWidth = 0;
    int destHeight = 0;
    Texture texture;
    int format = kRasterFormat8888;
    Rect clipRect;
    Color color;
    int drawMode = 0;
    bool blend = false;
};

} // namespace Zorva
