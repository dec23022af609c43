#pragma once

#include "GlyphRasterizer.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

/// Where one character's two layers lie in the atlas image and how they are placed.
struct AtlasGlyph
{
    uint8_t code = 0;
    int advance = 0;
    /// Fill and outline rectangles in the atlas (x, y, width, height); empty for a blank.
    int fillX = 0, fillY = 0, fillWidth = 0, fillHeight = 0;
    int outlineX = 0, outlineY = 0, outlineWidth = 0, outlineHeight = 0;
    /// Offsets from the pen and from the top of the ascent, as the descriptor wants them.
    int fillOffsetX = 0, fillOffsetY = 0;
    int outlineOffsetX = 0, outlineOffsetY = 0;
};

/// How the outline layer is made from a glyph: a ring `outlineRadius` pixels wide around it
/// and a shadow moved by (`shadowX`, `shadowY`), at most `outlineAlpha` opaque.
struct OutlineStyle
{
    double outlineRadius = 1.4;
    int shadowX = 1;
    int shadowY = 1;
    double shadowAlpha = 0.5;
    double outlineAlpha = 0.85;
};

/// A font's glyphs laid out in one image: every fill glyph first, then every outline glyph,
/// in rows no wider than the atlas width. Pixels are ARGB; fill glyphs are white with a soft
/// light-to-shade gradient from the ascent down to the baseline, outlines are black.
struct FontAtlas
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    std::vector<AtlasGlyph> glyphs;
    int ascent = 0;
    /// (first, second, adjustment) for every pair whose kerning is not zero.
    std::vector<std::pair<std::pair<uint8_t, uint8_t>, int>> kerning;
};

/// The characters of the font: printable ASCII and the printable part of Latin-1.
std::vector<uint8_t> FontCharacters();

/// The outline coverage of a glyph: its coverage grown by the style's ring and shadow, on a
/// bitmap `margin` pixels larger on every side.
std::vector<uint8_t> OutlineCoverage(const GlyphBitmap& glyph, const OutlineStyle& style,
                                     int margin);

/// Lays out the glyphs (indexed by character code; blanks have no coverage).
FontAtlas BuildAtlas(const std::map<uint8_t, GlyphBitmap>& glyphs, int ascent,
                     const OutlineStyle& style, int atlasWidth = 512);
