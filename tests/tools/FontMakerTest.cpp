#include "FontAtlas.h"
#include "FontDescriptorWriter.h"
#include "GlyphRasterizer.h"

#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

GlyphBitmap SolidGlyph(int width, int height, int advance, int top)
{
    GlyphBitmap glyph;
    glyph.width = width;
    glyph.height = height;
    glyph.coverage.assign(static_cast<std::size_t>(width) * height, 255);
    glyph.advance = advance;
    glyph.top = top;
    return glyph;
}

std::string Temporary(const std::string& name)
{
    const auto folder = std::filesystem::temp_directory_path() /
                        ("quarrow_fontmaker_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

/// Writes the atlas's image and descriptor, as the tool does, and returns the descriptor.
std::string WriteFont(const FontAtlas& atlas, const std::string& name)
{
    auto image = Zorva::ImageLib::Image::Create(atlas.width, atlas.height);
    std::copy(atlas.pixels.begin(), atlas.pixels.end(), image->bits.get());
    EXPECT_TRUE(Zorva::ImageLib::SavePNG(Temporary(name + ".png"), *image));
    const std::string descriptor = Temporary(name + ".txt");
    std::ofstream(descriptor, std::ios::binary) << WriteFontDescriptor(atlas, name + ".png", 11);
    return descriptor;
}

} // namespace

TEST(FontMaker, OutlineCoverage_RingAroundGlyphAndShadowToLowerRight)
{
    const OutlineStyle style;
    const std::vector<uint8_t> ring = OutlineCoverage(SolidGlyph(1, 1, 1, 1), style, 3);
    ASSERT_EQ(ring.size(), 49u);
    auto at = [&](int x, int y) {
        return static_cast<int>(ring[static_cast<std::size_t>(y) * 7 + x]);
    };
    EXPECT_EQ(at(3, 3), static_cast<int>(std::lround(style.outlineAlpha * 255)));
    // The ring reaches one pixel out, softer than the glyph itself.
    EXPECT_GT(at(4, 3), 0);
    EXPECT_LT(at(4, 3), at(3, 3));
    EXPECT_EQ(at(2, 3), at(4, 3));
    // Two pixels out only the shadow remains, and only towards the lower right.
    EXPECT_EQ(at(5, 3), 0);
    EXPECT_GT(at(4, 4), at(2, 2));
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(6, 6), 0);
}

TEST(FontMaker, Atlas_LayersDoNotOverlapAndBlanksHaveNoRect)
{
    std::map<uint8_t, GlyphBitmap> glyphs;
    for (int c = 'A'; c <= 'Z'; ++c) {
        glyphs[static_cast<uint8_t>(c)] = SolidGlyph(10 + c % 5, 12, 12, 11);
    }
    glyphs[' '] = SolidGlyph(0, 0, 5, 0);
    const FontAtlas atlas = BuildAtlas(glyphs, 12, OutlineStyle{}, 64);
    ASSERT_EQ(atlas.glyphs.size(), glyphs.size());
    std::vector<std::array<int, 4>> rects;
    for (const AtlasGlyph& glyph : atlas.glyphs) {
        if (glyph.code == ' ') {
            EXPECT_EQ(glyph.fillWidth, 0);
            EXPECT_EQ(glyph.outlineWidth, 0);
            EXPECT_EQ(glyph.advance, 5);
            continue;
        }
        rects.push_back({glyph.fillX, glyph.fillY, glyph.fillWidth, glyph.fillHeight});
        rects.push_back({glyph.outlineX, glyph.outlineY, glyph.outlineWidth, glyph.outlineHeight});
        // The outline is larger by its margin and placed so that both layers line up.
        const int margin = glyph.fillOffsetX - glyph.outlineOffsetX;
        EXPECT_GT(margin, 0);
        EXPECT_EQ(glyph.outlineWidth, glyph.fillWidth + 2 * margin);
        EXPECT_EQ(glyph.outlineHeight, glyph.fillHeight + 2 * margin);
        EXPECT_EQ(glyph.fillOffsetY - glyph.outlineOffsetY, margin);
        EXPECT_EQ(glyph.fillOffsetY, 12 - 11);
    }
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const auto& a = rects[i];
        EXPECT_LE(a[0] + a[2], atlas.width);
        EXPECT_LE(a[1] + a[3], atlas.height);
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            const auto& b = rects[j];
            const bool apart = a[0] + a[2] <= b[0] || b[0] + b[2] <= a[0] || a[1] + a[3] <= b[1] ||
                               b[1] + b[3] <= a[1];
            EXPECT_TRUE(apart) << "rects " << i << " and " << j << " overlap";
        }
    }
}

TEST(FontMaker, Descriptor_AwkwardCharactersAndKerningReadBack)
{
    // Quotes, backslash, list and command separators and a Latin-1 letter must all survive
    // the descriptor's quoting.
    const std::string awkward = std::string("\"\\';,() A") + static_cast<char>(0xE9);
    std::map<uint8_t, GlyphBitmap> glyphs;
    int advance = 3;
    for (const char c : awkward) {
        glyphs[static_cast<uint8_t>(c)] =
            c == ' ' ? SolidGlyph(0, 0, 4, 0) : SolidGlyph(3, 8, advance, 8);
        advance += 1;
    }
    FontAtlas atlas = BuildAtlas(glyphs, 9, OutlineStyle{}, 64);
    atlas.kerning.push_back({{'"', '\\'}, -2});
    atlas.kerning.push_back({{'A', static_cast<uint8_t>(0xE9)}, 3});
    Zorva::ImageFont font(WriteFont(atlas, "awkward"));
    ASSERT_GT(font.GetHeight(), 0) << "the descriptor did not load";
    for (const char c : awkward) {
        EXPECT_EQ(font.CharWidth(c), glyphs.at(static_cast<uint8_t>(c)).advance)
            << "character " << static_cast<int>(static_cast<uint8_t>(c));
    }
    EXPECT_EQ(font.TextWidth("\"\\"), font.CharWidth('"') + font.CharWidth('\\') - 2);
    EXPECT_EQ(font.TextWidth(std::string("A") + static_cast<char>(0xE9)),
              font.CharWidth('A') + font.CharWidth(static_cast<char>(0xE9)) + 3);
    EXPECT_EQ(font.TextWidth("\\\""), font.CharWidth('"') + font.CharWidth('\\'));
}

TEST(FontMaker, GameFont_WidthsAndKerningMatchFreeTypeAndOutlineLiesBeneath)
{
    GlyphRasterizer rasterizer;
    ASSERT_TRUE(rasterizer.Open(QUARROW_FONT_FILE, 14));
    Zorva::ImageFont font(std::string(QUARROW_DATA_DIR) + "/fonts/default.txt");
    ASSERT_GT(font.GetHeight(), 0);
    EXPECT_EQ(font.GetAscent(), rasterizer.Ascent());
    for (const uint8_t code : FontCharacters()) {
        const auto glyph = rasterizer.Render(code);
        ASSERT_TRUE(glyph.has_value()) << "no glyph for " << int(code);
        EXPECT_EQ(font.CharWidth(static_cast<char>(code)), glyph->advance)
            << "character " << int(code);
    }
    // Kerning pairs of the font draw letters closer.
    const int kern = rasterizer.Kerning('A', 'V');
    EXPECT_LT(kern, 0);
    EXPECT_EQ(font.TextWidth("AV"), font.CharWidth('A') + font.CharWidth('V') + kern);
    EXPECT_EQ(font.TextWidth("T."),
              font.CharWidth('T') + font.CharWidth('.') + rasterizer.Kerning('T', '.'));

    // White text on grey: the letter is white, and dark ink rims it where the grey was.
    Zorva::MemoryImage image;
    image.Create(30, 24);
    Zorva::Graphics g(&image);
    g.SetColor(Zorva::Color(128, 128, 128));
    g.FillRect(0, 0, 30, 24);
    g.SetFont(&font);
    g.SetColor(Zorva::Color(255, 255, 255));
    g.DrawText("l", 10, 18);
    int brightest = 0;
    int darkest = 255;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 30; ++x) {
            const int green = (image.PixelAt(x, y) >> 8) & 0xFF;
            brightest = std::max(brightest, green);
            darkest = std::min(darkest, green);
        }
    }
    EXPECT_GE(brightest, 240);
    EXPECT_LE(darkest, 60);
    // A long way from the letter the grey is untouched.
    EXPECT_EQ((image.PixelAt(1, 1) >> 8) & 0xFF, 128u);

    // Dark text on parchment goes without the ring and shadow: it touches far fewer pixels
    // than light text does.
    auto touched = [&](const Zorva::Color& colour) {
        const Zorva::Color parchment(240, 226, 180);
        g.SetColor(parchment);
        g.FillRect(0, 0, 30, 24);
        g.SetColor(colour);
        g.DrawText("l", 10, 18);
        const uint32_t ground = image.PixelAt(1, 1);
        int count = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 30; ++x) {
                count += image.PixelAt(x, y) != ground ? 1 : 0;
            }
        }
        return count;
    };
    const int light = touched(Zorva::Color(255, 255, 255));
    const int dark = touched(Zorva::Color(0, 0, 0));
    EXPECT_GT(dark, 0);
    EXPECT_LT(dark * 10, light * 6);
}
