// Measuring and drawing one 40-character line with a two-layer image font (a fill layer over
// a shadow layer) into an opaque 800 x 600 image.

#include "graphics/FontData.h"
#include "graphics/FontServices.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Zorva;

const std::string kLine = "Pack my box with five dozen liquor jugs!";
const std::string kGlyphs = " !abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kGlyphWidth = 9;
constexpr int kGlyphHeight = 14;

/// A strip of glyph cells with soft edges, so the blits see opaque, partial and empty runs.
std::shared_ptr<MemoryImage> MakeGlyphStrip()
{
    const int width = kGlyphWidth * static_cast<int>(kGlyphs.size());
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * kGlyphHeight, 0);
    for (int y = 2; y < kGlyphHeight - 2; ++y) {
        for (int x = 0; x < width; ++x) {
            const int column = x % kGlyphWidth;
            const uint32_t alpha =
                column == 1 || column == 6 ? 0x80u : (column > 1 && column < 6 ? 0xFFu : 0);
            pixels[static_cast<std::size_t>(y) * width + x] = alpha << 24 | 0xFFFFFFu;
        }
    }
    auto image = std::make_shared<MemoryImage>();
    image->SetPixels(pixels.data(), width, kGlyphHeight, true);
    return image;
}

std::string Descriptor()
{
    std::string characters;
    std::string rects;
    std::string widths;
    for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
        const std::string separator = i ? ", " : "";
        characters += separator + "'" + kGlyphs[i] + "'";
        rects += separator + "(" + std::to_string(i * kGlyphWidth) + ", 0, " +
                 std::to_string(kGlyphWidth) + ", " + std::to_string(kGlyphHeight) + ")";
        widths += separator + std::to_string(kGlyphWidth - 1);
    }
    return "SetDefaultPointSize 12;"
           "CreateLayer Shadow;"
           "LayerSetImage Shadow 'bench-glyphs';"
           "LayerSetImageMap Shadow (" +
           characters + ") (" + rects +
           ");"
           "LayerSetCharWidths Shadow (" +
           characters + ") (" + widths +
           ");"
           "LayerSetAscent Shadow 11;"
           "LayerSetOffset Shadow (1, 1);"
           "LayerSetColorMult Shadow (0, 0, 0, 1);"
           "CreateLayerFrom Main Shadow;"
           "LayerSetOffset Main (0, 0);"
           "LayerSetColorMult Main (1, 1, 1, 1);";
}

std::unique_ptr<ImageFont> MakeFont()
{
    static const std::shared_ptr<MemoryImage> strip = MakeGlyphStrip();
    SetSharedImageLoader([](const std::string&) { return SharedImage{strip, false}; });
    auto data = std::make_shared<FontData>();
    if (!data->LoadText(Descriptor(), "bench-font.txt")) {
        std::fprintf(stderr, "%s\n", data->lastErrorReport.c_str());
    }
    auto font = std::make_unique<ImageFont>(data);
    SetSharedImageLoader({});
    return font;
}

void BM_ImageFont_TextWidth(benchmark::State& state)
{
    const auto font = MakeFont();
    if (font->TextWidth(kLine) <= 0) {
        state.SkipWithError("the benchmark font did not load");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(font->TextWidth(kLine));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLine.size()));
}
BENCHMARK(BM_ImageFont_TextWidth);

void BM_ImageFont_DrawText(benchmark::State& state)
{
    const auto font = MakeFont();
    MemoryImage image;
    const std::vector<uint32_t> pixels(800 * 600, 0xFF336699u);
    image.SetPixels(pixels.data(), 800, 600, false);
    Graphics context(&image);
    context.SetFont(font.get());
    context.SetColor(Color(255, 240, 200));
    for (auto _ : state) {
        context.DrawText(kLine, 20, 300);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLine.size()));
}
BENCHMARK(BM_ImageFont_DrawText);

} // namespace
