#include "graphics/Graphics.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/PolygonFill.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

namespace Zorva {

namespace {

// Translated coordinates and sizes are kept within these bounds so that x + width never
// overflows 32 bits, whatever a caller passes.
constexpr int64_t kCoordinateLimit = int64_t{1} << 29;
constexpr int64_t kSizeLimit = int64_t{1} << 30;

Image& SharedEmptyImage()
{
    static Image emptyImage;
    return emptyImage;
}

int ClampCoordinate(double value)
{
    // Written so that NaN also ends at a bound.
    if (!(value > static_cast<double>(-kCoordinateLimit))) {
        return static_cast<int>(-kCoordinateLimit);
    }
    if (value > static_cast<double>(kCoordinateLimit)) {
        return static_cast<int>(kCoordinateLimit);
    }
    return static_cast<int>(value); // truncation toward zero
}

int ClampSize(int64_t size)
{
    return static_cast<int>(std::clamp(size, -kSizeLimit, kSizeLimit));
}

int SaturatedSum(int a, int64_t b)
{
    return static_cast<int>(std::clamp(int64_t{a} + b, int64_t{INT_MIN}, int64_t{INT_MAX}));
}

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

Rect WholeImage(const Image& image)
{
    return Rect(0, 0, image.GetWidth(), image.GetHeight());
}

bool IsDrawable(const Image* image)
{
    return image != nullptr && image->GetWidth() > 0 && image->GetHeight() > 0;
}

bool LiesWithin(const Rect& rect, const Image& image)
{
    return rect.x >= 0 && rect.y >= 0 && rect.width <= image.GetWidth() - rect.x &&
           rect.height <= image.GetHeight() - rect.y;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

int HexByte(char high, char low)
{
    return HexDigit(high) * 16 + HexDigit(low);
}

// Cuts the segment to the span low..high of its first coordinate (a = x or y), moving the
// other coordinate proportionally. False when the whole segment lies outside.
bool CutSegment(double& a1, double& b1, double& a2, double& b2, double low, double high)
{
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    if (a2 < low || a1 > high) {
        return false;
    }
    // a1 < low <= a2 and a1 <= high < a2 guarantee a non-zero divisor below.
    if (a1 < low) {
        b1 += (low - a1) * (b2 - b1) / (a2 - a1);
        a1 = low;
    }
    if (a2 > high) {
        b2 = b1 + (high - a1) * (b2 - b1) / (a2 - a1);
        a2 = high;
    }
    return true;
}

struct PieceRange
{
    int first = 0;
    int last = 0;
};

// The pieces of a row of `count` pieces `step` apart from `start` (context coordinates) that
// can reach the visible span low .. low + size (destination coordinates). The others would be
// clipped away whole, so a huge destination costs no more than its visible part.
PieceRange VisiblePieces(int start, int step, int count, float translation, int low, int size)
{
    if (count <= 0 || step <= 0 || size <= 0) {
        return {};
    }
    const double origin = static_cast<double>(start) + translation;
    // One piece of margin on each side covers the truncation of translated positions.
    const double first = std::floor((low - origin) / step) - 1;
    const double last = std::ceil((static_cast<double>(low) + size - origin) / step) + 1;
    const double limit = count;
    return {static_cast<int>(std::clamp(first, 0.0, limit)),
            static_cast<int>(std::clamp(last, 0.0, limit))};
}

} // namespace

Graphics::Graphics(Image* destination)
{
    destinationImage = destination != nullptr ? destination : &SharedEmptyImage();
    clipRect = WholeImage(*destinationImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other.GetState()) {}

std::unique_ptr<Graphics> Graphics::Duplicate() const
{
    return std::make_unique<Graphics>(*this);
}

void Graphics::SaveState()
{
    stateStack.push_back(GetState());
}

void Graphics::RestoreState()
{
    if (stateStack.empty()) {
        return;
    }
    static_cast<GraphicsState&>(*this) = stateStack.back();
    stateStack.pop_back();
}

void Graphics::Translate(float dx, float dy)
{
    translationX += dx;
    translationY += dy;
}

int Graphics::TranslateX(int x) const
{
    return ClampCoordinate(static_cast<double>(x) + static_cast<double>(translationX));
}

int Graphics::TranslateY(int y) const
{
    return ClampCoordinate(static_cast<double>(y) + static_cast<double>(translationY));
}

Rect Graphics::TranslatedRect(int x, int y, int w, int h) const
{
    return Rect(TranslateX(x), TranslateY(y), ClampSize(w), ClampSize(h));
}

void Graphics::SetClip(int x, int y, int w, int h)
{
    clipRect = TranslatedRect(x, y, w, h).Intersection(WholeImage(*destinationImage));
}

void Graphics::NarrowClip(int x, int y, int w, int h)
{
    clipRect = TranslatedRect(x, y, w, h).Intersection(clipRect);
}

void Graphics::ResetClip()
{
    clipRect = WholeImage(*destinationImage);
}

void Graphics::FillRect(int x, int y, int w, int h)
{
    if (color.alpha == 0) {
        return;
    }
    const Rect area = TranslatedRect(x, y, w, h).Intersection(clipRect);
    if (area.IsEmpty()) {
        return;
    }
    destinationImage->FillRect(area, color, drawMode);
}

void Graphics::DrawRect(int x, int y, int w, int h)
{
    // A negative size has no outline; the edge formulas below would still draw stray lines.
    if (color.alpha == 0 || w < 0 || h < 0) {
        return;
    }
    w = ClampSize(w);
    h = ClampSize(h);
    const Rect outline = TranslatedRect(x, y, w + 1, h + 1);
    if (Inside(outline, clipRect)) {
        destinationImage->DrawRect(Rect(outline.x, outline.y, w, h), color, drawMode);
        return;
    }
    FillRect(x, y, w + 1, 1);
    FillRect(x, SaturatedSum(y, h), w + 1, 1);
    FillRect(x, SaturatedSum(y, 1), 1, h - 1);
    FillRect(SaturatedSum(x, w), SaturatedSum(y, 1), 1, h - 1);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2)
{
    if (color.alpha == 0 || clipRect.IsEmpty()) {
        return;
    }
    double ax = static_cast<double>(x1) + translationX;
    double ay = static_cast<double>(y1) + translationY;
    double bx = static_cast<double>(x2) + translationX;
    double by = static_cast<double>(y2) + translationY;
    if (!CutSegment(ax, ay, bx, by, clipRect.x, clipRect.x + clipRect.width - 1.0)) {
        return;
    }
    if (!CutSegment(ay, ax, by, bx, clipRect.y, clipRect.y + clipRect.height - 1.0)) {
        return;
    }
    destinationImage->DrawLine(ax, ay, bx, by, color, drawMode);
}

void Graphics::FillPolygon(const FPoint* points, int count)
{
    if (points == nullptr || count < 3 || color.alpha == 0 || clipRect.IsEmpty()) {
        return;
    }
    const int tx = ClampCoordinate(translationX);
    const int ty = ClampCoordinate(translationY);
    if (!destinationImage->FillPolygon(points, count, clipRect, color, drawMode, tx, ty, false)) {
        FillPolygonSoftware(*destinationImage, points, count, clipRect, color, drawMode, tx, ty);
    }
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (!IsDrawable(image)) {
        return;
    }
    DrawImage(image, x, y, WholeImage(*image));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& sourceRect)
{
    if (!IsDrawable(image) || sourceRect.IsEmpty() || !LiesWithin(sourceRect, *image)) {
        return;
    }
    const Rect placed = TranslatedRect(x, y, sourceRect.width, sourceRect.height);
    const Rect visible = placed.Intersection(clipRect);
    if (visible.width < 1 || visible.height < 1) {
        return;
    }
    const Rect source(sourceRect.x + (visible.x - placed.x), sourceRect.y + (visible.y - placed.y),
                      visible.width, visible.height);
    destinationImage->Blit(image, visible.x, visible.y, source, ImageColor(), drawMode);
}

void Graphics::DrawImage(Image* image, int x, int y, int w, int h)
{
    if (!IsDrawable(image)) {
        return;
    }
    DrawImage(image, Rect(x, y, w, h), WholeImage(*image));
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& sourceRect)
{
    // A source rect beyond the image would make the stretch read outside its pixels.
    if (!IsDrawable(image) || sourceRect.IsEmpty() || !LiesWithin(sourceRect, *image)) {
        return;
    }
    const Rect placed = TranslatedRect(destRect.x, destRect.y, destRect.width, destRect.height);
    if (placed.Intersection(clipRect).IsEmpty()) {
        return;
    }
    destinationImage->BlitStretched(image, placed, sourceRect, clipRect, ImageColor(), drawMode,
                                    fastStretch);
}

void Graphics::DrawImageFloat(Image* image, float x, float y)
{
    if (!IsDrawable(image) || clipRect.IsEmpty()) {
        return;
    }
    destinationImage->BlitFloat(image, x + translationX, y + translationY, WholeImage(*image),
                                clipRect, ImageColor(), drawMode);
}

void Graphics::DrawImageRotated(Image* image, float x, float y, double angle)
{
    if (!IsDrawable(image)) {
        return;
    }
    DrawImageRotated(image, x, y, angle, static_cast<float>(image->GetWidth() / 2),
                     static_cast<float>(image->GetHeight() / 2));
}

void Graphics::DrawImageRotated(Image* image, float x, float y, double angle, float centerX,
                                float centerY)
{
    if (!IsDrawable(image) || clipRect.IsEmpty()) {
        return;
    }
    destinationImage->BlitRotated(image, x + translationX, y + translationY, WholeImage(*image),
                                  clipRect, ImageColor(), drawMode, angle, centerX, centerY);
}

void Graphics::DrawImageCell(Image* image, int x, int y, int cel)
{
    if (!IsDrawable(image) || image->numRows < 1 || image->numCols < 1 || cel < 0 ||
        cel >= image->GetCellCount()) {
        return;
    }
    DrawImage(image, x, y, image->GetCellRect(cel / image->numCols, cel % image->numCols));
}

void Graphics::DrawImageNineSlice(Image* image, const Rect& destRect)
{
    if (!IsDrawable(image)) {
        return;
    }
    DrawImageNineSlice(image, destRect, WholeImage(*image));
}

void Graphics::DrawImageNineSlice(Image* image, const Rect& destRect, const Rect& sourceRect)
{
    if (!IsDrawable(image) || sourceRect.IsEmpty() || !LiesWithin(sourceRect, *image)) {
        return;
    }
    const int sx = sourceRect.x;
    const int sy = sourceRect.y;
    const int sw = sourceRect.width;
    const int sh = sourceRect.height;
    const int cw = sw / 3;
    const int ch = sh / 3;
    const int mw = sw - 2 * cw;
    const int mh = sh - 2 * ch;
    const int dx = destRect.x;
    const int dy = destRect.y;
    const int dw = ClampSize(destRect.width);
    const int dh = ClampSize(destRect.height);
    const int right = dx + dw - cw;
    const int bottom = dy + dh - ch;

    DrawImage(image, dx, dy, Rect(sx, sy, cw, ch));
    DrawImage(image, right, dy, Rect(sx + sw - cw, sy, cw, ch));
    DrawImage(image, dx, bottom, Rect(sx, sy + sh - ch, cw, ch));
    DrawImage(image, right, bottom, Rect(sx + sw - cw, sy + sh - ch, cw, ch));

    // Pieces are repeated across each band; the band's clip cuts the last one.
    const int columns = (dw - 2 * cw + mw - 1) / mw;
    const int rows = (dh - 2 * ch + mh - 1) / mh;

    Graphics horizontal(*this);
    horizontal.NarrowClip(dx + cw, dy, dw - 2 * cw, dh);
    const Rect& band = horizontal.clipRect;
    const PieceRange across = VisiblePieces(dx + cw, mw, columns, translationX, band.x, band.width);
    for (int i = across.first; i < across.last; ++i) {
        const int px = dx + cw + i * mw;
        horizontal.DrawImage(image, px, dy, Rect(sx + cw, sy, mw, ch));
        horizontal.DrawImage(image, px, bottom, Rect(sx + cw, sy + sh - ch, mw, ch));
    }

    Graphics vertical(*this);
    vertical.NarrowClip(dx, dy + ch, dw, dh - 2 * ch);
    const Rect& column = vertical.clipRect;
    const PieceRange down = VisiblePieces(dy + ch, mh, rows, translationY, column.y, column.height);
    for (int j = down.first; j < down.last; ++j) {
        const int py = dy + ch + j * mh;
        vertical.DrawImage(image, dx, py, Rect(sx, sy + ch, cw, mh));
        vertical.DrawImage(image, right, py, Rect(sx + sw - cw, sy + ch, cw, mh));
    }

    Graphics centre(*this);
    centre.NarrowClip(dx + cw, dy + ch, dw - 2 * cw, dh - 2 * ch);
    const Rect& middle = centre.clipRect;
    const PieceRange middleAcross =
        VisiblePieces(dx + cw, mw, columns, translationX, middle.x, middle.width);
    const PieceRange middleDown =
        VisiblePieces(dy + ch, mh, rows, translationY, middle.y, middle.height);
    for (int j = middleDown.first; j < middleDown.last; ++j) {
        for (int i = middleAcross.first; i < middleAcross.last; ++i) {
            centre.DrawImage(image, dx + cw + i * mw, dy + ch + j * mh,
                             Rect(sx + cw, sy + ch, mw, mh));
        }
    }
}

void Graphics::DrawText(const std::string& text, int x, int y)
{
    if (font == nullptr) {
        return;
    }
    font->DrawText(this, x, y, text, color, clipRect);
}

int Graphics::DrawTextLine(const std::string& text, int x, int y, int width, int justification,
                           bool draw, int first, int length)
{
    if (font == nullptr) {
        return 0;
    }
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const int begin = std::clamp(first, 0, size);
    const int end = length < 0 ? size : begin + std::min(length, size - begin);

    if (draw && (justification == 0 || justification == 1)) {
        const int measured = DrawTextLine(text, x, y, width, -1, false, first, length);
        x += justification == 0 ? (width - measured) / 2 : width - measured;
    }

    int offset = 0;
    std::string run;
    const auto flushRun = [&] {
        if (run.empty()) {
            return;
        }
        if (draw) {
            DrawText(run, x + offset, y);
        }
        offset += font->TextWidth(run);
        run.clear();
    };

    int i = begin;
    while (i < end) {
        const char c = text[static_cast<size_t>(i)];
        if (!colorCodes || c != '^') {
            run += c;
            ++i;
            continue;
        }
        if (i + 1 < end && text[static_cast<size_t>(i) + 1] == '^') {
            run += '^';
            i += 2;
            continue;
        }
        if (end - i < 8) {
            break;
        }
        flushRun();
        // A measuring pass leaves the colour alone, so that the drawing pass that follows it
        // starts from the caller's colour.
        if (draw) {
            const char* digits = text.data() + i + 1;
            color = Color(HexByte(digits[0], digits[1]), HexByte(digits[2], digits[3]),
                          HexByte(digits[4], digits[5]), color.alpha);
        }
        i += 8;
    }
    flushRun();
    return offset;
}

int Graphics::DrawWrappedText(const Rect& rect, const std::string& givenText, int lineSpacing,
                              int justification, int* widestLine)
{
    // Fonts have no tab glyph: a tab is a blank, both where lines break and on screen, so
    // words joined by tabs do not run together.
    std::string text = givenText;
    std::replace(text.begin(), text.end(), '\t', ' ');

    if (widestLine != nullptr) {
        *widestLine = 0;
    }
    if (font == nullptr) {
        return 0;
    }
    const Color savedColor = color;
    const int spacing = lineSpacing == -1 ? font->GetLineSpacing() : lineSpacing;
    int baseline = font->GetAscent() - font->GetAscentPadding();
    int widest = 0;

    const auto drawLine = [&](size_t from, size_t to) {
        const int lineWidth = DrawTextLine(text.substr(from, to - from), rect.x, rect.y + baseline,
                                           rect.width, justification, true);
        widest = std::max(widest, lineWidth);
        baseline += spacing;
    };

    const size_t size = text.size();
    size_t lineStart = 0;
    size_t i = 0;
    bool blankSeen = false;
    size_t lastBlank = 0;
    int lineWidth = 0;
    int charsInLine = 0;
    char previous = 0;
    const auto startLine = [&](size_t at) {
        lineStart = at;
        i = at;
        blankSeen = false;
        lineWidth = 0;
        charsInLine = 0;
        previous = 0;
    };

    while (i < size) {
        // A character unit is one character, or a doubled caret standing for one caret; a
        // break never falls inside it.
        const size_t unitStart = i;
        char c = text[i];
        if (colorCodes && c == '^') {
            if (i + 1 < size && text[i + 1] == '^') {
                ++i;
            } else {
                i = std::min(size, i + 8);
                continue;
            }
        }
        if (c == '\n') {
            drawLine(lineStart, unitStart);
            startLine(i + 1);
            continue;
        }
        if (c == ' ') {
            blankSeen = true;
            lastBlank = unitStart;
        }
        lineWidth += font->CharWidthAfter(c, previous);
        previous = c;
        if (lineWidth > rect.width && charsInLine > 0) {
            if (!blankSeen) {
                drawLine(lineStart, unitStart);
                startLine(unitStart);
            } else {
                drawLine(lineStart, lastBlank);
                size_t next = lastBlank + 1;
                while (next < size && text[next] == ' ') {
                    ++next;
                }
                startLine(next);
            }
            continue;
        }
        ++charsInLine;
        ++i;
    }
    drawLine(lineStart, size);

    color = savedColor;
    if (widestLine != nullptr) {
        *widestLine = widest;
    }
    return baseline + font->GetDescent() - spacing;
}

int Graphics::MeasureWrappedText(Font* font, int width, const std::string& text)
{
    Graphics measuring(nullptr);
    measuring.SetFont(font);
    return measuring.DrawWrappedText(Rect(0, 0, width, 0), text);
}

} // namespace Zorva
