#include "widgets/HyperlinkWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"

namespace Zorva {

HyperlinkWidget::HyperlinkWidget(int newId, ButtonListener* newListener)
    : ButtonWidget(newId, newListener)
{
    handCursor = true;
}

void HyperlinkWidget::Paint(Graphics& graphics)
{
    if (noDraw || label.empty()) {
        return;
    }
    Font* labelFont = LabelFont();
    const int textWidth = labelFont->TextWidth(label);
    const int textX = (width - textWidth) / 2;
    const int baseline = (labelFont->GetAscent() + height) / 2 - 1;
    const Color& shown = isOver ? overColor : color;
    graphics.SetFont(labelFont);
    graphics.SetColor(shown);
    graphics.DrawText(label, textX, baseline);
    for (int row = 0; row < underlineSize; ++row) {
        graphics.FillRect(textX, baseline + underlineOffset + row, textWidth, 1);
    }
}

void HyperlinkWidget::OnPointerEnter()
{
    ButtonWidget::OnPointerEnter();
    // The text is drawn without a background of its own.
    InvalidateWithBackdrop();
}

void HyperlinkWidget::OnPointerLeave()
{
    ButtonWidget::OnPointerLeave();
    InvalidateWithBackdrop();
}

} // namespace Zorva
