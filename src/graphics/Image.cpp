#include "graphics/Image.h"

namespace Zorva {

Image::Image(const Image& other)
    : width(other.width), height(other.height), numRows(other.numRows), numCols(other.numCols),
      animInfo(other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr)
{}

Image& Image::operator=(const Image& other)
{
    if (this != &other) {
        width = other.width;
        height = other.height;
        numRows = other.numRows;
        numCols = other.numCols;
        animInfo = other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr;
    }
    return *this;
}

Rect Image::GetCellRect(int row, int column) const
{
    const int cellWidth = GetCellWidth();
    const int cellHeight = GetCellHeight();
    return Rect(column * cellWidth, row * cellHeight, cellWidth, cellHeight);
}

bool Image::FillPolygon(const FPoint*, int, const Rect&, const Color&, int, int, int, bool)
{
    return false;
}

void Image::FillRect(const Rect&, const Color&, int) {}

void Image::DrawRect(const Rect& rect, const Color& color, int drawMode)
{
    FillRect(Rect(rect.x, rect.y, rect.width + 1, 1), color, drawMode);
    FillRect(Rect(rect.x, rect.y + rect.height, rect.width + 1, 1), color, drawMode);
    FillRect(Rect(rect.x, rect.y + 1, 1, rect.height - 1), color, drawMode);
    FillRect(Rect(rect.x + rect.width, rect.y + 1, 1, rect.height - 1), color, drawMode);
}

void Image::ClearRect(const Rect&) {}

void Image::DrawLine(double, double, double, double, const Color&, int) {}

void Image::FillSpans(const PixelSpan* spans, int count, const Color& color, int drawMode)
{
    for (int i = 0; i < count; ++i) {
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, drawMode);
    }
}

void Image::Blit(Image*, int, int, const Rect&, const Color&, int) {}

void Image::BlitFloat(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}

void Image::BlitRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int, double,
                        float, float)
{}

void Image::BlitStretched(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

void Image::BlitTransformed(Image*, float, float, const Matrix3&, const Rect&, const Color&, int,
                            const Rect&, bool)
{}

void Image::BlitTriangles(Image*, const Triangle*, int, const Rect&, const Color&, int, float,
                          float, bool)
{}

void Image::BlitMirrored(Image*, int, int, const Rect&, const Color&, int) {}

void Image::BlitStretchedMirrored(Image*, const Rect&, const Rect&, const Rect&, const Color&, int,
                                  bool)
{}

} // namespace Zorva
