#include "graphics/TriangleRasterizer.h"

#include "graphics/DrawMode.h"
#include "graphics/MemoryImage.h"
#include "graphics/SaturationTable.h"
#include "system/IntegerMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Zorva {

namespace {

/// Vertex positions are snapped to 1/256 pixel; the edge functions then stay exact in 64 bits.
constexpr int kSubBits = 8;
constexpr int64_t kSub = int64_t{1} << kSubBits;
/// Beyond a million pixels a coordinate is treated as garbage rather than risk overflow.
constexpr double kCoordinateLimit = 1 << 20;

/// An edge function E(px, py) = a * px + b * py + c over fixed-point coordinates, positive
/// inside; bias makes the test strict on edges that are neither top nor left.
struct Edge
{
    int64_t a = 0;
    int64_t b = 0;
    int64_t c = 0;
    int64_t bias = 0;
};

Edge MakeEdge(int64_t xp, int64_t yp, int64_t xq, int64_t yq)
{
    const int64_t dx = xq - xp;
    const int64_t dy = yq - yp;
    Edge edge;
    edge.a = -dy;
    edge.b = dx;
    edge.c = dy * xp - dx * yp;
    const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
    edge.bias = topLeft ? 0 : -1;
    return edge;
}

int64_t ToFixed16(double value)
{
    return static_cast<int64_t>(std::llround(std::clamp(value, -1.0e9, 1.0e9) * 65536.0));
}

} // namespace

/// Interpolants along one span in 16.16 fixed point.
struct TriangleRasterizer::SpanSetup
{
    int64_t s = 0;
    int64_t t = 0;
    int64_t ds = 0;
    int64_t dt = 0;
    /// Red, green, blue, alpha of the modulating colour, 0..255 in 16.16.
    int64_t channel[4] = {};
    int64_t dChannel[4] = {};
    bool modulate = false;
};

TriangleRasterizer::TriangleRasterizer(MemoryImage& destination, const Texture& newTexture,
                                       int destFormat, const Rect& clip, const Color& newColor,
                                       int newDrawMode, bool newBlend)
    : texture(newTexture), format(destFormat), color(newColor), drawMode(newDrawMode),
      blend(newBlend)
{
    if (destination.width > 0 && destination.height > 0) {
        pixels = destination.GetPixels();
        destWidth = destination.width;
        destHeight = destination.height;
    }
    clipRect = clip.Intersection(Rect(0, 0, destWidth, destHeight));
    this->texture.bounds =
        newTexture.bounds.Intersection(Rect(0, 0, newTexture.width, newTexture.height));
}

void TriangleRasterizer::DrawTriangle(const TriVertex& a, const TriVertex& b, const TriVertex& c)
{
    if (pixels == nullptr || clipRect.IsEmpty() || texture.pixels == nullptr ||
        texture.bounds.IsEmpty() ||
        (drawMode != kDrawModeNormal && drawMode != kDrawModeAdditive)) {
        return;
    }
    const TriVertex* v[3] = {&a, &b, &c};
    for (const TriVertex* vertex : v) {
        if (!std::isfinite(vertex->x) || !std::isfinite(vertex->y) || !std::isfinite(vertex->u) ||
            !std::isfinite(vertex->v) || std::fabs(vertex->x) > kCoordinateLimit ||
            std::fabs(vertex->y) > kCoordinateLimit) {
            return;
        }
    }
    int64_t px[3];
    int64_t py[3];
    for (int k = 0; k < 3; ++k) {
        px[k] = std::llround(static_cast<double>(v[k]->x) * kSub);
        py[k] = std::llround(static_cast<double>(v[k]->y) * kSub);
    }
    int64_t area = (px[1] - px[0]) * (py[2] - py[0]) - (py[1] - py[0]) * (px[2] - px[0]);
    if (area == 0) {
        return;
    }
    if (area < 0) {
        std::swap(v[1], v[2]);
        std::swap(px[1], px[2]);
        std::swap(py[1], py[2]);
        area = -area;
    }
    // Edge k lies opposite vertex k, so E_k / area is vertex k's barycentric weight.
    const Edge edges[3] = {MakeEdge(px[1], py[1], px[2], py[2]),
                           MakeEdge(px[2], py[2], px[0], py[0]),
                           MakeEdge(px[0], py[0], px[1], py[1])};

    const int64_t minX = std::min({px[0], px[1], px[2]});
    const int64_t maxX = std::max({px[0], px[1], px[2]});
    const int64_t minY = std::min({py[0], py[1], py[2]});
    const int64_t maxY = std::max({py[0], py[1], py[2]});
    const int64_t left = std::max<int64_t>(CeilDiv(minX, kSub), clipRect.x);
    const int64_t right = std::min<int64_t>(FloorDiv(maxX, kSub), clipRect.x + clipRect.width - 1);
    const int64_t top = std::max<int64_t>(CeilDiv(minY, kSub), clipRect.y);
    const int64_t bottom =
        std::min<int64_t>(FloorDiv(maxY, kSub), clipRect.y + clipRect.height - 1);
    if (left > right || top > bottom) {
        return;
    }

    // Texel space: bilinear samples are taken around texel centres.
    const double half = blend ? 0.5 : 0.0;
    double s[3];
    double t[3];
    double channel[3][4];
    const bool perVertex = a.color != 0 || b.color != 0 || c.color != 0;
    for (int k = 0; k < 3; ++k) {
        s[k] = static_cast<double>(v[k]->u) * texture.width - half;
        t[k] = static_cast<double>(v[k]->v) * texture.height - half;
        const Color vertexColor = perVertex ? Color::FromARGB(v[k]->color) : color;
        channel[k][0] = vertexColor.red;
        channel[k][1] = vertexColor.green;
        channel[k][2] = vertexColor.blue;
        channel[k][3] = vertexColor.alpha;
    }
    const bool uniformColor = !perVertex || (a.color == b.color && b.color == c.color);
    const Color first = perVertex ? Color::FromARGB(a.color) : color;

    const double invArea = 1.0 / static_cast<double>(area);
    // Barycentric weights change by a * kSub / area per pixel step in x.
    double dLambda[3];
    for (int k = 0; k < 3; ++k) {
        dLambda[k] = static_cast<double>(edges[k].a) * kSub * invArea;
    }
    auto gradient = [&](const double(&q)[3]) {
        return q[0] * dLambda[0] + q[1] * dLambda[1] + q[2] * dLambda[2];
    };
    const double dsdx = gradient(s);
    const double dtdx = gradient(t);

    const int64_t width = right - left;
    for (int64_t y = top; y <= bottom; ++y) {
        int64_t lo = 0;
        int64_t hi = width;
        int64_t value[3];
        for (int k = 0; k < 3 && lo <= hi; ++k) {
            const Edge& edge = edges[k];
            value[k] = edge.a * left * kSub + edge.b * y * kSub + edge.c;
            const int64_t e = value[k] + edge.bias;
            const int64_t step = edge.a * kSub;
            if (step > 0) {
                lo = std::max(lo, CeilDiv(-e, step));
            } else if (step < 0) {
                hi = std::min(hi, FloorDiv(e, -step));
            } else if (e < 0) {
                hi = -1;
            }
        }
        if (lo > hi) {
            continue;
        }
        double lambda[3];
        for (int k = 0; k < 3; ++k) {
            lambda[k] =
                (static_cast<double>(value[k]) + static_cast<double>(edges[k].a * kSub) * lo) *
                invArea;
        }
        auto at = [&](const double(&q)[3]) {
            return q[0] * lambda[0] + q[1] * lambda[1] + q[2] * lambda[2];
        };
        SpanSetup setup;
        setup.s = ToFixed16(at(s));
        setup.t = ToFixed16(at(t));
        setup.ds = ToFixed16(dsdx);
        setup.dt = ToFixed16(dtdx);
        if (uniformColor) {
            const int32_t constant[4] = {first.red, first.green, first.blue, first.alpha};
            for (int ch = 0; ch < 4; ++ch) {
                setup.channel[ch] = int64_t{std::clamp(constant[ch], 0, 255)} << 16;
            }
            setup.modulate = !first.IsWhite();
        } else {
            for (int ch = 0; ch < 4; ++ch) {
                const double q[3] = {channel[0][ch], channel[1][ch], channel[2][ch]};
                setup.channel[ch] = ToFixed16(at(q));
                setup.dChannel[ch] = ToFixed16(gradient(q));
            }
            setup.modulate = true;
        }
        DrawSpan(static_cast<int>(y), static_cast<int>(left + lo), static_cast<int>(left + hi),
                 setup);
    }
}

void TriangleRasterizer::DrawSpan(int y, int x0, int x1, const SpanSetup& setup)
{
    const uint8_t* saturate = SaturationTable();
    const uint32_t* tex = texture.pixels;
    const int texWidth = texture.width;
    const int bx0 = texture.bounds.x;
    const int bx1 = texture.bounds.x + texture.bounds.width - 1;
    const int by0 = texture.bounds.y;
    const int by1 = texture.bounds.y + texture.bounds.height - 1;
    const bool additive = drawMode == kDrawModeAdditive;
    const bool withAlpha = format == kRasterFormat8888;

    int64_t s = setup.s;
    int64_t t = setup.t;
    int64_t channel[4] = {setup.channel[0], setup.channel[1], setup.channel[2], setup.channel[3]};
    uint32_t* row = pixels + static_cast<int64_t>(y) * destWidth;
    for (int x = x0; x <= x1; ++x) {
        // Premultiplied sample: red, green, blue as channel * coverage (0..65280) and the
        // coverage 0..256.
        uint32_t sample[3];
        uint32_t coverage;
        const int64_t sx = s >> 16;
        const int64_t sy = t >> 16;
        if (blend) {
            const uint32_t fx = static_cast<uint32_t>((s >> 8) & 0xFF);
            const uint32_t fy = static_cast<uint32_t>((t >> 8) & 0xFF);
            const int xa = static_cast<int>(std::clamp<int64_t>(sx, bx0, bx1));
            const int xb = static_cast<int>(std::clamp<int64_t>(sx + 1, bx0, bx1));
            const int ya = static_cast<int>(std::clamp<int64_t>(sy, by0, by1));
            const int yb = static_cast<int>(std::clamp<int64_t>(sy + 1, by0, by1));
            const uint32_t texel[4] = {tex[static_cast<int64_t>(ya) * texWidth + xa],
                                       tex[static_cast<int64_t>(ya) * texWidth + xb],
                                       tex[static_cast<int64_t>(yb) * texWidth + xa],
                                       tex[static_cast<int64_t>(yb) * texWidth + xb]};
            const uint32_t weight[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy,
                                        fx * fy};
            uint32_t sum = 0;
            uint32_t r = 0;
            uint32_t g = 0;
            uint32_t b = 0;
            for (int k = 0; k < 4; ++k) {
                const uint32_t alpha = texel[k] >> 24;
                const uint32_t w = (weight[k] * (alpha + (alpha >> 7))) >> 8;
                sum += w;
                r += ((texel[k] >> 16) & 0xFF) * w;
                g += ((texel[k] >> 8) & 0xFF) * w;
                b += (texel[k] & 0xFF) * w;
            }
            coverage = sum >> 8;
            sample[0] = r >> 8;
            sample[1] = g >> 8;
            sample[2] = b >> 8;
        } else {
            const int xa = static_cast<int>(std::clamp<int64_t>(sx, bx0, bx1));
            const int ya = static_cast<int>(std::clamp<int64_t>(sy, by0, by1));
            const uint32_t texel = tex[static_cast<int64_t>(ya) * texWidth + xa];
            const uint32_t alpha = texel >> 24;
            coverage = alpha + (alpha >> 7);
            sample[0] = ((texel >> 16) & 0xFF) * coverage;
            sample[1] = ((texel >> 8) & 0xFF) * coverage;
            sample[2] = (texel & 0xFF) * coverage;
        }
        if (setup.modulate) {
            uint64_t k[4];
            for (int ch = 0; ch < 4; ++ch) {
                const auto value =
                    static_cast<uint64_t>(std::clamp<int64_t>(channel[ch] >> 16, 0, 255));
                k[ch] = value + (value >> 7);
                channel[ch] += setup.dChannel[ch];
            }
            coverage = static_cast<uint32_t>((coverage * k[3]) >> 8);
            for (int ch = 0; ch < 3; ++ch) {
                sample[ch] = static_cast<uint32_t>((sample[ch] * k[ch] * k[3]) >> 16);
            }
        }
        s += setup.ds;
        t += setup.dt;
        if (coverage == 0) {
            continue;
        }

        const uint32_t d = row[x];
        const uint32_t dest[3] = {(d >> 16) & 0xFF, (d >> 8) & 0xFF, d & 0xFF};
        const uint32_t destAlpha = d >> 24;
        uint32_t out[3];
        uint32_t outAlpha = destAlpha;
        if (additive) {
            for (int ch = 0; ch < 3; ++ch) {
                out[ch] = saturate[dest[ch] + (sample[ch] >> 8)];
            }
        } else if (!withAlpha || destAlpha == 255) {
            for (int ch = 0; ch < 3; ++ch) {
                out[ch] = std::min<uint32_t>(255, (sample[ch] + dest[ch] * (256 - coverage)) >> 8);
            }
            if (withAlpha) {
                outAlpha = 255;
            }
        } else {
            // Both alphas on the 0..256 scale; the division undoes the premultiplication.
            const uint32_t remaining = ((destAlpha + (destAlpha >> 7)) * (256 - coverage)) >> 8;
            const uint32_t total = coverage + remaining;
            if (total == 0) {
                continue;
            }
            for (int ch = 0; ch < 3; ++ch) {
                out[ch] = std::min<uint32_t>(255, (sample[ch] + dest[ch] * remaining) / total);
            }
            outAlpha = total - (total >> 8);
        }
        row[x] = (outAlpha << 24) | (out[0] << 16) | (out[1] << 8) | out[2];
    }
}

} // namespace Zorva
