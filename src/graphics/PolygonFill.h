#pragma once

#include "graphics/Color.h"
#include "graphics/DrawTypes.h"
#include "graphics/Image.h"
#include "graphics/Rect.h"

namespace Zorva {

/// Fills a polygon in software, for destinations whose FillPolygon declines. The corners are
/// offset by (tx, ty); the interior follows the even-odd rule; a pixel is filled when its
/// centre lies inside (left and top boundaries inclusive, right and bottom exclusive, so
/// polygons sharing an edge neither overlap nor leave a gap). The result is handed to
/// destination.FillSpans as spans cut to the clip rect and the destination, at most one span
/// per pixel. Fewer than three corners, or any corner that is not finite, draws nothing.
void FillPolygonSoftware(Image& destination, const FPoint* points, int count, const Rect& clip,
                         const Color& color, int drawMode, int tx, int ty);

} // namespace Zorva
