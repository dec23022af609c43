#include "graphics/PolygonFill.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Zorva {

void FillPolygonSoftware(Image& destination, const FPoint* points, int count, const Rect& clip,
                         const Color& color, int drawMode, int tx, int ty)
{
    if (points == nullptr || count < 3) {
        return;
    }
    const Rect area = clip.Intersection(Rect(0, 0, destination.width, destination.height));
    if (area.IsEmpty()) {
        return;
    }
    std::vector<double> xs(static_cast<size_t>(count));
    std::vector<double> ys(static_cast<size_t>(count));
    double minY = 0;
    double maxY = 0;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) {
            return;
        }
        xs[static_cast<size_t>(i)] = static_cast<double>(points[i].x) + tx;
        ys[static_cast<size_t>(i)] = static_cast<double>(points[i].y) + ty;
        minY = i == 0 ? ys[0] : std::min(minY, ys[static_cast<size_t>(i)]);
        maxY = i == 0 ? ys[0] : std::max(maxY, ys[static_cast<size_t>(i)]);
    }
    // Rows whose centre y + 0.5 lies in [minY, maxY).
    const double firstRow = std::max<double>(area.y, std::ceil(minY - 0.5));
    const double lastRow = std::min<double>(area.y + area.height - 1, std::ceil(maxY - 0.5) - 1);
    if (firstRow > lastRow) {
        return;
    }

    std::vector<PixelSpan> spans;
    std::vector<double> crossings;
    const double left = area.x;
    const double right = static_cast<double>(area.x) + area.width;
    for (int y = static_cast<int>(firstRow); y <= static_cast<int>(lastRow); ++y) {
        const double sampleY = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const size_t a = static_cast<size_t>(i);
            const size_t b = static_cast<size_t>(i + 1 == count ? 0 : i + 1);
            const double y0 = ys[a];
            const double y1 = ys[b];
            // Half-open in y: a vertex on the scanline counts for exactly one of its edges.
            if ((y0 <= sampleY && sampleY < y1) || (y1 <= sampleY && sampleY < y0)) {
                crossings.push_back(xs[a] + (sampleY - y0) * (xs[b] - xs[a]) / (y1 - y0));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [start, end).
            const double start = std::max(left, std::ceil(crossings[i] - 0.5));
            const double end = std::min(right, std::ceil(crossings[i + 1] - 0.5));
            if (end > start) {
                spans.push_back(
                    PixelSpan{y, static_cast<int32_t>(start), static_cast<int32_t>(end - start)});
            }
        }
    }
    if (!spans.empty()) {
        destination.FillSpans(spans.data(), static_cast<int>(spans.size()), color, drawMode);
    }
}

} // namespace Zorva
