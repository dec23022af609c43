#include "widgets/Widget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/WidgetManager.h"

#include <cstdint>
#include <string>

namespace Zorva {

namespace {

const Color kNoColor(0, 0, 0, 0);

} // namespace

Widget::~Widget()
{
    if (parent != nullptr) {
        parent->RemoveWidget(this);
    }
    RemoveAllWidgets(false, false);
}

void Widget::SetShown(bool shown)
{
    if (visible == shown) {
        return;
    }
    visible = shown;
    if (shown) {
        Invalidate();
    } else {
        InvalidateWithBackdrop();
    }
    if (manager != nullptr) {
        manager->ReevaluatePointer();
    }
}

void Widget::SetColorTable(const int (*entries)[4], int count)
{
    colors.clear();
    for (int i = 0; entries != nullptr && i < count; ++i) {
        SetColorAt(i, Color(entries[i][0], entries[i][1], entries[i][2], entries[i][3]));
    }
    Invalidate();
}

void Widget::SetColorTable(const int (*entries)[3], int count)
{
    colors.clear();
    for (int i = 0; entries != nullptr && i < count; ++i) {
        SetColorAt(i, Color(entries[i][0], entries[i][1], entries[i][2]));
    }
    Invalidate();
}

void Widget::SetColorAt(int index, const Color& color)
{
    if (index < 0) {
        return;
    }
    if (static_cast<size_t>(index) >= colors.size()) {
        colors.resize(static_cast<size_t>(index) + 1, kNoColor);
    }
    colors[static_cast<size_t>(index)] = color;
    Invalidate();
}

Color Widget::ColorAt(int index, const Color& fallback) const
{
    if (index < 0 || static_cast<size_t>(index) >= colors.size()) {
        return fallback;
    }
    return colors[static_cast<size_t>(index)];
}

const Color& Widget::ColorAt(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= colors.size()) {
        return kNoColor;
    }
    return colors[static_cast<size_t>(index)];
}

void Widget::SetInactive(bool inactive)
{
    if (disabled == inactive) {
        return;
    }
    disabled = inactive;
    if (inactive && manager != nullptr) {
        manager->DisownWidget(this);
    }
    Invalidate();
    if (!inactive && manager != nullptr && manager->pointerInWindow) {
        manager->ReevaluatePointer();
    }
}

void Widget::ShowHandCursor(bool hand)
{
    if (manager != nullptr) {
        manager->SetCursor(hand);
    }
}

void Widget::Place(int newX, int newY, int newWidth, int newHeight)
{
    if (x == newX && y == newY && width == newWidth && height == newHeight) {
        return;
    }
    InvalidateWithBackdrop();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    Invalidate();
    if (manager != nullptr) {
        manager->ReevaluatePointer();
    }
}

void Widget::OnKeyDown(int key)
{
    if (key != kVirtualKeyTab || manager == nullptr) {
        return;
    }
    Widget* target = manager->keysDown[kVirtualKeyShift] ? tabPrevious : tabNext;
    if (target != nullptr) {
        manager->SetFocus(target);
    }
}

void Widget::OnPointerDown(int px, int py, int clickCode)
{
    OnButtonDown(px, py, MouseButtonOfClick(clickCode), ClickCountOf(clickCode));
}

void Widget::OnPointerUp(int px, int py, int clickCode)
{
    OnPointerUp(px, py);
    OnButtonUp(px, py, MouseButtonOfClick(clickCode), ClickCountOf(clickCode));
}

Rect Widget::DrawCenteredText(Graphics& graphics, int baseline, const std::string& text,
                              const Color& color, const Color& shadowColor, int shadowOffset)
{
    Font* font = graphics.GetFont();
    if (font == nullptr) {
        return Rect();
    }
    const int textWidth = font->TextWidth(text);
    const int left = (width - textWidth) / 2;
    graphics.SetColor(shadowColor);
    graphics.DrawText(text, left + shadowOffset, baseline + shadowOffset);
    graphics.SetColor(color);
    graphics.DrawText(text, left, baseline);
    const int offset = shadowOffset < 0 ? -shadowOffset : shadowOffset;
    const int top = baseline - font->GetAscent() + (shadowOffset < 0 ? shadowOffset : 0);
    return Rect(left + (shadowOffset < 0 ? shadowOffset : 0), top, textWidth + offset,
                font->GetHeight() + offset);
}

Rect Widget::DrawCenteredText(Graphics& graphics, int baseline, const std::string& text)
{
    Font* font = graphics.GetFont();
    if (font == nullptr) {
        return Rect();
    }
    const int textWidth = font->TextWidth(text);
    const int left = (width - textWidth) / 2;
    graphics.DrawText(text, left, baseline);
    return Rect(left, baseline - font->GetAscent(), textWidth, font->GetHeight());
}

int Widget::WriteWrappedText(Graphics& graphics, const Rect& rect, const std::string& text,
                             int lineSpacing, int justification)
{
    const bool codes = graphics.GetColorCodes();
    graphics.SetColorCodes(true);
    const int blockHeight = graphics.DrawWrappedText(rect, text, lineSpacing, justification);
    graphics.SetColorCodes(codes);
    return blockHeight;
}

int Widget::WriteWrappedText(Graphics& graphics, const Rect& rect, const std::string& text,
                             const Color& color, int lineSpacing, int justification)
{
    graphics.SetColor(color);
    return WriteWrappedText(graphics, rect, text, lineSpacing, justification);
}

int Widget::MeasureWrappedText(Graphics& graphics, int fieldWidth, const std::string& text)
{
    return Graphics::MeasureWrappedText(graphics.GetFont(), fieldWidth, text);
}

int Widget::DigitCount(int n) const
{
    int64_t magnitude = n < 0 ? -static_cast<int64_t>(n) : n;
    int digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

void Widget::DrawNumberFromStrip(Graphics& graphics, int n, int px, int py, Image* strip,
                                 int spacing)
{
    if (strip == nullptr) {
        return;
    }
    const int cellWidth = strip->GetWidth() / 10;
    if (cellWidth <= 0) {
        return;
    }
    const int64_t magnitude = n < 0 ? -static_cast<int64_t>(n) : n;
    for (const char digit : std::to_string(magnitude)) {
        const int value = digit - '0';
        graphics.DrawImage(strip, px, py,
                           Rect(value * cellWidth, 0, cellWidth, strip->GetHeight()));
        px += cellWidth + spacing;
    }
}

bool Widget::ContainsPoint(int px, int py) const
{
    return px >= x && px < x + width && py >= y && py < y + height;
}

Rect Widget::GetInnerRect() const
{
    return Rect(x + insets.left, y + insets.top, width - insets.left - insets.right,
                height - insets.top - insets.bottom);
}

} // namespace Zorva
