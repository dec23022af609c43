#pragma once

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetHost.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace TextWidgetTest {

/// A font whose every character is `glyphWidth` pixels wide; each non-blank character is
/// drawn as a solid block one pixel in from both sides of its cell, on the 8 rows above the
/// baseline. Pixel positions in the tests follow from that.
class BlockFont : public Zorva::Font
{
public:
    explicit BlockFont(int newGlyphWidth = 6, int fontHeight = 12, int fontAscent = 10)
        : glyphWidth(newGlyphWidth)
    {
        height = fontHeight;
        ascent = fontAscent;
    }

    int TextWidth(const std::string& text) override
    {
        return static_cast<int>(text.size()) * glyphWidth;
    }
    int CharWidthAfter(char, char) override { return glyphWidth; }
    void DrawText(Zorva::Graphics* context, int x, int y, const std::string& text,
                  const Zorva::Color& color, const Zorva::Rect&) override
    {
        context->SaveState();
        context->SetColor(color);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != ' ') {
                context->FillRect(x + static_cast<int>(i) * glyphWidth + 1, y - 8, glyphWidth - 2,
                                  8);
            }
        }
        context->RestoreState();
    }
    std::unique_ptr<Zorva::Font> Duplicate() const override
    {
        return std::make_unique<BlockFont>(*this);
    }

    int glyphWidth;
};

/// Keeps the cursor requests and stands in for the system clipboard.
class RecordingHost : public Zorva::WidgetHost
{
public:
    void SetCursor(Zorva::CursorKind cursor) override { cursors.push_back(cursor); }
    void DeferWidgetDelete(Zorva::Widget*) override {}
    int GetUpdateCount() const override { return 0; }
    bool Is3D() const override { return false; }
    std::string GetClipboard() const override { return clipboard; }
    void SetClipboard(const std::string& text) override { clipboard = text; }

    Zorva::CursorKind LastCursor() const
    {
        return cursors.empty() ? Zorva::CursorKind::GameDrawn : cursors.back();
    }

    std::vector<Zorva::CursorKind> cursors;
    std::string clipboard;
};

inline uint32_t PixelAt(Zorva::MemoryImage& image, int x, int y)
{
    return image.GetPixels()[static_cast<size_t>(y) * image.GetWidth() + x];
}

} // namespace TextWidgetTest
