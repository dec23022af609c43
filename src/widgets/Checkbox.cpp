#include "widgets/Checkbox.h"

#include "graphics/Graphics.h"
#include "widgets/CheckboxListener.h"

namespace Zorva {

Checkbox::Checkbox(Image* newUncheckedImage, Image* newCheckedImage, int newId,
                   CheckboxListener* newListener)
    : listener(newListener), id(newId), uncheckedImage(newUncheckedImage),
      checkedImage(newCheckedImage)
{
    handCursor = true;
}

void Checkbox::SetChecked(bool value, bool notify)
{
    checked = value;
    if (notify && listener != nullptr) {
        listener->OnCheckboxChanged(id, checked);
    }
    Invalidate();
}

void Checkbox::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    SetChecked(!checked, true);
}

void Checkbox::Paint(Graphics& graphics)
{
    const bool hasRects = checkedRect.width > 0 || uncheckedRect.width > 0;
    if (hasRects && uncheckedImage != nullptr) {
        graphics.DrawImage(uncheckedImage, 0, 0, checked ? checkedRect : uncheckedRect);
    } else if (uncheckedImage != nullptr && checkedImage != nullptr) {
        graphics.DrawImage(checked ? checkedImage : uncheckedImage, 0, 0);
    } else if (uncheckedImage != nullptr || checkedImage != nullptr) {
        // Only one face was given: it stands for both states.
        graphics.DrawImage(uncheckedImage != nullptr ? uncheckedImage : checkedImage, 0, 0);
    } else {
        PaintStockLook(graphics);
    }
}

void Checkbox::PaintStockLook(Graphics& graphics)
{
    graphics.SetColor(outlineColor);
    graphics.FillRect(0, 0, width, height);
    graphics.SetColor(insideColor);
    graphics.FillRect(1, 1, width - 2, height - 2);
    if (checked) {
        graphics.SetColor(checkColor);
        graphics.DrawLine(1, 1, width - 2, height - 2);
        graphics.DrawLine(width - 2, 1, 1, height - 2);
    }
}

} // namespace Zorva
