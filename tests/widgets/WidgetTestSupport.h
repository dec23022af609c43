#pragma once

// Shared by the stock-widget tests: a font with exact metrics, striped images, a recording
// listener and host, and a small focused screen to route input and paint through.

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckboxListener.h"
#include "widgets/DialogListener.h"
#include "widgets/InputCodes.h"
#include "widgets/SliderListener.h"
#include "widgets/Widget.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace WidgetTest {

using namespace Zorva;
using Log = std::vector<std::string>;

inline const Color kRed(255, 0, 0);
inline const Color kGreen(0, 255, 0);
inline const Color kBlue(0, 0, 255);

/// Each character is a solid block `charWidth` wide over the `ascent` rows above the baseline.
class BlockFont : public Font
{
public:
    explicit BlockFont(int newCharWidth = 6, int fontAscent = 8, int fontDescent = 2)
        : charWidth(newCharWidth)
    {
        ascent = fontAscent;
        height = fontAscent + fontDescent;
    }
    int TextWidth(const std::string& text) override
    {
        return charWidth * static_cast<int>(text.size());
    }
    void DrawText(Graphics* context, int x, int y, const std::string& text, const Color& color,
                  const Rect& clip) override
    {
        const Rect block(x + static_cast<int>(context->GetTranslationX()),
                         y + static_cast<int>(context->GetTranslationY()) - ascent, TextWidth(text),
                         ascent);
        context->GetDestinationImage()->FillRect(block.Intersection(clip), color, 0);
    }
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<BlockFont>(*this); }

    int charWidth;
};

/// An opaque image of vertical stripes `stripeWidth` wide, one per colour.
inline std::unique_ptr<MemoryImage> StripedImage(int stripeWidth, int h,
                                                 const std::vector<Color>& colors)
{
    const int w = stripeWidth * static_cast<int>(colors.size());
    std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
    for (int i = 0; i < w * h; ++i) {
        pixels[static_cast<size_t>(i)] =
            colors[static_cast<size_t>(i % w / stripeWidth)].PackARGB();
    }
    auto image = std::make_unique<MemoryImage>();
    image->SetPixels(pixels.data(), w, h, true);
    return image;
}

/// The colours of the pixels at `points` as "r,g,b" (or "clear" where nothing was drawn),
/// space separated.
inline std::string Pixels(MemoryImage& image, std::initializer_list<std::pair<int, int>> points)
{
    std::string text;
    for (const auto& [x, y] : points) {
        const uint32_t argb = image.PixelAt(x, y);
        char one[32];
        std::snprintf(one, sizeof one, "%u,%u,%u", (argb >> 16) & 0xFF, (argb >> 8) & 0xFF,
                      argb & 0xFF);
        text += (text.empty() ? "" : " ") + (argb == 0 ? std::string("clear") : one);
    }
    return text;
}

/// Records every listener call as one line.
class ListenerLog : public ButtonListener,
                    public CheckboxListener,
                    public SliderListener,
                    public DialogListener
{
public:
    void OnButtonPressed(int id, int code) override { Note("pressed", id, code); }
    void OnButtonActivated(int id) override { Note("activated", id); }
    void OnButtonHeld(int id) override { Note("held", id); }
    void OnButtonHover(int id) override { Note("hover", id); }
    void OnButtonUnhover(int id) override { Note("unhover", id); }
    void OnCheckboxChanged(int id, bool on) override { Note("checkbox", id, on); }
    void OnSliderChanged(int id, double value) override
    {
        Note("slider", id, static_cast<int>(value * 100 + 0.5));
    }
    void OnDialogButtonActivated(int dialog, int button) override
    {
        Note("dialog activated", dialog, button);
    }
    Log Take() { return std::exchange(lines, {}); }
    void Note(const std::string& what, int id, int value = -9)
    {
        lines.push_back(what + " " + std::to_string(id) +
                        (value == -9 ? "" : " " + std::to_string(value)));
    }

    Log lines;
};

/// Records the cursor asked for last; deletes deferred widgets at once.
class RecordingHost : public WidgetHost
{
public:
    void SetCursor(CursorKind kind) override { cursor = kind; }
    void DeferWidgetDelete(Widget* widget) override { delete widget; }
    int GetUpdateCount() const override { return 0; }
    bool Is3D() const override { return false; }
    std::string GetClipboard() const override { return {}; }
    void SetClipboard(const std::string&) override {}
    CursorKind cursor = CursorKind::Arrow;
};

/// Pointer input as the window layer delivers it: each button message comes after a move.
inline void Press(WidgetManager& manager, int x, int y, int code = kClickLeft)
{
    manager.PointerMove(x, y);
    manager.PointerDown(x, y, code);
}
inline void Release(WidgetManager& manager, int x, int y, int code = kClickLeft)
{
    manager.PointerMove(x, y);
    manager.PointerUp(x, y, code);
}
inline void Click(WidgetManager& manager, int x, int y, int code = kClickLeft)
{
    Press(manager, x, y, code);
    Release(manager, x, y, code);
}

/// A focused widget manager over a screen image.
struct Screen
{
    Screen(int w, int h) : manager(&host)
    {
        manager.Resize(w, h);
        image.Create(w, h);
        manager.SetScreenImage(&image);
        manager.OnAppFocusIn();
    }
    /// Clears the image and repaints every widget.
    MemoryImage& Repaint()
    {
        image.Clear();
        manager.MarkAllDirty();
        manager.DrawScreen();
        return image;
    }
    void Press(int x, int y, int code = kClickLeft) { WidgetTest::Press(manager, x, y, code); }
    void Release(int x, int y, int code = kClickLeft) { WidgetTest::Release(manager, x, y, code); }
    void Click(int x, int y, int code = kClickLeft) { WidgetTest::Click(manager, x, y, code); }

    RecordingHost host;
    WidgetManager manager;
    MemoryImage image;
};

/// An opaque widget of one colour.
class FilledWidget : public Widget
{
public:
    FilledWidget(const Rect& bounds, const Color& newColor) : color(newColor) { Place(bounds); }
    void Paint(Graphics& graphics) override
    {
        graphics.SetColor(color);
        graphics.FillRect(0, 0, width, height);
    }
    Color color;
};

} // namespace WidgetTest
