#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <memory>
#include <string>

namespace Zorva {

class Graphics;

/// The font interface of the drawing context and the widgets: metrics, measuring and
/// drawing 8-bit text. ImageFont and SysFont implement it.
class Font
{
public:
    virtual ~Font() = default;

    virtual int GetAscent() const { return ascent; }
    virtual int GetAscentPadding() const { return ascentPadding; }
    virtual int GetDescent() const { return height - ascent; }
    virtual int GetHeight() const { return height; }
    virtual int GetLineSpacingOffset() const { return lineSpacingOffset; }
    virtual int GetLineSpacing() const { return height + lineSpacingOffset; }
    virtual int TextWidth(const std::string& text);
    virtual int CharWidth(char c);
    /// The width `c` adds after `previous` (kerning included).
    virtual int CharWidthAfter(char c, char previous);
    /// Draws `text` with its baseline at y, clipped to `clip` (destination coordinates).
    virtual void DrawText(Graphics* context, int x, int y, const std::string& text,
                          const Color& color, const Rect& clip);
    virtual std::unique_ptr<Font> Duplicate() const = 0;

    int ascent = 0;
    int ascentPadding = 0;
    int height = 0;
    int lineSpacingOffset = 0;
};

} // namespace Zorva
