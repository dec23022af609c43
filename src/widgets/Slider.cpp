#include "widgets/Slider.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/SliderListener.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cmath>

namespace Zorva {

namespace {

constexpr int kStockThumbWidth = 10;
constexpr int kStockTrackHeight = 4;
const Color kStockTrackColor(132, 132, 132);
const Color kStockThumbColor(212, 212, 212);

double ClampedValue(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    return std::clamp(v, 0.0, 1.0);
}

} // namespace

Slider::Slider(Image* newTrackImage, Image* newThumbImage, int newId, SliderListener* newListener)
    : listener(newListener), id(newId), trackImage(newTrackImage), thumbImage(newThumbImage)
{}

void Slider::SetValue(double newValue)
{
    value = ClampedValue(newValue);
    InvalidateWithBackdrop();
}

int Slider::ThumbWidth() const
{
    return thumbImage != nullptr ? thumbImage->GetWidth() : kStockThumbWidth;
}

int Slider::ThumbX() const
{
    return static_cast<int>((width - ThumbWidth()) * value);
}

bool Slider::IsOnThumb(int px) const
{
    const int thumbX = ThumbX();
    return px >= thumbX && px < thumbX + ThumbWidth();
}

void Slider::Paint(Graphics& graphics)
{
    PaintTrack(graphics);
    PaintThumb(graphics);
}

void Slider::PaintTrack(Graphics& graphics)
{
    if (trackImage == nullptr) {
        graphics.SetColor(kStockTrackColor);
        graphics.FillRect(0, (height - kStockTrackHeight) / 2, width, kStockTrackHeight);
        return;
    }
    const int cell = trackImage->GetWidth() / 3;
    if (cell <= 0) {
        return;
    }
    const int trackHeight = trackImage->GetHeight();
    const int top = (height - trackHeight) / 2;
    graphics.DrawImage(trackImage, 0, top, Rect(0, 0, cell, trackHeight));
    {
        Graphics middle(graphics);
        middle.NarrowClip(cell, 0, width - 2 * cell, height);
        const int pieces = (width - cell - 1) / cell;
        for (int i = 0; i < pieces; ++i) {
            middle.DrawImage(trackImage, cell + i * cell, top, Rect(cell, 0, cell, trackHeight));
        }
    }
    graphics.DrawImage(trackImage, width - cell, top, Rect(2 * cell, 0, cell, trackHeight));
}

void Slider::PaintThumb(Graphics& graphics)
{
    const int thumbX = ThumbX();
    if (thumbImage == nullptr) {
        graphics.SetColor(kStockThumbColor);
        graphics.FillRect(thumbX, 0, kStockThumbWidth, height);
        graphics.SetColor(Color::kBlack);
        graphics.DrawRect(thumbX, 0, kStockThumbWidth - 1, height - 1);
        return;
    }
    graphics.DrawImage(thumbImage, thumbX, (height - thumbImage->GetHeight()) / 2);
}

void Slider::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    if (!IsOnThumb(px)) {
        return;
    }
    dragging = true;
    dragOffset = px - ThumbX();
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::DraggingHand);
    }
}

void Slider::OnPointerMove(int px, int)
{
    if (manager != nullptr) {
        manager->SetCursor(IsOnThumb(px) ? CursorKind::DraggingHand : CursorKind::Arrow);
    }
}

void Slider::OnPointerDrag(int px, int)
{
    if (!dragging) {
        return;
    }
    const int travel = width - ThumbWidth();
    const double dragged =
        travel > 0 ? ClampedValue(static_cast<double>(px - dragOffset) / travel) : 0.0;
    if (dragged == value) {
        return;
    }
    value = dragged;
    if (listener != nullptr) {
        listener->OnSliderChanged(id, value);
    }
    InvalidateWithBackdrop();
}

void Slider::OnPointerUp(int px, int py, int clickCode)
{
    Widget::OnPointerUp(px, py, clickCode);
    dragging = false;
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::Arrow);
    }
    if (listener != nullptr) {
        listener->OnSliderChanged(id, value);
    }
}

void Slider::OnPointerLeave()
{
    // The thumb's cursor stays only while the thumb is held.
    if (!dragging && manager != nullptr) {
        manager->SetCursor(CursorKind::Arrow);
    }
}

} // namespace Zorva
