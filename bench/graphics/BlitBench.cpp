// Our software blits side by side with pixman's on the same inputs, on an opaque 800 x 600
// destination. Pairs are named so they sort together: BM_Ours_X next to BM_Pixman_X.

#include "graphics/MemoryImage.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Zorva::Color;
using Zorva::MemoryImage;
using Zorva::Rect;

constexpr int kDestWidth = 800;
constexpr int kDestHeight = 600;

/// An 80 x 50 sprite: a transparent margin, a soft edge and an opaque middle.
std::vector<uint32_t> SpritePixels()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 80; ++x) {
            const int edge = std::min({x, y, 79 - x, 49 - y});
            const uint32_t alpha = edge < 4    ? 0u
                                   : edge < 10 ? static_cast<uint32_t>(edge * 25)
                                               : 255u;
            pixels.push_back(alpha << 24 | static_cast<uint32_t>(x * 3) << 16 |
                             static_cast<uint32_t>(y * 5) << 8 | 0x60);
        }
    }
    return pixels;
}

/// An opaque 800 x 600 picture with some variation.
std::vector<uint32_t> PicturePixels()
{
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(kDestWidth) * kDestHeight);
    for (int y = 0; y < kDestHeight; ++y) {
        for (int x = 0; x < kDestWidth; ++x) {
            pixels.push_back(0xFF000000u | static_cast<uint32_t>((x ^ y) & 0xFF) << 16 |
                             static_cast<uint32_t>(y & 0xFF) << 8 |
                             static_cast<uint32_t>(x & 0xFF));
        }
    }
    return pixels;
}

std::vector<uint32_t> Premultiplied(const std::vector<uint32_t>& pixels)
{
    std::vector<uint32_t> out;
    out.reserve(pixels.size());
    for (const uint32_t p : pixels) {
        const uint32_t a = p >> 24;
        const uint32_t r = ((p >> 16) & 0xFF) * a / 255;
        const uint32_t g = ((p >> 8) & 0xFF) * a / 255;
        const uint32_t b = (p & 0xFF) * a / 255;
        out.push_back(a << 24 | r << 16 | g << 8 | b);
    }
    return out;
}

/// Our destination: opaque, committed, so blits take the opaque-destination paths.
std::unique_ptr<MemoryImage> OurDestination()
{
    auto image = std::make_unique<MemoryImage>();
    std::vector<uint32_t> pixels(static_cast<size_t>(kDestWidth) * kDestHeight, 0xFF304050);
    image->SetPixels(pixels.data(), kDestWidth, kDestHeight, true);
    return image;
}

std::unique_ptr<MemoryImage> OurImage(const std::vector<uint32_t>& pixels, int w, int h)
{
    auto image = std::make_unique<MemoryImage>();
    image->SetPixels(pixels.data(), w, h, true);
    return image;
}

struct PixmanDeleter
{
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanDeleter>;

/// A pixman image over a buffer that the caller keeps alive.
PixmanImage PixmanBits(pixman_format_code_t format, std::vector<uint32_t>& pixels, int w, int h)
{
    return PixmanImage(pixman_image_create_bits(format, w, h, pixels.data(), w * 4));
}

struct PixmanDestination
{
    std::vector<uint32_t> pixels =
        std::vector<uint32_t>(static_cast<size_t>(kDestWidth) * kDestHeight, 0xFF304050);
    PixmanImage image = PixmanBits(PIXMAN_x8r8g8b8, pixels, kDestWidth, kDestHeight);
};

// Alpha blit of an 80 x 50 sprite.

void BM_Ours_AlphaBlit80x50(benchmark::State& state)
{
    auto dest = OurDestination();
    auto sprite = OurImage(SpritePixels(), 80, 50);
    for (auto _ : state) {
        dest->Blit(sprite.get(), 300, 200, Rect(0, 0, 80, 50), Color::kWhite,
                   Zorva::kDrawModeNormal);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ours_AlphaBlit80x50);

void BM_Pixman_AlphaBlit80x50(benchmark::State& state)
{
    PixmanDestination dest;
    auto pixels = Premultiplied(SpritePixels());
    auto sprite = PixmanBits(PIXMAN_a8r8g8b8, pixels, 80, 50);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, sprite.get(), nullptr, dest.image.get(), 0, 0, 0,
                                 0, 300, 200, 80, 50);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pixman_AlphaBlit80x50);

// Opaque full-screen copy.

void BM_Memcpy_Copy800x600(benchmark::State& state)
{
    std::vector<uint32_t> from = PicturePixels();
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(from.size()) * 4);
}
BENCHMARK(BM_Memcpy_Copy800x600);

void BM_Ours_Copy800x600(benchmark::State& state)
{
    auto dest = OurDestination();
    auto picture = OurImage(PicturePixels(), kDestWidth, kDestHeight);
    for (auto _ : state) {
        dest->Blit(picture.get(), 0, 0, Rect(0, 0, kDestWidth, kDestHeight), Color::kWhite,
                   Zorva::kDrawModeNormal);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kDestWidth * kDestHeight *
                            4);
}
BENCHMARK(BM_Ours_Copy800x600);

void BM_Pixman_Copy800x600(benchmark::State& state)
{
    PixmanDestination dest;
    auto pixels = PicturePixels();
    auto picture = PixmanBits(PIXMAN_x8r8g8b8, pixels, kDestWidth, kDestHeight);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, picture.get(), nullptr, dest.image.get(), 0, 0, 0,
                                 0, 0, 0, kDestWidth, kDestHeight);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kDestWidth * kDestHeight *
                            4);
}
BENCHMARK(BM_Pixman_Copy800x600);

// Additive blit of the 80 x 50 sprite.

void BM_Ours_AdditiveBlit80x50(benchmark::State& state)
{
    auto dest = OurDestination();
    auto sprite = OurImage(SpritePixels(), 80, 50);
    for (auto _ : state) {
        dest->Blit(sprite.get(), 300, 200, Rect(0, 0, 80, 50), Color::kWhite,
                   Zorva::kDrawModeAdditive);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ours_AdditiveBlit80x50);

void BM_Pixman_AdditiveBlit80x50(benchmark::State& state)
{
    PixmanDestination dest;
    auto pixels = Premultiplied(SpritePixels());
    auto sprite = PixmanBits(PIXMAN_a8r8g8b8, pixels, 80, 50);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_ADD, sprite.get(), nullptr, dest.image.get(), 0, 0, 0, 0,
                                 300, 200, 80, 50);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pixman_AdditiveBlit80x50);

// Filtered stretch of the whole 800 x 600 picture into 120 x 90.

void BM_Ours_Stretch800x600To120x90(benchmark::State& state)
{
    auto dest = OurDestination();
    auto picture = OurImage(PicturePixels(), kDestWidth, kDestHeight);
    for (auto _ : state) {
        dest->BlitStretched(
            picture.get(), Rect(100, 100, 120, 90), Rect(0, 0, kDestWidth, kDestHeight),
            Rect(0, 0, kDestWidth, kDestHeight), Color::kWhite, Zorva::kDrawModeNormal, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ours_Stretch800x600To120x90);

/// pixman with a box-filtered downscale (separable convolution), the same kind of filter as
/// ours, or bilinear (which reads only four pixels per output pixel) for reference.
void PixmanStretch(benchmark::State& state, bool box)
{
    PixmanDestination dest;
    auto pixels = PicturePixels();
    auto picture = PixmanBits(PIXMAN_a8r8g8b8, pixels, kDestWidth, kDestHeight);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(800.0 / 120.0),
                                pixman_double_to_fixed(600.0 / 90.0));
    pixman_image_set_transform(picture.get(), &transform);
    int nParams = 0;
    pixman_fixed_t* params = nullptr;
    if (box) {
        params = pixman_filter_create_separable_convolution(
            &nParams, pixman_double_to_fixed(800.0 / 120.0), pixman_double_to_fixed(600.0 / 90.0),
            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(picture.get(), PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params,
                                nParams);
    } else {
        pixman_image_set_filter(picture.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, picture.get(), nullptr, dest.image.get(), 0, 0, 0,
                                 0, 100, 100, 120, 90);
        benchmark::ClobberMemory();
    }
    free(params);
}

void BM_Pixman_Stretch800x600To120x90(benchmark::State& state)
{
    PixmanStretch(state, true);
}
BENCHMARK(BM_Pixman_Stretch800x600To120x90);

void BM_Pixman_Stretch800x600To120x90Bilinear(benchmark::State& state)
{
    PixmanStretch(state, false);
}
BENCHMARK(BM_Pixman_Stretch800x600To120x90Bilinear);

// Rotated blit of the 80 x 50 sprite, half a radian about its centre.

constexpr double kAngle = 0.5;
constexpr float kRotX = 300;
constexpr float kRotY = 200;
constexpr float kCentreX = 40;
constexpr float kCentreY = 25;

void BM_Ours_Rotated80x50(benchmark::State& state)
{
    auto dest = OurDestination();
    auto sprite = OurImage(SpritePixels(), 80, 50);
    for (auto _ : state) {
        dest->BlitRotated(sprite.get(), kRotX, kRotY, Rect(0, 0, 80, 50),
                          Rect(0, 0, kDestWidth, kDestHeight), Color::kWhite,
                          Zorva::kDrawModeNormal, kAngle, kCentreX, kCentreY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ours_Rotated80x50);

void BM_Pixman_Rotated80x50(benchmark::State& state)
{
    PixmanDestination dest;
    auto pixels = Premultiplied(SpritePixels());
    auto sprite = PixmanBits(PIXMAN_a8r8g8b8, pixels, 80, 50);
    // Destination to source: the inverse of turning by the angle about (x + cx, y + cy).
    const double c = std::cos(kAngle);
    const double s = std::sin(kAngle);
    const double px = kRotX + kCentreX;
    const double py = kRotY + kCentreY;
    pixman_transform_t transform = {{
        {pixman_double_to_fixed(c), pixman_double_to_fixed(-s),
         pixman_double_to_fixed(kCentreX - c * px + s * py)},
        {pixman_double_to_fixed(s), pixman_double_to_fixed(c),
         pixman_double_to_fixed(kCentreY - s * px - c * py)},
        {0, 0, pixman_fixed_1},
    }};
    pixman_image_set_transform(sprite.get(), &transform);
    pixman_image_set_filter(sprite.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    // The same bounding box our blit walks.
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (int corner = 0; corner < 4; ++corner) {
        const double ox = ((corner & 1) ? 80 : 0) - kCentreX;
        const double oy = ((corner & 2) ? 50 : 0) - kCentreY;
        const double x = px + ox * c + oy * s;
        const double y = py - ox * s + oy * c;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int left = static_cast<int>(std::floor(minX));
    const int top = static_cast<int>(std::floor(minY));
    const int w = static_cast<int>(std::ceil(maxX)) - left;
    const int h = static_cast<int>(std::ceil(maxY)) - top;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, sprite.get(), nullptr, dest.image.get(), left, top,
                                 0, 0, left, top, w, h);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pixman_Rotated80x50);

// 300 x 200 fill at alpha 128.

void BM_Ours_FillRect300x200Alpha128(benchmark::State& state)
{
    auto dest = OurDestination();
    for (auto _ : state) {
        dest->FillRect(Rect(200, 150, 300, 200), Color(200, 100, 50, 128), Zorva::kDrawModeNormal);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ours_FillRect300x200Alpha128);

void BM_Pixman_FillRect300x200Alpha128(benchmark::State& state)
{
    PixmanDestination dest;
    // pixman colours are premultiplied 16-bit channels.
    const pixman_color_t color = {
        static_cast<uint16_t>(200 * 128 / 255 * 257), static_cast<uint16_t>(100 * 128 / 255 * 257),
        static_cast<uint16_t>(50 * 128 / 255 * 257), static_cast<uint16_t>(128 * 257)};
    const pixman_rectangle16_t rect = {200, 150, 300, 200};
    for (auto _ : state) {
        pixman_image_fill_rectangles(PIXMAN_OP_OVER, dest.image.get(), &color, 1, &rect);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pixman_FillRect300x200Alpha128);

} // namespace
