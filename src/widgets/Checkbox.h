#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"
#include "widgets/Widget.h"

namespace Zorva {

class CheckboxListener;
class Image;

/// A box that toggles on every press and tells its listener. Drawn from two images, from
/// two parts of `uncheckedImage`, or without images as a frame with a cross when checked.
class Checkbox : public Widget
{
public:
    /// The images may be null and are not owned; `listener` may be null.
    Checkbox(Image* uncheckedImage, Image* checkedImage, int id, CheckboxListener* listener);

    /// Notifies the listener only when `notify` is set.
    virtual void SetChecked(bool value, bool notify);
    bool IsChecked() const { return checked; }

    void Paint(Graphics& graphics) override;
    void OnPointerDown(int px, int py, int clickCode) override;

    CheckboxListener* listener;
    int id;
    bool checked = false;
    Image* uncheckedImage;
    Image* checkedImage;
    /// With widths, the two faces are these parts of `uncheckedImage`.
    Rect checkedRect;
    Rect uncheckedRect;
    Color outlineColor = Color::kWhite;
    Color insideColor = Color(80, 80, 80);
    Color checkColor = Color(255, 255, 0);

private:
    void PaintStockLook(Graphics& graphics);
};

} // namespace Zorva
