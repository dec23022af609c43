#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"
#include "widgets/InputCodes.h"
#include "widgets/Insets.h"
#include "widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Zorva {

class Image;

/// A screen element: painted, ticked and given input by the widget manager. Override the
/// empty hooks; the manager does the routing.
class Widget : public WidgetContainer
{
public:
    Widget() = default;
    /// Leaves the tree and lets go of its children, so nothing keeps a pointer to it.
    ~Widget() override;

    virtual void OnZOrderChanged() {}
    virtual void SetShown(bool shown);
    /// Each entry is red, green, blue, alpha.
    virtual void SetColorTable(const int (*entries)[4], int count);
    /// Each entry is red, green, blue; all opaque.
    virtual void SetColorTable(const int (*entries)[3], int count);
    virtual void SetColorAt(int index, const Color& color);
    virtual Color ColorAt(int index, const Color& fallback) const;
    /// Transparent black when out of range.
    virtual const Color& ColorAt(int index) const;
    virtual void SetInactive(bool inactive);
    virtual void ShowHandCursor(bool hand);
    virtual void Place(const Rect& rect) { Place(rect.x, rect.y, rect.width, rect.height); }
    virtual void Place(int newX, int newY, int newWidth, int newHeight);
    virtual void MoveTo(int newX, int newY) { Place(newX, newY, width, height); }
    virtual bool AcceptsFocus() { return false; }
    /// Asked for through the manager's AddOverlay; `graphics` is at the widget's position.
    virtual void PaintOverlay(Graphics& /*graphics*/) {}
    virtual void OnFocusIn() { hasFocus = true; }
    virtual void OnFocusOut() { hasFocus = false; }
    /// An 8-bit character typed while the widget has the focus.
    virtual void OnChar(char /*character*/) {}
    /// `key` is a virtual key code (kVirtualKey...). The base moves the focus on Tab.
    virtual void OnKeyDown(int key);
    virtual void OnKeyUp(int /*key*/) {}
    virtual void OnPointerEnter() {}
    virtual void OnPointerLeave() {}
    /// Pointer positions are in the widget's coordinates.
    virtual void OnPointerMove(int /*px*/, int /*py*/) {}
    /// `button` is kMouseButtonLeft, kMouseButtonRight or kMouseButtonMiddle; `clicks` is 2
    /// for the second press of a double click.
    virtual void OnButtonDown(int /*px*/, int /*py*/, int /*button*/, int /*clicks*/) {}
    /// `clickCode` is one of the kClick... codes; the base passes it on to OnButtonDown.
    virtual void OnPointerDown(int px, int py, int clickCode);
    virtual void OnButtonUp(int /*px*/, int /*py*/, int /*button*/, int /*clicks*/) {}
    /// Calls OnPointerUp(px, py), then OnButtonUp.
    virtual void OnPointerUp(int px, int py, int clickCode);
    /// Any button went up.
    virtual void OnPointerUp(int /*px*/, int /*py*/) {}
    /// The pointer moved while a button pressed on this widget is held, wherever it is.
    virtual void OnPointerDrag(int /*px*/, int /*py*/) {}
    /// Goes to the widget with the focus; `delta` in wheel notches, positive when turned up.
    virtual void OnWheel(int /*delta*/) {}
    /// In the widget's coordinates; false lets the pointer through to what lies below.
    virtual bool IsHitAt(int /*px*/, int /*py*/) { return true; }
    /// Centred in the widget's width with its baseline at `baseline`, drawn once shifted in
    /// the shadow colour and once in `color`. Returns the covered rectangle.
    virtual Rect DrawCenteredText(Graphics& graphics, int baseline, const std::string& text,
                                  const Color& color, const Color& shadowColor, int shadowOffset);
    /// In the context's font and colour.
    virtual Rect DrawCenteredText(Graphics& graphics, int baseline, const std::string& text);
    /// Word-wrapped text in `rect` with colour markup; returns the block's height.
    virtual int WriteWrappedText(Graphics& graphics, const Rect& rect, const std::string& text,
                                 int lineSpacing = -1, int justification = -1);
    virtual int WriteWrappedText(Graphics& graphics, const Rect& rect, const std::string& text,
                                 const Color& color, int lineSpacing = -1, int justification = -1);
    /// The height WriteWrappedText would use in a field `fieldWidth` wide.
    virtual int MeasureWrappedText(Graphics& graphics, int fieldWidth, const std::string& text);
    /// Decimal digits of n (of its magnitude when negative).
    virtual int DigitCount(int n) const;
    /// n digit by digit from a strip of ten equal cells 0..9.
    virtual void DrawNumberFromStrip(Graphics& graphics, int n, int px, int py, Image* strip,
                                     int spacing);
    virtual bool ContainsPoint(int px, int py) const;
    virtual Rect GetInnerRect() const;

    bool visible = true;
    bool mouseVisible = true;
    bool disabled = false;
    bool hasFocus = false;
    bool isDown = false;
    bool isOver = false;
    bool hasAlpha = false;
    std::vector<Color> colors;
    Insets insets;
    bool handCursor = false;
    Widget* tabPrevious = nullptr;
    Widget* tabNext = nullptr;
};

} // namespace Zorva
