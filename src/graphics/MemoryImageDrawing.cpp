// The plain drawing of MemoryImage: rectangle fills, lines and the blits, with their SSE2
// fast paths. The pixel forms and caches live in MemoryImage.cpp, the transforming blits in
// MemoryImageTransform.cpp.

#include "graphics/MemoryImage.h"

#include "graphics/SaturationTable.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ZORVA_HAVE_SSE2 1
#endif

namespace Zorva {

namespace {

/// The part of `rect` inside a width x height image, computed without overflow.
Rect ClipToSize(const Rect& rect, int w, int h)
{
    const int64_t left = std::max<int64_t>(rect.x, 0);
    const int64_t top = std::max<int64_t>(rect.y, 0);
    const int64_t right = std::min<int64_t>(int64_t{rect.x} + std::max(rect.width, 0), w);
    const int64_t bottom = std::min<int64_t>(int64_t{rect.y} + std::max(rect.height, 0), h);
    if (right <= left || bottom <= top) {
        return Rect(0, 0, 0, 0);
    }
    return Rect(static_cast<int32_t>(left), static_cast<int32_t>(top),
                static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top));
}

/// Per channel (d * (256 - f) >> 8) + (s * f >> 8) on the three colour channels, two of them
/// at a time; each product stays within its 16-bit lane, so the result is exact.
inline uint32_t MixColor(uint32_t d, uint32_t s, uint32_t f)
{
    const uint32_t g = 256 - f;
    return ((((d & 0xFF00FFu) * g) >> 8) & 0xFF00FFu) + ((((d & 0xFF00u) * g) >> 8) & 0xFF00u) +
           ((((s & 0xFF00FFu) * f) >> 8) & 0xFF00FFu) + ((((s & 0xFF00u) * f) >> 8) & 0xFF00u);
}

/// Source-over of colour `s` with alpha sA (1..254) onto `d`, destination alpha included.
inline uint32_t SourceOver(uint32_t d, uint32_t s, uint32_t sA)
{
    const uint32_t dA = d >> 24;
    if (dA == 255) {
        // newA = 255 and f = sA * 255 / 255: no division for opaque destinations.
        return 0xFF000000u | MixColor(d, s, sA);
    }
    const uint32_t newA = dA + (255 - dA) * sA / 255;
    const uint32_t f = sA * 255 / newA;
    return (newA << 24) | MixColor(d, s, f);
}

/// True when the premultiplied 8-bit colour of a pixel is black, so adding it changes nothing.
inline bool PremultipliedBlack(uint32_t argb)
{
    const uint32_t a1 = (argb >> 24) + 1;
    return ((((argb >> 16) & 0xFF) * a1) >> 8) == 0 && ((((argb >> 8) & 0xFF) * a1) >> 8) == 0 &&
           (((argb & 0xFF) * a1) >> 8) == 0;
}

#if defined(ZORVA_HAVE_SSE2)
// Four pixels at a time with the same per-channel arithmetic as the scalar code: every
// product of a channel and a factor up to 256 fits a 16-bit lane, and the shifts floor, so
// the results are identical.

/// Each pixel's alpha copied to its four 16-bit lanes.
inline __m128i SpreadAlpha(__m128i wide)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(wide, 0xFF), 0xFF);
}

/// FillRect's blend onto four pixels that are all opaque: (d * keep >> 8) + (s * f >> 8),
/// alpha 255. False, leaving them, when one of them is not opaque.
inline bool FillFourOpaque(uint32_t* p, __m128i keep, __m128i sourcePart)
{
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i alphaOnes =
        _mm_cmpeq_epi32(_mm_or_si128(d, _mm_set1_epi32(0x00FFFFFF)), _mm_set1_epi32(-1));
    if (_mm_movemask_epi8(alphaOnes) != 0xFFFF) {
        return false;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_add_epi16(
        _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keep), 8), sourcePart);
    const __m128i hi = _mm_add_epi16(
        _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keep), 8), sourcePart);
    const __m128i out =
        _mm_or_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), out);
    return true;
}

/// (s * a >> 8) + (d * (256 - a) >> 8) with each source pixel's own alpha, alpha 255.
inline void BlendFourOwnAlpha(uint32_t* dst, const uint32_t* src)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(256);
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const auto half = [&](__m128i s16, __m128i d16) {
        const __m128i a = SpreadAlpha(s16);
        return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s16, a), 8),
                             _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a)), 8));
    };
    const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    const __m128i out =
        _mm_or_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
}

/// Additive: each source channel scaled by its multiplier (256 = unchanged, 0 in the alpha
/// lane so the destination alpha stays), optionally by the pixel's alpha, then added with
/// saturation, which is what the saturation table computes.
inline void AddFour(uint32_t* dst, const uint32_t* src, __m128i multiplier, bool sourceAlpha)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const auto scale = [&](__m128i s16) {
        __m128i v = _mm_srli_epi16(_mm_mullo_epi16(s16, multiplier), 8);
        if (sourceAlpha) {
            v = _mm_srli_epi16(_mm_mullo_epi16(v, SpreadAlpha(s16)), 8);
        }
        return v;
    };
    const __m128i add =
        _mm_packus_epi16(scale(_mm_unpacklo_epi8(s, zero)), scale(_mm_unpackhi_epi8(s, zero)));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_adds_epu8(d, add));
}
#endif

/// Rows of a source image as ARGB words; palettised sources are expanded through their palette
/// into a scratch row so that every blit loop reads plain words.
class SourceRows
{
public:
    explicit SourceRows(MemoryImage& source) : stride(static_cast<std::size_t>(source.width))
    {
        const std::size_t count = stride * static_cast<std::size_t>(source.height);
        if (source.HasPixels()) {
            bits = source.mBits.data();
        } else if (source.IsPalettised() && source.colorTable.size() == 256 &&
                   source.colorIndices.size() == count) {
            indices = source.colorIndices.data();
            palette = source.colorTable.data();
            scratch.resize(stride);
        } else {
            bits = source.GetPixels();
        }
    }

    const uint32_t* Row(int y, int x, int count)
    {
        const std::size_t start =
            static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x);
        if (bits != nullptr) {
            return bits + start;
        }
        for (int i = 0; i < count; ++i) {
            scratch[static_cast<std::size_t>(i)] =
                palette[indices[start + static_cast<std::size_t>(i)]];
        }
        return scratch.data();
    }

private:
    std::size_t stride;
    const uint32_t* bits = nullptr;
    const uint8_t* indices = nullptr;
    const uint32_t* palette = nullptr;
    std::vector<uint32_t> scratch;
};

/// A blit after clipping: w x h pixels from (sx, sy) of the source to (dx, dy).
struct BlitArea
{
    int sx = 0;
    int sy = 0;
    int dx = 0;
    int dy = 0;
    int w = 0;
    int h = 0;
};

/// With colour modulation: each pixel scaled by the colour and blended, destination alpha
/// included.
void BlitGeneral(uint32_t* dstBits, int dstStride, SourceRows& rows, const BlitArea& a,
                 const Color& color)
{
    const uint32_t kA = static_cast<uint32_t>(color.alpha & 0xFF);
    const uint32_t kR = static_cast<uint32_t>(color.red & 0xFF);
    const uint32_t kG = static_cast<uint32_t>(color.green & 0xFF);
    const uint32_t kB = static_cast<uint32_t>(color.blue & 0xFF);
    for (int row = 0; row < a.h; ++row) {
        const uint32_t* src = rows.Row(a.sy + row, a.sx, a.w);
        uint32_t* dst = dstBits + static_cast<std::size_t>(a.dy + row) * dstStride + a.dx;
        for (int i = 0; i < a.w; ++i) {
            const uint32_t s = src[i];
            uint32_t u = kA * (s >> 24) / 255;
            if (u == 0) {
                continue;
            }
            const uint32_t d = dst[i];
            const uint32_t dA = d >> 24;
            uint32_t newA = 255;
            if (dA != 255) {
                newA = dA + (255 - dA) * u / 255;
                u = u * 255 / newA;
            }
            const uint32_t v = 256 - u;
            const uint32_t r =
                ((u * ((s >> 16) & 0xFF) * kR) >> 16) + ((v * ((d >> 16) & 0xFF)) >> 8);
            const uint32_t g =
                ((u * ((s >> 8) & 0xFF) * kG) >> 16) + ((v * ((d >> 8) & 0xFF)) >> 8);
            const uint32_t b = ((u * (s & 0xFF) * kB) >> 16) + ((v * (d & 0xFF)) >> 8);
            dst[i] = (newA << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

/// No modulation: the source's alpha runs let opaque spans be copied and transparent spans be
/// skipped without looking at each pixel; `blendSpan(dst, src, count)` mixes the partly
/// transparent ones.
template <typename BlendSpan>
void BlitAlphaRuns(uint32_t* dstBits, int dstStride, SourceRows& rows, const uint8_t* runs,
                   int srcStride, const BlitArea& a, BlendSpan blendSpan)
{
    for (int row = 0; row < a.h; ++row) {
        const uint32_t* src = rows.Row(a.sy + row, a.sx, a.w);
        const uint8_t* run = runs + static_cast<std::size_t>(a.sy + row) * srcStride + a.sx;
        uint32_t* dst = dstBits + static_cast<std::size_t>(a.dy + row) * dstStride + a.dx;
        int i = 0;
        while (i < a.w) {
            const uint32_t sA = src[i] >> 24;
            int length = std::min<int>(std::max<int>(run[i], 1), a.w - i);
            if (sA == 255) {
                // Neighbouring capped runs of the same class are copied in one go.
                while (i + length < a.w && (src[i + length] >> 24) == 255) {
                    length += std::min<int>(std::max<int>(run[i + length], 1), a.w - i - length);
                }
                std::memmove(dst + i, src + i, static_cast<std::size_t>(length) * sizeof(uint32_t));
            } else if (sA != 0) {
                blendSpan(dst + i, src + i, length);
            }
            i += length;
        }
    }
}

/// Opaque destination: partly transparent pixels are mixed over it.
void BlitRunLength(uint32_t* dstBits, int dstStride, SourceRows& rows, const uint8_t* runs,
                   int srcStride, const BlitArea& a)
{
    BlitAlphaRuns(dstBits, dstStride, rows, runs, srcStride, a,
                  [](uint32_t* dst, const uint32_t* src, int count) {
                      int j = 0;
#if defined(ZORVA_HAVE_SSE2)
                      for (; j + 4 <= count; j += 4) {
                          BlendFourOwnAlpha(dst + j, src + j);
                      }
#endif
                      for (; j < count; ++j) {
                          const uint32_t s = src[j];
                          dst[j] = 0xFF000000u | MixColor(dst[j], s, s >> 24);
                      }
                  });
}

/// A destination that may hold alpha: partly transparent pixels are blended with the
/// destination's alpha taken into account.
void BlitRunLengthOver(uint32_t* dstBits, int dstStride, SourceRows& rows, const uint8_t* runs,
                       int srcStride, const BlitArea& a)
{
    BlitAlphaRuns(dstBits, dstStride, rows, runs, srcStride, a,
                  [](uint32_t* dst, const uint32_t* src, int count) {
                      for (int j = 0; j < count; ++j) {
                          const uint32_t s = src[j];
                          dst[j] = SourceOver(dst[j], s, s >> 24);
                      }
                  });
}

void BlitAdditive(uint32_t* dstBits, int dstStride, SourceRows& rows, const uint8_t* runs,
                  int srcStride, const BlitArea& a, const Color& color, bool sourceAlpha)
{
    const uint8_t* t = SaturationTable();
    const bool white = color.IsWhite();
    const uint32_t kA = static_cast<uint32_t>(color.alpha & 0xFF);
    const uint32_t mR = white ? 256 : kA * static_cast<uint32_t>(color.red & 0xFF) / 255;
    const uint32_t mG = white ? 256 : kA * static_cast<uint32_t>(color.green & 0xFF) / 255;
    const uint32_t mB = white ? 256 : kA * static_cast<uint32_t>(color.blue & 0xFF) / 255;
#if defined(ZORVA_HAVE_SSE2)
    const auto lane = [](uint32_t m) { return static_cast<short>(m); };
    const __m128i multiplier =
        _mm_set_epi16(0, lane(mR), lane(mG), lane(mB), 0, lane(mR), lane(mG), lane(mB));
#endif
    for (int row = 0; row < a.h; ++row) {
        const uint32_t* src = rows.Row(a.sy + row, a.sx, a.w);
        const uint8_t* run = runs + static_cast<std::size_t>(a.sy + row) * srcStride + a.sx;
        uint32_t* dst = dstBits + static_cast<std::size_t>(a.dy + row) * dstStride + a.dx;
        int i = 0;
        while (i < a.w) {
            const int length = std::min<int>(std::max<int>(run[i], 1), a.w - i);
            if (!PremultipliedBlack(src[i])) {
                const int end = i + length;
                int j = i;
#if defined(ZORVA_HAVE_SSE2)
                for (; j + 4 <= end; j += 4) {
                    AddFour(dst + j, src + j, multiplier, sourceAlpha);
                }
#endif
                for (; j < end; ++j) {
                    const uint32_t s = src[j];
                    const uint32_t d = dst[j];
                    // A multiplier of 256 leaves the channel as it is.
                    uint32_t r = (((s >> 16) & 0xFF) * mR) >> 8;
                    uint32_t g = (((s >> 8) & 0xFF) * mG) >> 8;
                    uint32_t b = ((s & 0xFF) * mB) >> 8;
                    if (sourceAlpha) {
                        const uint32_t sA = s >> 24;
                        r = (r * sA) >> 8;
                        g = (g * sA) >> 8;
                        b = (b * sA) >> 8;
                    }
                    dst[j] = (d & 0xFF000000u) |
                             (static_cast<uint32_t>(t[((d >> 16) & 0xFF) + r]) << 16) |
                             (static_cast<uint32_t>(t[((d >> 8) & 0xFF) + g]) << 8) |
                             t[(d & 0xFF) + b];
                }
            }
            i += length;
        }
    }
}

} // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, int)
{
    const Rect r = ClipToSize(rect, width, height);
    const uint32_t packed = color.PackARGB();
    const uint32_t sA = packed >> 24;
    // Alpha 0 changes nothing (and would divide by zero over transparent pixels).
    if (r.IsEmpty() || sA == 0) {
        return;
    }
    uint32_t* bits = GetPixels();
#if defined(ZORVA_HAVE_SSE2)
    const __m128i keep = _mm_set1_epi16(static_cast<short>(256 - sA));
    const __m128i sourcePart = _mm_unpacklo_epi8(
        _mm_set1_epi32(static_cast<int>(MixColor(0, packed, sA))), _mm_setzero_si128());
#endif
    for (int row = r.y; row < r.y + r.height; ++row) {
        uint32_t* line = bits + static_cast<std::size_t>(row) * width + r.x;
        if (sA == 255) {
            std::fill(line, line + r.width, packed);
            continue;
        }
        int i = 0;
#if defined(ZORVA_HAVE_SSE2)
        for (; i + 4 <= r.width; i += 4) {
            if (!FillFourOpaque(line + i, keep, sourcePart)) {
                for (int j = i; j < i + 4; ++j) {
                    line[j] = SourceOver(line[j], packed, sA);
                }
            }
        }
#endif
        for (; i < r.width; ++i) {
            line[i] = SourceOver(line[i], packed, sA);
        }
    }
    PixelsChanged();
}

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                           int drawMode)
{
    // Far beyond any image, and small enough that the step arithmetic below cannot overflow.
    static constexpr double kLimit = 1 << 28;
    const auto toInt = [](double v) {
        return static_cast<int64_t>(std::floor(std::clamp(v, -kLimit, kLimit)));
    };
    if (y1 == y2) {
        const int64_t x = toInt(std::min(x1, x2));
        const int64_t y = toInt(y1);
        const int64_t w = toInt(std::max(x1, x2)) - x + 1;
        FillRect(Rect(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w), 1),
                 color, drawMode);
        return;
    }
    if (x1 == x2) {
        const int64_t x = toInt(x1);
        const int64_t y = toInt(std::min(y1, y2));
        const int64_t h = toInt(std::max(y1, y2)) - y + 1;
        FillRect(Rect(static_cast<int32_t>(x), static_cast<int32_t>(y), 1, static_cast<int32_t>(h)),
                 color, drawMode);
        return;
    }
    if (drawMode != kDrawModeNormal && drawMode != kDrawModeAdditive) {
        return;
    }
    const uint32_t packed = color.PackARGB();
    const uint32_t a = packed >> 24;
    if (drawMode == kDrawModeNormal && a == 0) {
        return;
    }

    int64_t ax = toInt(x1);
    int64_t ay = toInt(y1);
    int64_t bx = toInt(x2);
    int64_t by = toInt(y2);
    const bool xMajor = std::llabs(bx - ax) >= std::llabs(by - ay);
    if ((xMajor && ax > bx) || (!xMajor && ay > by)) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const int64_t majorStart = xMajor ? ax : ay;
    const int64_t minorStart = xMajor ? ay : ax;
    const int64_t major = xMajor ? bx - ax : by - ay;
    const int64_t minorDelta = xMajor ? by - ay : bx - ax;
    const int64_t minor = std::llabs(minorDelta);
    const int64_t minorStep = minorDelta < 0 ? -1 : 1;
    const int64_t majorLimit = xMajor ? width : height;
    const int64_t minorLimit = xMajor ? height : width;

    // Steps before the image are skipped in closed form: after i steps the walk has made
    // ceil((2·minor·i − major) / (2·major)) minor steps.
    const int64_t first = std::max<int64_t>(0, -majorStart);
    const int64_t last = std::min<int64_t>(major, majorLimit - 1 - majorStart);
    if (first > last) {
        return;
    }
    const int64_t numerator = 2 * minor * first - major;
    int64_t k = numerator <= 0 ? 0 : (numerator + 2 * major - 1) / (2 * major);
    int64_t error = 2 * minor * (first + 1) - major - 2 * major * k;

    uint32_t* bits = GetPixels();
    const uint8_t* t = SaturationTable();
    const uint32_t cr = (packed >> 16) & 0xFF;
    const uint32_t cg = (packed >> 8) & 0xFF;
    const uint32_t cb = packed & 0xFF;
    const uint32_t add[3] = {a * cr / 255, a * cg / 255, a * cb / 255};
    const uint32_t premultiplied =
        (((a * cr + 128) >> 8) << 16) | (((a * cg + 128) >> 8) << 8) | ((a * cb + 128) >> 8);
    const uint32_t keep = 256 - a;

    for (int64_t i = first; i <= last; ++i) {
        const int64_t m = minorStart + minorStep * k;
        if (m < 0 || m >= minorLimit) {
            if ((minorStep > 0 && m >= minorLimit) || (minorStep < 0 && m < 0)) {
                break;
            }
        } else {
            const int64_t px = xMajor ? majorStart + i : m;
            const int64_t py = xMajor ? m : majorStart + i;
            uint32_t& pixel =
                bits[static_cast<std::size_t>(py) * width + static_cast<std::size_t>(px)];
            const uint32_t d = pixel;
            if (drawMode == kDrawModeAdditive) {
                pixel = 0xFF000000u |
                        (static_cast<uint32_t>(t[((d >> 16) & 0xFF) + add[0]]) << 16) |
                        (static_cast<uint32_t>(t[((d >> 8) & 0xFF) + add[1]]) << 8) |
                        t[(d & 0xFF) + add[2]];
            } else if (a == 255) {
                pixel = 0xFF000000u | (packed & 0xFFFFFFu);
            } else {
                const uint32_t r = ((((d >> 16) & 0xFF) * keep + 127) >> 8) << 16;
                const uint32_t g = ((((d >> 8) & 0xFF) * keep + 127) >> 8) << 8;
                const uint32_t b = ((d & 0xFF) * keep + 127) >> 8;
                pixel = 0xFF000000u | ((r | g | b) + premultiplied);
            }
        }
        if (error < 1) {
            error += 2 * minor;
        } else {
            ++k;
            error += 2 * (minor - major);
        }
    }
    PixelsChanged();
}

void MemoryImage::Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                       int drawMode)
{
    auto* src = dynamic_cast<MemoryImage*>(source);
    if (src == nullptr || (drawMode != kDrawModeNormal && drawMode != kDrawModeAdditive)) {
        return;
    }
    // Never read outside the source, never write outside this image.
    const Rect from = ClipToSize(sourceRect, src->width, src->height);
    if (from.IsEmpty()) {
        return;
    }
    const int64_t placedX = int64_t{x} + (from.x - sourceRect.x);
    const int64_t placedY = int64_t{y} + (from.y - sourceRect.y);
    if (placedX > width || placedY > height || placedX < -int64_t{from.width} ||
        placedY < -int64_t{from.height}) {
        return;
    }
    const Rect to = ClipToSize(
        Rect(static_cast<int32_t>(placedX), static_cast<int32_t>(placedY), from.width, from.height),
        width, height);
    if (to.IsEmpty()) {
        return;
    }
    BlitArea area;
    area.dx = to.x;
    area.dy = to.y;
    area.w = to.width;
    area.h = to.height;
    area.sx = static_cast<int>(from.x + (to.x - placedX));
    area.sy = static_cast<int>(from.y + (to.y - placedY));

    uint32_t* dstBits = GetPixels();
    if (drawMode == kDrawModeAdditive) {
        src->CommitPixels();
        const bool sourceAlpha = src->hasAlpha;
        const uint8_t* runs = src->GetAdditiveRuns(NativeFormat{});
        SourceRows rows(*src);
        BlitAdditive(dstBits, width, rows, runs, src->width, area, color, sourceAlpha);
    } else if (!color.IsWhite()) {
        SourceRows rows(*src);
        BlitGeneral(dstBits, width, rows, area, color);
    } else if (hasAlpha || hasTrans) {
        const uint8_t* runs = src->GetAlphaRuns();
        SourceRows rows(*src);
        BlitRunLengthOver(dstBits, width, rows, runs, src->width, area);
    } else {
        const uint8_t* runs = src->GetAlphaRuns();
        SourceRows rows(*src);
        BlitRunLength(dstBits, width, rows, runs, src->width, area);
    }
    PixelsChanged();
}

} // namespace Zorva
