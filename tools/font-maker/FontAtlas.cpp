#include "FontAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

/// Shelf packing: places boxes left to right, starting a new row when one would not fit.
class ShelfPacker
{
public:
    ShelfPacker(int newWidth, int top) : width(newWidth), y(top) {}

    std::pair<int, int> Place(int boxWidth, int boxHeight)
    {
        if (x + boxWidth > width && x > 0) {
            x = 0;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        const std::pair<int, int> at{x, y};
        x += boxWidth + 1;
        rowHeight = std::max(rowHeight, boxHeight);
        return at;
    }
    /// The first row below everything placed so far.
    int Bottom() const { return y + rowHeight + 1; }

private:
    int width;
    int x = 0;
    int y;
    int rowHeight = 0;
};

uint32_t Argb(int alpha, int red, int green, int blue)
{
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 |
           static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

constexpr int kOutlineMargin = 3;

} // namespace

std::vector<uint8_t> FontCharacters()
{
    std::vector<uint8_t> codes;
    for (int c = 32; c <= 126; ++c) {
        codes.push_back(static_cast<uint8_t>(c));
    }
    for (int c = 160; c <= 255; ++c) {
        codes.push_back(static_cast<uint8_t>(c));
    }
    return codes;
}

std::vector<uint8_t> OutlineCoverage(const GlyphBitmap& glyph, const OutlineStyle& style,
                                     int margin)
{
    const int width = glyph.width + 2 * margin;
    const int height = glyph.height + 2 * margin;
    std::vector<uint8_t> out(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0));
    if (glyph.width <= 0 || glyph.height <= 0) {
        return out;
    }
    auto source = [&](int x, int y) -> double {
        if (x < 0 || y < 0 || x >= glyph.width || y >= glyph.height) {
            return 0.0;
        }
        return glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] / 255.0;
    };
    const int reach = static_cast<int>(std::ceil(style.outlineRadius));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int gx = x - margin;
            const int gy = y - margin;
            double ring = 0.0;
            // Grow the glyph by a disc; the disc's rim is soft so that edges stay smooth.
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    const double distance = std::hypot(dx, dy);
                    const double weight =
                        std::clamp(style.outlineRadius + 0.5 - distance, 0.0, 1.0);
                    ring = std::max(ring, source(gx + dx, gy + dy) * weight);
                }
            }
            const double shadow =
                source(gx - style.shadowX, gy - style.shadowY) * style.shadowAlpha;
            const double alpha = std::max(ring * style.outlineAlpha, shadow);
            out[static_cast<std::size_t>(y) * width + x] =
                static_cast<uint8_t>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255.0));
        }
    }
    return out;
}

FontAtlas BuildAtlas(const std::map<uint8_t, GlyphBitmap>& glyphs, int ascent,
                     const OutlineStyle& style, int atlasWidth)
{
    FontAtlas atlas;
    atlas.width = atlasWidth;
    atlas.ascent = ascent;
    ShelfPacker fills(atlasWidth, 0);
    for (const auto& [code, glyph] : glyphs) {
        AtlasGlyph placed;
        placed.code = code;
        placed.advance = glyph.advance;
        placed.fillOffsetX = glyph.left;
        placed.fillOffsetY = ascent - glyph.top;
        if (glyph.width > 0 && glyph.height > 0) {
            const auto [x, y] = fills.Place(glyph.width, glyph.height);
            placed.fillX = x;
            placed.fillY = y;
            placed.fillWidth = glyph.width;
            placed.fillHeight = glyph.height;
        }
        atlas.glyphs.push_back(placed);
    }
    ShelfPacker outlines(atlasWidth, fills.Bottom());
    for (AtlasGlyph& placed : atlas.glyphs) {
        const GlyphBitmap& glyph = glyphs.at(placed.code);
        placed.outlineOffsetX = glyph.left - kOutlineMargin;
        placed.outlineOffsetY = ascent - glyph.top - kOutlineMargin;
        if (placed.fillWidth > 0) {
            const auto [x, y] =
                outlines.Place(glyph.width + 2 * kOutlineMargin, glyph.height + 2 * kOutlineMargin);
            placed.outlineX = x;
            placed.outlineY = y;
            placed.outlineWidth = glyph.width + 2 * kOutlineMargin;
            placed.outlineHeight = glyph.height + 2 * kOutlineMargin;
        }
    }
    atlas.height = std::max(outlines.Bottom(), 1);
    atlas.pixels.assign(static_cast<std::size_t>(atlas.width) * atlas.height, 0);
    for (const AtlasGlyph& placed : atlas.glyphs) {
        if (placed.fillWidth == 0) {
            continue;
        }
        const GlyphBitmap& glyph = glyphs.at(placed.code);
        for (int y = 0; y < glyph.height; ++y) {
            // Lighter near the top of the letters, a little shaded towards the baseline.
            const int rowFromTop = placed.fillOffsetY + y;
            const double t =
                std::clamp(static_cast<double>(rowFromTop) / std::max(ascent, 1), 0.0, 1.0);
            const int shade = static_cast<int>(std::lround(255.0 - 40.0 * t));
            for (int x = 0; x < glyph.width; ++x) {
                const int alpha = glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x];
                atlas.pixels[static_cast<std::size_t>(placed.fillY + y) * atlas.width +
                             placed.fillX + x] = Argb(alpha, shade, shade, shade);
            }
        }
        const std::vector<uint8_t> ring = OutlineCoverage(glyph, style, kOutlineMargin);
        for (int y = 0; y < placed.outlineHeight; ++y) {
            for (int x = 0; x < placed.outlineWidth; ++x) {
                atlas.pixels[static_cast<std::size_t>(placed.outlineY + y) * atlas.width +
                             placed.outlineX + x] =
                    Argb(ring[static_cast<std::size_t>(y) * placed.outlineWidth + x], 0, 0, 0);
            }
        }
    }
    return atlas;
}
