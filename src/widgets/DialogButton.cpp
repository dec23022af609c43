#include "widgets/DialogButton.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "widgets/DefaultFont.h"

namespace Zorva {

namespace {

constexpr int kStockFontSize = 12;

} // namespace

DialogButton::DialogButton(Image* newComponentImage, int newId, ButtonListener* newListener)
    : ButtonWidget(newId, newListener), componentImage(newComponentImage)
{
    handCursor = true;
    SetColorAt(0, Color::kWhite);
    SetColorAt(1, Color::kWhite);
}

std::unique_ptr<Font> DialogButton::MakeStockFont() const
{
    return MakeDefaultFont(kStockFontSize, FontWeight::Bold);
}

const Rect& DialogButton::CurrentStateRect() const
{
    const Rect* part = &normalRect;
    if (disabled && !disabledRect.IsEmpty()) {
        part = &disabledRect;
    } else if (IsPressedLook()) {
        part = &downRect;
    } else if (isOver) {
        part = &overRect;
    }
    // A state without its own part keeps the normal look.
    return part->width > 0 ? *part : normalRect;
}

void DialogButton::Paint(Graphics& graphics)
{
    if (componentImage == nullptr) {
        ButtonWidget::Paint(graphics);
        return;
    }
    if (noDraw) {
        return;
    }
    Graphics drawing(graphics);
    if (IsPressedLook()) {
        drawing.Translate(static_cast<float>(pressOffsetX), static_cast<float>(pressOffsetY));
    }
    const Rect box(0, 0, width, height);
    if (normalRect.width > 0) {
        drawing.DrawImageNineSlice(componentImage, box, CurrentStateRect());
    } else {
        drawing.DrawImageNineSlice(componentImage, box);
    }
    if (label.empty()) {
        return;
    }
    Font* labelFont = LabelFont();
    const int ascent = labelFont->GetAscent();
    const int labelX = (width - labelFont->TextWidth(label)) / 2 + textOffsetX;
    const int labelY =
        textOffsetY + (ascent + height - ascent / 6 - labelFont->GetDescent() - 1) / 2;
    DrawLabel(drawing, ColorAt(isOver ? 1 : 0), labelX, labelY);
}

} // namespace Zorva
