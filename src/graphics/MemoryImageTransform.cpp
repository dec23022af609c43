// The transforming blits of MemoryImage: rotation, stretching, mirroring and textured
// triangles. The plain blits, fills and the bookkeeping live in MemoryImage.cpp.

#include "graphics/MemoryImage.h"

#include "graphics/SaturationTable.h"
#include "graphics/TriangleRasterizer.h"
#include "system/IntegerMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Zorva {

namespace {

/// A source's pixels and its rect cut to the image; a private copy when the source is also
/// the destination, so that drawing never reads pixels it has already written.
struct SourcePixels
{
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    Rect rect;
    std::vector<uint32_t> copy;

    bool Acquire(Image* source, const MemoryImage* destination, const Rect& sourceRect)
    {
        auto* image = dynamic_cast<MemoryImage*>(source);
        if (image == nullptr || image->width <= 0 || image->height <= 0) {
            return false;
        }
        rect = sourceRect.Intersection(Rect(0, 0, image->width, image->height));
        if (rect.IsEmpty()) {
            return false;
        }
        uint32_t* bits = image->GetPixels();
        if (bits == nullptr) {
            return false;
        }
        width = image->width;
        height = image->height;
        if (image == destination) {
            copy.assign(bits, bits + static_cast<size_t>(width) * static_cast<size_t>(height));
            pixels = copy.data();
        } else {
            pixels = bits;
        }
        return true;
    }

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

/// Narrows [lo, hi] to the steps k where lower <= start + k * step <= upper.
void LimitSteps(int64_t start, int64_t step, int64_t lower, int64_t upper, int64_t& lo, int64_t& hi)
{
    if (step > 0) {
        lo = std::max(lo, CeilDiv(lower - start, step));
        hi = std::min(hi, FloorDiv(upper - start, step));
    } else if (step < 0) {
        lo = std::max(lo, CeilDiv(upper - start, step));
        hi = std::min(hi, FloorDiv(lower - start, step));
    } else if (start < lower || start > upper) {
        hi = lo - 1;
    }
}

bool ValidDrawMode(int drawMode)
{
    return drawMode == kDrawModeNormal || drawMode == kDrawModeAdditive;
}

uint32_t* DestinationPixels(MemoryImage& image)
{
    if (image.width <= 0 || image.height <= 0) {
        return nullptr;
    }
    return image.GetPixels();
}

/// Source-over with destination alpha, the way an alpha FillRect composites; an opaque source
/// replaces the pixel so that it keeps its exact colour.
inline uint32_t CompositeOver(uint32_t s, uint32_t d)
{
    const uint32_t sA = s >> 24;
    if (sA == 255) {
        return s;
    }
    const uint32_t dA = d >> 24;
    const uint32_t newA = dA + (255 - dA) * sA / 255;
    const uint32_t f = sA * 255 / newA;
    const uint32_t r = ((((d >> 16) & 0xFF) * (256 - f)) >> 8) + ((((s >> 16) & 0xFF) * f) >> 8);
    const uint32_t g = ((((d >> 8) & 0xFF) * (256 - f)) >> 8) + ((((s >> 8) & 0xFF) * f) >> 8);
    const uint32_t b = (((d & 0xFF) * (256 - f)) >> 8) + (((s & 0xFF) * f) >> 8);
    return (newA << 24) | (r << 16) | (g << 8) | b;
}

/// Adds the source's alpha-weighted colour; the destination's alpha stays.
inline uint32_t CompositeAdd(uint32_t s, uint32_t d, const uint8_t* saturate)
{
    const uint32_t sA = s >> 24;
    const uint32_t r = saturate[((d >> 16) & 0xFF) + ((((s >> 16) & 0xFF) * sA) >> 8)];
    const uint32_t g = saturate[((d >> 8) & 0xFF) + ((((s >> 8) & 0xFF) * sA) >> 8)];
    const uint32_t b = saturate[(d & 0xFF) + (((s & 0xFF) * sA) >> 8)];
    return (d & 0xFF000000) | (r << 16) | (g << 8) | b;
}

/// The clipped part of a stretch: destination pixels and the source area they map to.
struct StretchMapping
{
    Rect dest;
    double sourceX = 0;
    double sourceY = 0;
    double sourceWidth = 0;
    double sourceHeight = 0;
};

bool MapStretch(const Rect& destRect, const Rect& sourceRect, const Rect& clip, int destWidth,
                int destHeight, bool mirror, StretchMapping& mapping)
{
    if (destRect.IsEmpty()) {
        return false;
    }
    mapping.dest = destRect.Intersection(clip).Intersection(Rect(0, 0, destWidth, destHeight));
    if (mapping.dest.IsEmpty()) {
        return false;
    }
    const Rect& c = mapping.dest;
    const double scaleX = static_cast<double>(sourceRect.width) / destRect.width;
    const double scaleY = static_cast<double>(sourceRect.height) / destRect.height;
    const double offsetX = mirror ? static_cast<double>(destRect.x) + destRect.width - c.x - c.width
                                  : static_cast<double>(c.x) - destRect.x;
    mapping.sourceX = sourceRect.x + offsetX * scaleX;
    mapping.sourceY = sourceRect.y + (static_cast<double>(c.y) - destRect.y) * scaleY;
    mapping.sourceWidth =
        sourceRect.width + (static_cast<double>(c.width) - destRect.width) * scaleX;
    mapping.sourceHeight =
        sourceRect.height + (static_cast<double>(c.height) - destRect.height) * scaleY;
    return mapping.sourceWidth > 0 && mapping.sourceHeight > 0;
}

/// Nearest-sample stretch: column j of row i reads (x0 + (j + 1) * rx, y0 + i * ry), every
/// sample clamped to the source rect.
void FastStretch(uint32_t* dest, int destStride, const SourcePixels& source,
                 const StretchMapping& mapping, int drawMode, bool mirror)
{
    const Rect& c = mapping.dest;
    const Rect& sr = source.rect;
    const double rx = mapping.sourceWidth / c.width;
    const double ry = mapping.sourceHeight / c.height;
    std::vector<int> columns(static_cast<size_t>(c.width));
    for (int j = 0; j < c.width; ++j) {
        const double position = std::floor(mapping.sourceX + (j + 1) * rx);
        const int column = static_cast<int>(std::clamp(position, static_cast<double>(sr.x),
                                                       static_cast<double>(sr.x + sr.width - 1)));
        columns[static_cast<size_t>(mirror ? c.width - 1 - j : j)] = column;
    }
    const uint8_t* saturate = SaturationTable();
    for (int i = 0; i < c.height; ++i) {
        const double position = std::floor(mapping.sourceY + i * ry);
        const int sy = static_cast<int>(std::clamp(position, static_cast<double>(sr.y),
                                                   static_cast<double>(sr.y + sr.height - 1)));
        const uint32_t* sourceRow = source.pixels + static_cast<size_t>(sy) * source.width;
        uint32_t* row = dest + static_cast<size_t>(c.y + i) * destStride + c.x;
        for (int j = 0; j < c.width; ++j) {
            const uint32_t s = sourceRow[columns[static_cast<size_t>(j)]];
            if ((s >> 24) == 0) {
                continue;
            }
            row[j] = drawMode == kDrawModeAdditive ? CompositeAdd(s, row[j], saturate)
                                                   : CompositeOver(s, row[j]);
        }
    }
}

/// For each output position, the input indices (relative to the area) and weights summing to
/// 256 that it gathers.
struct FilterTaps
{
    std::vector<uint32_t> first; // output i uses taps first[i] .. first[i + 1] - 1
    std::vector<int32_t> index;
    std::vector<uint32_t> weight;
};

/// Enlarging interpolates two neighbours at t = start + (n - 1) / (out - 1) * (i - 1);
/// shrinking spreads each input pixel over the outputs it covers, in proportion.
FilterTaps BuildTaps(int outCount, int areaSize, double fraction, double mappedSize)
{
    FilterTaps taps;
    taps.first.reserve(static_cast<size_t>(outCount) + 1);
    auto clampIndex = [areaSize](int64_t i) {
        return static_cast<int32_t>(std::clamp<int64_t>(i, 0, areaSize - 1));
    };
    if (outCount >= areaSize) {
        const double ratio =
            outCount > 1 ? static_cast<double>(areaSize - 1) / (outCount - 1) : 0.0;
        for (int i = 0; i < outCount; ++i) {
            taps.first.push_back(static_cast<uint32_t>(taps.index.size()));
            if (outCount == 1) {
                taps.index.push_back(0);
                taps.weight.push_back(256);
                continue;
            }
            const double t = fraction + ratio * (i - 1);
            const double base = std::floor(t);
            const auto w = static_cast<uint32_t>(
                std::clamp(std::floor((1.0 - (t - base)) * 256.0), 0.0, 256.0));
            const auto x = static_cast<int64_t>(base);
            taps.index.push_back(clampIndex(x));
            taps.weight.push_back(w);
            taps.index.push_back(clampIndex(x + 1));
            taps.weight.push_back(256 - w);
        }
    } else {
        // Input pixel k covers outputs [bound[k], bound[k + 1]) in 1/256 of an output; the
        // bounds tile the whole output, so every output's weights sum to exactly 256.
        const int64_t total = int64_t{outCount} * 256;
        std::vector<int64_t> bound(static_cast<size_t>(areaSize) + 1);
        for (int k = 0; k <= areaSize; ++k) {
            const double position = (k - fraction) * outCount / mappedSize * 256.0;
            bound[static_cast<size_t>(k)] =
                std::clamp<int64_t>(std::llround(std::clamp(position, -1.0, 1.0e12)), 0, total);
        }
        bound[0] = 0;
        bound[static_cast<size_t>(areaSize)] = total;
        int k = 0;
        for (int i = 0; i < outCount; ++i) {
            taps.first.push_back(static_cast<uint32_t>(taps.index.size()));
            const int64_t lo = int64_t{i} * 256;
            const int64_t hi = lo + 256;
            while (k < areaSize && bound[static_cast<size_t>(k) + 1] <= lo) {
                ++k;
            }
            for (int m = k; m < areaSize && bound[static_cast<size_t>(m)] < hi; ++m) {
                const int64_t covered = std::min(hi, bound[static_cast<size_t>(m) + 1]) -
                                        std::max(lo, bound[static_cast<size_t>(m)]);
                if (covered > 0) {
                    taps.index.push_back(m);
                    taps.weight.push_back(static_cast<uint32_t>(covered));
                }
            }
        }
    }
    taps.first.push_back(static_cast<uint32_t>(taps.index.size()));
    return taps;
}

/// Two 16-bit channel sums spread into 32-bit lanes, so a second weighting cannot overflow.
inline uint64_t SpreadLanes(uint32_t pair)
{
    return static_cast<uint64_t>(pair & 0xFFFF) | (static_cast<uint64_t>(pair >> 16) << 32);
}

/// Box / bilinear filtered stretch; the colour and the draw mode are not applied.
void FilteredStretch(uint32_t* dest, int destStride, const SourcePixels& source,
                     const StretchMapping& mapping, bool mirror)
{
    const Rect& c = mapping.dest;
    const Rect& sr = source.rect;
    // Widen to whole pixels, then keep inside the source rect.
    const double floorX = std::floor(mapping.sourceX);
    const double floorY = std::floor(mapping.sourceY);
    const double areaRight = std::ceil(mapping.sourceX + mapping.sourceWidth);
    const double areaBottom = std::ceil(mapping.sourceY + mapping.sourceHeight);
    const int x0 = static_cast<int>(std::clamp<double>(floorX, sr.x, sr.x + sr.width));
    const int y0 = static_cast<int>(std::clamp<double>(floorY, sr.y, sr.y + sr.height));
    const int x1 = static_cast<int>(std::clamp<double>(areaRight, sr.x, sr.x + sr.width));
    const int y1 = static_cast<int>(std::clamp<double>(areaBottom, sr.y, sr.y + sr.height));
    const int areaWidth = x1 - x0;
    const int areaHeight = y1 - y0;
    if (areaWidth < 1 || areaHeight < 1) {
        return;
    }
    const FilterTaps horizontal =
        BuildTaps(c.width, areaWidth, mapping.sourceX - x0, mapping.sourceWidth);
    const FilterTaps vertical =
        BuildTaps(c.height, areaHeight, mapping.sourceY - y0, mapping.sourceHeight);

    // Horizontal pass: per area row and output column, blue|red and green|alpha sums of
    // 8-bit channels times weights summing to 256, each in 32-bit lanes.
    const size_t columns = static_cast<size_t>(c.width);
    std::vector<uint64_t> pass(columns * static_cast<size_t>(areaHeight) * 2);
    for (int r = 0; r < areaHeight; ++r) {
        const uint32_t* sourceRow = source.pixels + static_cast<size_t>(y0 + r) * source.width + x0;
        uint64_t* out = pass.data() + static_cast<size_t>(r) * columns * 2;
        for (int i = 0; i < c.width; ++i) {
            uint32_t blueRed = 0;
            uint32_t greenAlpha = 0;
            for (uint32_t k = horizontal.first[static_cast<size_t>(i)];
                 k < horizontal.first[static_cast<size_t>(i) + 1]; ++k) {
                const uint32_t p = sourceRow[horizontal.index[k]];
                const uint32_t w = horizontal.weight[k];
                blueRed += (p & 0xFF00FF) * w;
                greenAlpha += ((p >> 8) & 0xFF00FF) * w;
            }
            const size_t cell = static_cast<size_t>(mirror ? c.width - 1 - i : i) * 2;
            out[cell] = SpreadLanes(blueRed);
            out[cell + 1] = SpreadLanes(greenAlpha);
        }
    }

    // Vertical pass; a full opaque 255 ends up as 255 << 16 in every lane.
    std::vector<uint64_t> sums(columns * 2);
    for (int j = 0; j < c.height; ++j) {
        std::fill(sums.begin(), sums.end(), 0);
        for (uint32_t k = vertical.first[static_cast<size_t>(j)];
             k < vertical.first[static_cast<size_t>(j) + 1]; ++k) {
            const uint64_t* in = pass.data() + static_cast<size_t>(vertical.index[k]) * columns * 2;
            const uint64_t w = vertical.weight[k];
            for (size_t n = 0; n < columns * 2; ++n) {
                sums[n] += in[n] * w;
            }
        }
        uint32_t* row = dest + static_cast<size_t>(c.y + j) * destStride + c.x;
        for (size_t i = 0; i < columns; ++i) {
            const uint64_t blueRed = sums[i * 2];
            const uint64_t greenAlpha = sums[i * 2 + 1];
            const auto a = static_cast<uint32_t>(greenAlpha >> 48);
            if (a == 0) {
                continue;
            }
            const auto red = static_cast<uint32_t>(blueRed >> 48);
            const auto green = static_cast<uint32_t>((greenAlpha >> 16) & 0xFFFF);
            const auto blue = static_cast<uint32_t>((blueRed >> 16) & 0xFFFF);
            const uint32_t d = row[i];
            const uint32_t dA = d >> 24;
            uint32_t newA;
            uint32_t o;
            if (dA == 255) {
                newA = 255;
                o = a == 255 ? 256 : a;
            } else {
                newA = dA + (255 - dA) * a / 255;
                o = a * 256 / newA;
            }
            const uint32_t r = ((red * o) >> 8) + ((((d >> 16) & 0xFF) * (256 - o)) >> 8);
            const uint32_t g = ((green * o) >> 8) + ((((d >> 8) & 0xFF) * (256 - o)) >> 8);
            const uint32_t b = ((blue * o) >> 8) + (((d & 0xFF) * (256 - o)) >> 8);
            row[i] = (newA << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

/// The software stretch shared by the plain and the mirrored forms.
void Stretch(MemoryImage& destination, Image* source, const Rect& destRect, const Rect& sourceRect,
             const Rect& clip, const Color& color, int drawMode, bool fastStretch, bool mirror)
{
    if (!ValidDrawMode(drawMode) || (fastStretch && !color.IsWhite())) {
        return;
    }
    SourcePixels pixels;
    if (!pixels.Acquire(source, &destination, sourceRect)) {
        return;
    }
    StretchMapping mapping;
    if (!MapStretch(destRect, pixels.rect, clip, destination.width, destination.height, mirror,
                    mapping)) {
        return;
    }
    uint32_t* dest = DestinationPixels(destination);
    if (dest == nullptr) {
        return;
    }
    if (fastStretch) {
        FastStretch(dest, destination.width, pixels, mapping, drawMode, mirror);
    } else {
        FilteredStretch(dest, destination.width, pixels, mapping, mirror);
    }
    destination.PixelsChanged();
}

int RasterFormat(const MemoryImage& image)
{
    return !image.forcedMode || image.hasAlpha || image.hasTrans ? kRasterFormat8888
                                                                 : kRasterFormat888;
}

} // namespace

void MemoryImage::BlitFloat(Image* source, float x, float y, const Rect& sourceRect,
                            const Rect& clip, const Color& color, int drawMode)
{
    BlitRotated(source, x, y, sourceRect, clip, color, drawMode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BlitRotated(Image* source, float x, float y, const Rect& sourceRect,
                              const Rect& clip, const Color& color, int drawMode, double angle,
                              float centerX, float centerY)
{
    if (!ValidDrawMode(drawMode) || !std::isfinite(angle) || !std::isfinite(x) ||
        !std::isfinite(y) || !std::isfinite(centerX) || !std::isfinite(centerY)) {
        return;
    }
    SourcePixels src;
    if (!src.Acquire(source, this, sourceRect)) {
        return;
    }
    const Rect sr = src.rect;
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    // The rect's top-left sits at (x, y); the centre is relative to it.
    const double pivotX = static_cast<double>(x) + centerX;
    const double pivotY = static_cast<double>(y) + centerY;
    const double originX = static_cast<double>(sourceRect.x) + centerX;
    const double originY = static_cast<double>(sourceRect.y) + centerY;

    double minX = 10000000.0;
    double minY = 10000000.0;
    double maxX = -10000000.0;
    double maxY = -10000000.0;
    for (int corner = 0; corner < 4; ++corner) {
        const double cornerX = (corner & 1) ? sr.x + sr.width : sr.x;
        const double cornerY = (corner & 2) ? sr.y + sr.height : sr.y;
        const double offsetX = cornerX - originX;
        const double offsetY = cornerY - originY;
        const double destX = pivotX + offsetX * cosA + offsetY * sinA;
        const double destY = pivotY - offsetX * sinA + offsetY * cosA;
        minX = std::min(minX, destX);
        maxX = std::max(maxX, destX);
        minY = std::min(minY, destY);
        maxY = std::max(maxY, destY);
    }
    const Rect bounds(0, 0, width, height);
    const Rect area = clip.Intersection(bounds);
    // Clamped in floating point first: a far-off position must not overflow the casts.
    auto inside = [](double value, int low, int high) {
        return static_cast<int>(std::clamp<double>(value, low, high));
    };
    const int left = inside(std::floor(minX), area.x, area.x + area.width);
    const int top = inside(std::floor(minY), area.y, area.y + area.height);
    const int right = inside(std::ceil(maxX), area.x, area.x + area.width);
    const int bottom = inside(std::ceil(maxY), area.y, area.y + area.height);
    if (area.IsEmpty() || left >= right || top >= bottom) {
        return;
    }
    uint32_t* dest = DestinationPixels(*this);
    if (dest == nullptr) {
        return;
    }

    // Modulation: colour alpha scales the coverage in normal mode; additive drawing scales
    // each channel by colour * colour alpha / 255.
    const bool modulate = !color.IsWhite();
    auto scale256 = [](int32_t value) {
        const auto v = static_cast<uint32_t>(std::clamp(value, 0, 255));
        return v + (v >> 7);
    };
    const uint32_t alphaScale = scale256(color.alpha);
    uint32_t channelScale[3] = {scale256(color.red), scale256(color.green), scale256(color.blue)};
    if (drawMode == kDrawModeAdditive) {
        for (uint32_t& k : channelScale) {
            k = (k * alphaScale) >> 8;
        }
    }
    const bool additive = drawMode == kDrawModeAdditive;
    const uint8_t* saturate = SaturationTable();

    // Inverse rotation in 16.16 fixed point around texel centres.
    const int64_t stepUx = std::llround(cosA * 65536.0);
    const int64_t stepVx = std::llround(sinA * 65536.0);
    const int64_t srLeft = sr.x;
    const int64_t srTop = sr.y;
    const int64_t srRight = sr.x + sr.width - 1;
    const int64_t srBottom = sr.y + sr.height - 1;
    for (int j = top; j < bottom; ++j) {
        const double dy = j + 0.5 - pivotY;
        const double dx = left + 0.5 - pivotX;
        int64_t u = std::llround((originX + dx * cosA - dy * sinA - 0.5) * 65536.0);
        int64_t v = std::llround((originY + dx * sinA + dy * cosA - 0.5) * 65536.0);
        // Only the columns whose 2 x 2 neighbourhood touches the source rect.
        int64_t first = 0;
        int64_t last = right - left - 1;
        LimitSteps(u, stepUx, (srLeft - 1) * 65536, (srRight + 1) * 65536 - 1, first, last);
        LimitSteps(v, stepVx, (srTop - 1) * 65536, (srBottom + 1) * 65536 - 1, first, last);
        if (first > last) {
            continue;
        }
        u += first * stepUx;
        v += first * stepVx;
        uint32_t* row = dest + static_cast<size_t>(j) * width;
        for (int64_t i = left + first; i <= left + last; ++i, u += stepUx, v += stepVx) {
            const int64_t sx = u >> 16;
            const int64_t sy = v >> 16;
            const uint32_t fx = static_cast<uint32_t>(u & 0xFFFE) + 1;
            const uint32_t fy = static_cast<uint32_t>(v & 0xFFFE) + 1;
            uint32_t p00;
            uint32_t p10;
            uint32_t p01;
            uint32_t p11;
            if (sx >= srLeft && sx < srRight && sy >= srTop && sy < srBottom) {
                const uint32_t* p = src.pixels + static_cast<size_t>(sy) * src.width + sx;
                p00 = p[0];
                p10 = p[1];
                p01 = p[src.width];
                p11 = p[src.width + 1];
            } else {
                // Border: neighbours outside the source rect are transparent.
                auto fetch = [&](int64_t px, int64_t py) -> uint32_t {
                    if (px < srLeft || px > srRight || py < srTop || py > srBottom) {
                        return 0;
                    }
                    return src.At(static_cast<int>(px), static_cast<int>(py));
                };
                p00 = fetch(sx, sy);
                p10 = fetch(sx + 1, sy);
                p01 = fetch(sx, sy + 1);
                p11 = fetch(sx + 1, sy + 1);
            }
            const uint32_t gx = 0x10000 - fx;
            const uint32_t gy = 0x10000 - fy;
            uint32_t w00 = (((gx * gy) >> 16) * (p00 >> 24)) >> 16;
            uint32_t w10 = (((fx * gy) >> 16) * (p10 >> 24)) >> 16;
            uint32_t w01 = (((gx * fy) >> 16) * (p01 >> 24)) >> 16;
            uint32_t w11 = (((fx * fy) >> 16) * (p11 >> 24)) >> 16;
            if (modulate && !additive) {
                w00 = (w00 * alphaScale) >> 8;
                w10 = (w10 * alphaScale) >> 8;
                w01 = (w01 * alphaScale) >> 8;
                w11 = (w11 * alphaScale) >> 8;
            }
            const uint32_t sum = w00 + w10 + w01 + w11;
            if (sum == 0) {
                continue;
            }
            // Red and blue share a word: each 16-bit lane sums at most 255 * 255.
            const uint32_t redBlue = (p00 & 0xFF00FF) * w00 + (p10 & 0xFF00FF) * w10 +
                                     (p01 & 0xFF00FF) * w01 + (p11 & 0xFF00FF) * w11;
            const uint32_t green = ((p00 >> 8) & 0xFF) * w00 + ((p10 >> 8) & 0xFF) * w10 +
                                   ((p01 >> 8) & 0xFF) * w01 + ((p11 >> 8) & 0xFF) * w11;
            uint32_t c[3] = {redBlue >> 16, green, redBlue & 0xFFFF};
            if (modulate) {
                for (int ch = 0; ch < 3; ++ch) {
                    c[ch] = (c[ch] * channelScale[ch]) >> 8;
                }
            }
            const uint32_t d = row[i];
            const uint32_t dc[3] = {(d >> 16) & 0xFF, (d >> 8) & 0xFF, d & 0xFF};
            uint32_t out[3];
            uint32_t outAlpha;
            if (additive) {
                for (int ch = 0; ch < 3; ++ch) {
                    out[ch] = saturate[dc[ch] + (c[ch] >> 8)];
                }
                outAlpha = d >> 24;
            } else if (sum >= 251) {
                for (int ch = 0; ch < 3; ++ch) {
                    out[ch] = std::min<uint32_t>(255, c[ch] >> 8);
                }
                outAlpha = 255;
            } else {
                const uint32_t dA = d >> 24;
                const uint32_t k = 256 - sum;
                const uint32_t t = ((256 - dA) * k) >> 8;
                if (t == 0) {
                    // Opaque destination: the divisor is 256.
                    for (int ch = 0; ch < 3; ++ch) {
                        out[ch] = std::min<uint32_t>(255, (((dc[ch] * dA) >> 8) * k + c[ch]) >> 8);
                    }
                    row[i] = 0xFF000000u | (out[0] << 16) | (out[1] << 8) | out[2];
                    continue;
                }
                for (int ch = 0; ch < 3; ++ch) {
                    out[ch] =
                        std::min<uint32_t>(255, (((dc[ch] * dA) >> 8) * k + c[ch]) / (256 - t));
                }
                outAlpha = 255 - t;
            }
            row[i] = (outAlpha << 24) | (out[0] << 16) | (out[1] << 8) | out[2];
        }
    }
    PixelsChanged();
}

void MemoryImage::BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect,
                                const Rect& clip, const Color& color, int drawMode,
                                bool fastStretch)
{
    Stretch(*this, source, destRect, sourceRect, clip, color, drawMode, fastStretch, false);
}

void MemoryImage::BlitStretchedMirrored(Image* source, const Rect& destRect, const Rect& sourceRect,
                                        const Rect& clip, const Color& color, int drawMode,
                                        bool fastStretch)
{
    Stretch(*this, source, destRect, sourceRect, clip, color, drawMode, fastStretch, true);
}

void MemoryImage::BlitMirrored(Image* source, int x, int y, const Rect& sourceRect,
                               const Color& color, int drawMode)
{
    if (!ValidDrawMode(drawMode)) {
        return;
    }
    SourcePixels src;
    if (!src.Acquire(source, this, sourceRect)) {
        return;
    }
    // The visible part of (x, y, rect size); destination column x + j shows source column
    // right - j, counted from the rect's right edge.
    const Rect& sr = src.rect;
    const Rect visible = Rect(x, y, sr.width, sr.height).Intersection(Rect(0, 0, width, height));
    if (visible.IsEmpty()) {
        return;
    }
    // Mirror the visible columns into a temporary image and let the plain blit composite it,
    // so both blits share one set of formulas.
    std::vector<uint32_t> mirrored(static_cast<size_t>(visible.width) * visible.height);
    for (int row = 0; row < visible.height; ++row) {
        const int sy = sr.y + (visible.y - y) + row;
        for (int j = 0; j < visible.width; ++j) {
            const int sx = sr.x + sr.width - 1 - (visible.x - x + j);
            mirrored[static_cast<size_t>(row) * visible.width + j] = src.At(sx, sy);
        }
    }
    MemoryImage temporary;
    temporary.SetPixels(mirrored.data(), visible.width, visible.height, true);
    Blit(&temporary, visible.x, visible.y, Rect(0, 0, visible.width, visible.height), color,
         drawMode);
}

void MemoryImage::BlitTransformed(Image* source, float x, float y, const Matrix3& matrix,
                                  const Rect& clip, const Color& color, int drawMode,
                                  const Rect& sourceRect, bool blend)
{
    SourcePixels src;
    if (!ValidDrawMode(drawMode) || !src.Acquire(source, this, sourceRect)) {
        return;
    }
    const Rect& sr = src.rect;
    const float halfWidth = sr.width / 2.0f;
    const float halfHeight = sr.height / 2.0f;
    const float corners[4][2] = {{-halfWidth, -halfHeight},
                                 {halfWidth, -halfHeight},
                                 {halfWidth, halfHeight},
                                 {-halfWidth, halfHeight}};
    const float left = static_cast<float>(sr.x) / src.width;
    const float right = static_cast<float>(sr.x + sr.width) / src.width;
    const float top = static_cast<float>(sr.y) / src.height;
    const float bottom = static_cast<float>(sr.y + sr.height) / src.height;
    const float texture[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    TriVertex vertex[4];
    const auto& m = matrix.m;
    for (int k = 0; k < 4; ++k) {
        const float cx = corners[k][0];
        const float cy = corners[k][1];
        float w = m[2][0] * cx + m[2][1] * cy + m[2][2];
        if (!(std::fabs(w) > 1e-6f)) {
            return;
        }
        vertex[k].x = (m[0][0] * cx + m[0][1] * cy + m[0][2]) / w + x - 0.5f;
        vertex[k].y = (m[1][0] * cx + m[1][1] * cy + m[1][2]) / w + y - 0.5f;
        vertex[k].u = texture[k][0];
        vertex[k].v = texture[k][1];
    }
    TriangleRasterizer rasterizer(*this, {src.pixels, src.width, src.height, sr},
                                  RasterFormat(*this), clip, color, drawMode, blend);
    rasterizer.DrawTriangle(vertex[0], vertex[1], vertex[2]);
    rasterizer.DrawTriangle(vertex[0], vertex[2], vertex[3]);
    PixelsChanged();
}

void MemoryImage::BlitTriangles(Image* source, const Triangle* triangles, int count,
                                const Rect& clip, const Color& color, int drawMode, float tx,
                                float ty, bool blend)
{
    SourcePixels src;
    if (triangles == nullptr || count <= 0 || !ValidDrawMode(drawMode) ||
        !src.Acquire(source, this,
                     Rect(0, 0, source ? source->width : 0, source ? source->height : 0))) {
        return;
    }
    TriangleRasterizer rasterizer(*this, {src.pixels, src.width, src.height, src.rect},
                                  RasterFormat(*this), clip, color, drawMode, blend);
    for (int i = 0; i < count; ++i) {
        Triangle triangle = triangles[i];
        for (TriVertex& vertex : triangle) {
            vertex.x += tx;
            vertex.y += ty;
        }
        rasterizer.DrawTriangle(triangle[0], triangle[1], triangle[2]);
    }
    PixelsChanged();
}

} // namespace Zorva
