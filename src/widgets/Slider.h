#pragma once

#include "widgets/Widget.h"

namespace Zorva {

class Image;
class SliderListener;

/// A horizontal slider: a track of three equal cells (left cap, tiled middle, right cap)
/// and a thumb dragged along it. `value` runs from 0 (thumb at the left) to 1 (right).
/// Without images a plain grey track and thumb stand in.
class Slider : public Widget
{
public:
    /// The images may be null and are not owned; `listener` may be null.
    Slider(Image* trackImage, Image* thumbImage, int id, SliderListener* listener);

    /// Clamped to 0..1; the listener is not told.
    virtual void SetValue(double newValue);
    double GetValue() const { return value; }

    void Paint(Graphics& graphics) override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnPointerMove(int px, int py) override;
    void OnPointerDrag(int px, int py) override;
    using Widget::OnPointerUp;
    void OnPointerUp(int px, int py, int clickCode) override;
    void OnPointerLeave() override;

    /// The thumb's left edge for the current value.
    int ThumbX() const;
    int ThumbWidth() const;

    SliderListener* listener;
    int id;
    double value = 0;
    Image* trackImage;
    Image* thumbImage;
    bool dragging = false;
    int dragOffset = 0;

private:
    bool IsOnThumb(int px) const;
    void PaintTrack(Graphics& graphics);
    void PaintThumb(Graphics& graphics);
};

} // namespace Zorva
