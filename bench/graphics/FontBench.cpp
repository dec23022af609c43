// Measuring and drawing one 40-character line with the system font (DejaVu Sans, 12 points)
// into an opaque 800 x 600 image.

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using Zorva::Color;
using Zorva::Graphics;
using Zorva::MemoryImage;
using Zorva::SysFont;

constexpr int kDestWidth = 800;
constexpr int kDestHeight = 600;
constexpr std::string_view kLine = "Pack my box with five dozen liquor jugs!";
static_assert(kLine.size() == 40);
const std::string kText(kLine);

void FillDestination(MemoryImage& image)
{
    const std::vector<uint32_t> pixels(static_cast<size_t>(kDestWidth) * kDestHeight, 0xFF336699u);
    image.SetPixels(pixels.data(), kDestWidth, kDestHeight, false);
}

void BM_SysFont_TextWidth(benchmark::State& state)
{
    SysFont font("DejaVu Sans", 12);
    for (auto _ : state) {
        benchmark::DoNotOptimize(font.TextWidth(kText));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}
BENCHMARK(BM_SysFont_TextWidth);

void BM_SysFont_DrawText(benchmark::State& state)
{
    SysFont font("DejaVu Sans", 12);
    MemoryImage image;
    FillDestination(image);
    Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Color(255, 240, 200));
    for (auto _ : state) {
        g.DrawText(kText, 20, 300);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}
BENCHMARK(BM_SysFont_DrawText);

/// Text drawn half-transparent, so every covered pixel is blended.
void BM_SysFont_DrawTextTranslucent(benchmark::State& state)
{
    SysFont font("DejaVu Sans", 12);
    MemoryImage image;
    FillDestination(image);
    Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Color(255, 240, 200, 160));
    for (auto _ : state) {
        g.DrawText(kText, 20, 300);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}
BENCHMARK(BM_SysFont_DrawTextTranslucent);

/// A fresh font each time: face lookup, loading and rendering every glyph of the line once.
void BM_SysFont_FirstDraw(benchmark::State& state)
{
    MemoryImage image;
    FillDestination(image);
    Graphics g(&image);
    for (auto _ : state) {
        SysFont font("DejaVu Sans", 12);
        g.SetFont(&font);
        g.DrawText(kText, 20, 300);
        g.SetFont(nullptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SysFont_FirstDraw)->Unit(benchmark::kMicrosecond);

} // namespace
