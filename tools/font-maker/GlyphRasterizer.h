#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// One rendered glyph: 8-bit coverage rows, its placement against the pen and the baseline,
/// and the pen advance, all in whole pixels.
struct GlyphBitmap
{
    int width = 0;
    int height = 0;
    /// width * height coverage values, row by row from the top.
    std::vector<uint8_t> coverage;
    /// From the pen to the bitmap's left column.
    int left = 0;
    /// From the baseline up to the bitmap's top row.
    int top = 0;
    int advance = 0;
};

/// Renders the glyphs of one outline font at one pixel size through FreeType. Open fails
/// (and leaves nothing open) when the file is not a font FreeType can read.
class GlyphRasterizer
{
public:
    GlyphRasterizer();
    ~GlyphRasterizer();
    GlyphRasterizer(const GlyphRasterizer&) = delete;
    GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

    bool Open(const std::string& fontFile, int pixelSize);
    /// The glyph of a Unicode code point; none when the font has no glyph for it.
    std::optional<GlyphBitmap> Render(uint32_t codePoint);
    /// The kerning adjustment, in whole pixels, when `second` follows `first`.
    int Kerning(uint32_t first, uint32_t second);
    int Ascent() const { return ascent; }
    int Descent() const { return descent; }

private:
    struct Handles;
    std::unique_ptr<Handles> handles;
    int ascent = 0;
    int descent = 0;
};
