// quarrow-fontmaker: makes the game's image font (descriptor and glyph image) from an
// outline font file.

#include "FontAtlas.h"
#include "FontDescriptorWriter.h"
#include "GlyphRasterizer.h"

#include "graphics/ImageLib.h"
#include "system/AtomicFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: quarrow-fontmaker FONT_FILE PIXEL_SIZE DESCRIPTOR_FILE\n"
    "\n"
    "Renders printable ASCII and Latin-1 from FONT_FILE at PIXEL_SIZE pixels into an image\n"
    "font: DESCRIPTOR_FILE and, beside it, a PNG of the same name holding a fill layer and a\n"
    "dark outline layer, with advance widths and kerning pairs.\n";

/// Kerning adjustments must fit the descriptor's signed bytes.
constexpr int kKerningLimit = 127;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string fontFile = argv[1];
    const int pixelSize = std::atoi(argv[2]);
    const std::filesystem::path descriptor = argv[3];

    GlyphRasterizer rasterizer;
    if (!rasterizer.Open(fontFile, pixelSize)) {
        std::fprintf(stderr, "quarrow-fontmaker: cannot open %s at %d pixels\n", fontFile.c_str(),
                     pixelSize);
        return 1;
    }
    std::map<uint8_t, GlyphBitmap> glyphs;
    for (const uint8_t code : FontCharacters()) {
        // Latin-1 bytes are the first 256 Unicode code points.
        if (auto glyph = rasterizer.Render(code)) {
            glyphs[code] = std::move(*glyph);
        }
    }
    FontAtlas atlas = BuildAtlas(glyphs, rasterizer.Ascent(), OutlineStyle{});
    for (const auto& [first, unusedFirst] : glyphs) {
        for (const auto& [second, unusedSecond] : glyphs) {
            const int amount =
                std::clamp(rasterizer.Kerning(first, second), -kKerningLimit, kKerningLimit);
            if (amount != 0) {
                atlas.kerning.push_back({{first, second}, amount});
            }
        }
    }

    auto image = Zorva::ImageLib::Image::Create(atlas.width, atlas.height);
    if (!image) {
        std::fputs("quarrow-fontmaker: the glyph image is too large\n", stderr);
        return 1;
    }
    std::copy(atlas.pixels.begin(), atlas.pixels.end(), image->bits.get());
    std::filesystem::path imageFile = descriptor;
    imageFile.replace_extension(".png");
    std::error_code error;
    std::filesystem::create_directories(descriptor.parent_path(), error);
    if (!Zorva::ImageLib::SavePNG(imageFile.string(), *image)) {
        std::fprintf(stderr, "quarrow-fontmaker: cannot write %s\n", imageFile.c_str());
        return 1;
    }
    // The size the font is drawn at: pixels at 96 dots per inch, in points.
    const int pointSize = (pixelSize * 72 + 48) / 96;
    const std::string text = WriteFontDescriptor(atlas, imageFile.filename().string(), pointSize);
    if (!Zorva::WriteFileAtomically(descriptor.string(), text)) {
        std::fprintf(stderr, "quarrow-fontmaker: cannot write %s\n", descriptor.c_str());
        return 1;
    }
    std::printf("quarrow-fontmaker: %zu glyphs, %zu kerning pairs, %dx%d image\n", glyphs.size(),
                atlas.kerning.size(), atlas.width, atlas.height);
    return 0;
}
