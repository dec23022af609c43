#pragma once

#include "graphics/Color.h"
#include "graphics/DrawTypes.h"
#include "graphics/GraphicsState.h"
#include "graphics/Rect.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorva {

class Font;
class Image;

/// The drawing context handed to every draw routine: it translates and clips each request
/// and passes it to the destination image's drawing interface; it draws nothing itself.
/// A stack of saved states lets a routine change translation, clip or colour and put them
/// back. The destination image and the font must outlive the context.
class Graphics : protected GraphicsState
{
public:
    /// A null image is replaced by a shared empty image, on which nothing is ever drawn.
    explicit Graphics(Image* destination = nullptr);
    /// Copies the other context's current state; the new context's stack starts empty.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics() = default;

    /// A heap copy of the current state (without the stack).
    std::unique_ptr<Graphics> Duplicate() const;

    void SaveState();
    /// Returns to the last saved state; with nothing saved, nothing changes.
    void RestoreState();

    const GraphicsState& GetState() const { return *this; }
    Image* GetDestinationImage() const { return destinationImage; }

    void SetFont(Font* newFont) { font = newFont; }
    Font* GetFont() const { return font; }
    void SetColor(const Color& newColor) { color = newColor; }
    const Color& GetColor() const { return color; }
    void SetDrawMode(int mode) { drawMode = mode; }
    int GetDrawMode() const { return drawMode; }
    void SetModulateImages(bool on) { modulateImages = on; }
    bool GetModulateImages() const { return modulateImages; }
    void SetFastStretch(bool on) { fastStretch = on; }
    bool GetFastStretch() const { return fastStretch; }
    void SetLinearBlend(bool on) { linearBlend = on; }
    bool GetLinearBlend() const { return linearBlend; }
    /// For text whose carets are literal (typed by the player).
    void SetColorCodes(bool on) { colorCodes = on; }
    bool GetColorCodes() const { return colorCodes; }

    void Translate(float dx, float dy);
    float GetTranslationX() const { return translationX; }
    float GetTranslationY() const { return translationY; }

    /// Clip to (x, y, w, h) in context coordinates, cut to the destination image.
    void SetClip(int x, int y, int w, int h);
    /// Clip to the overlap of (x, y, w, h) and the current clip.
    void NarrowClip(int x, int y, int w, int h);
    void ResetClip();
    /// In destination coordinates.
    const Rect& GetClipRect() const { return clipRect; }

    void FillRect(int x, int y, int w, int h);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    /// The outline of (x, y, w + 1, h + 1).
    void DrawRect(int x, int y, int w, int h);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    void DrawLine(int x1, int y1, int x2, int y2);
    /// Fills a polygon in context coordinates; the image may do it itself, else it is
    /// filled in software.
    void FillPolygon(const FPoint* points, int count);

    void DrawImage(Image* image, int x, int y);
    /// Draws `sourceRect` of the image; nothing if that rect reaches beyond the image.
    void DrawImage(Image* image, int x, int y, const Rect& sourceRect);
    /// The whole image stretched to w x h.
    void DrawImage(Image* image, int x, int y, int w, int h);
    /// `sourceRect` of the image stretched to `destRect`.
    void DrawImage(Image* image, const Rect& destRect, const Rect& sourceRect);
    /// The whole image at a position that is not rounded.
    void DrawImageFloat(Image* image, float x, float y);
    /// The whole image rotated by `angle` (radians) about the image centre.
    void DrawImageRotated(Image* image, float x, float y, double angle);
    /// The whole image rotated about (centerX, centerY), relative to the image.
    void DrawImageRotated(Image* image, float x, float y, double angle, float centerX,
                          float centerY);
    /// Cell `cel` of the image's grid, counted row by row; nothing outside the grid.
    void DrawImageCell(Image* image, int x, int y, int cel);
    /// Corners kept, edges and centre tiled to fill `destRect`.
    void DrawImageNineSlice(Image* image, const Rect& destRect);
    /// As above with the pieces cut from `sourceRect` of the image.
    void DrawImageNineSlice(Image* image, const Rect& destRect, const Rect& sourceRect);

    /// Text with its baseline at y; nothing without a font.
    void DrawText(const std::string& text, int x, int y);
    /// One line of text within a field `width` wide: justification 0 centres, 1 aligns
    /// right, anything else aligns left. Colour codes (caret + RRGGBB + one character) set the
    /// colour of what follows; a doubled caret is one caret. Draws only when `draw` is set
    /// and measures characters first..first+length (negative length: to the end). Returns
    /// the width of the line.
    int DrawTextLine(const std::string& text, int x, int y, int width, int justification,
                     bool draw = true, int first = 0, int length = -1);
    /// Text broken into lines that fit `rect.width`; line spacing -1 is the font's. Returns
    /// the height of the block; `widestLine` (if given) receives the widest line's width.
    int DrawWrappedText(const Rect& rect, const std::string& text, int lineSpacing = -1,
                        int justification = -1, int* widestLine = nullptr);
    /// The height DrawWrappedText would return for `text` in a field `width` wide.
    static int MeasureWrappedText(Font* font, int width, const std::string& text);

private:
    /// (x, y, w, h) translated into destination coordinates, kept clear of int overflow.
    Rect TranslatedRect(int x, int y, int w, int h) const;
    int TranslateX(int x) const;
    int TranslateY(int y) const;
    /// The modulation colour for images.
    Color ImageColor() const { return modulateImages ? color : Color::kWhite; }

    std::vector<GraphicsState> stateStack;
};

} // namespace Zorva
