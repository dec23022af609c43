#pragma once

#include "graphics/AnimInfo.h"
#include "graphics/Color.h"
#include "graphics/DrawMode.h"
#include "graphics/DrawTypes.h"
#include "graphics/Rect.h"

#include <memory>

namespace Zorva {

/// A picture: its size, its grid of equal cells, an optional animation, and the drawing
/// interface every destination provides. Coordinates reaching these operations are already
/// translated and clipped by the drawing context. The base versions draw nothing.
class Image
{
public:
    Image() = default;
    Image(const Image& other);
    Image& operator=(const Image& other);
    virtual ~Image() = default;

    /// False: the caller fills the polygon in software (see Graphics).
    virtual bool FillPolygon(const FPoint* points, int count, const Rect& clip, const Color& color,
                             int drawMode, int tx, int ty, bool convex);
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    /// The outline of (x, y, width + 1, height + 1) as four FillRects.
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                          int drawMode);
    /// One FillRect per span.
    virtual void FillSpans(const PixelSpan* spans, int count, const Color& color, int drawMode);
    virtual void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                      int drawMode);
    virtual void BlitFloat(Image* source, float x, float y, const Rect& sourceRect,
                           const Rect& clip, const Color& color, int drawMode);
    virtual void BlitRotated(Image* source, float x, float y, const Rect& sourceRect,
                             const Rect& clip, const Color& color, int drawMode, double angle,
                             float centerX, float centerY);
    virtual void BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect,
                               const Rect& clip, const Color& color, int drawMode,
                               bool fastStretch);
    virtual void BlitTransformed(Image* source, float x, float y, const Matrix3& matrix,
                                 const Rect& clip, const Color& color, int drawMode,
                                 const Rect& sourceRect, bool blend);
    virtual void BlitTriangles(Image* source, const Triangle* triangles, int count,
                               const Rect& clip, const Color& color, int drawMode, float tx,
                               float ty, bool blend);
    virtual void BlitMirrored(Image* source, int x, int y, const Rect& sourceRect,
                              const Color& color, int drawMode);
    virtual void BlitStretchedMirrored(Image* source, const Rect& destRect, const Rect& sourceRect,
                                       const Rect& clip, const Color& color, int drawMode,
                                       bool fastStretch);

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetCellWidth() const { return numCols > 0 ? width / numCols : width; }
    int GetCellHeight() const { return numRows > 0 ? height / numRows : height; }
    /// The rect of cell (row, column).
    Rect GetCellRect(int row, int column) const;
    int GetCellCount() const { return numRows * numCols; }

    int32_t width = 0;
    int32_t height = 0;
    int32_t numRows = 1;
    int32_t numCols = 1;
    /// Owned; deep-copied with the image.
    std::unique_ptr<AnimInfo> animInfo;
};

} // namespace Zorva
