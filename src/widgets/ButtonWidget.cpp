#include "widgets/ButtonWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/ButtonListener.h"
#include "widgets/DefaultFont.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Zorva {

namespace {

constexpr int kStockFontSize = 10;
const Color kFaceColor(212, 212, 212);
const Color kShadeColor(132, 132, 132);
/// A blend this small is what repeated subtraction leaves of a finished fade.
constexpr double kBlendEpsilon = 1e-6;

} // namespace

ButtonWidget::ButtonWidget(int newId, ButtonListener* newListener)
    : id(newId), listener(newListener)
{
    hasTransparency = true;
    SetColorAt(0, Color::kBlack);
    SetColorAt(1, Color::kBlack);
}

ButtonWidget::~ButtonWidget() = default;

std::unique_ptr<Font> ButtonWidget::MakeStockFont() const
{
    return MakeDefaultFont(kStockFontSize);
}

Font* ButtonWidget::LabelFont()
{
    if (!font) {
        font = MakeStockFont();
    }
    return font.get();
}

void ButtonWidget::SetFont(const Font* newFont)
{
    font = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

bool ButtonWidget::IsPressedLook() const
{
    return isDown && isOver && !disabled;
}

const Rect& ButtonWidget::StateRect(ButtonState state) const
{
    switch (state) {
    case ButtonState::Over:
        return overRect;
    case ButtonState::Down:
        return downRect;
    case ButtonState::Disabled:
        return disabledRect;
    case ButtonState::Normal:
        break;
    }
    return normalRect;
}

Image* ButtonWidget::StateImage(ButtonState state) const
{
    switch (state) {
    case ButtonState::Over:
        return overImage;
    case ButtonState::Down:
        return downImage;
    case ButtonState::Disabled:
        return disabledImage;
    case ButtonState::Normal:
        break;
    }
    return buttonImage;
}

bool ButtonWidget::HasState(ButtonState state) const
{
    return StateImage(state) != nullptr || StateRect(state).width > 0;
}

void ButtonWidget::DrawState(Graphics& graphics, ButtonState state, int px, int py)
{
    const Rect& part = StateRect(state);
    if (part.width > 0) {
        graphics.DrawImage(buttonImage, px, py, part);
    } else if (Image* image = StateImage(state)) {
        graphics.DrawImage(image, px, py);
    }
}

void ButtonWidget::DrawLabel(Graphics& graphics, const Color& color, int px, int py)
{
    if (label.empty()) {
        return;
    }
    graphics.SetFont(LabelFont());
    graphics.SetColor(color);
    graphics.DrawText(label, px, py);
}

void ButtonWidget::Paint(Graphics& graphics)
{
    if (noDraw) {
        return;
    }
    const bool pressed = IsPressedLook() != inverted;
    int labelX = 0;
    int labelY = 0;
    if (!label.empty()) {
        Font* labelFont = LabelFont();
        const int textWidth = labelFont->TextWidth(label);
        if (labelAlign == kAlignCentre) {
            labelX = (width - textWidth) / 2;
        } else if (labelAlign == kAlignRight) {
            labelX = width - textWidth;
        }
        const int ascent = labelFont->GetAscent();
        labelY = (ascent + height - ascent / 6 - 1) / 2;
    }
    if (buttonImage != nullptr || downImage != nullptr) {
        PaintWithImages(graphics, pressed, labelX, labelY);
    } else {
        PaintStockLook(graphics, pressed, labelX, labelY);
    }
}

void ButtonWidget::PaintWithImages(Graphics& graphics, bool pressed, int labelX, int labelY)
{
    if (pressed) {
        ButtonState state = ButtonState::Normal;
        if (HasState(ButtonState::Down)) {
            state = ButtonState::Down;
        } else if (HasState(ButtonState::Over)) {
            state = ButtonState::Over;
        }
        DrawState(graphics, state, 1, 1);
        DrawLabel(graphics, ColorAt(1), labelX + 1, labelY + 1);
        return;
    }
    if (disabled && HasState(ButtonState::Disabled)) {
        DrawState(graphics, ButtonState::Disabled, 0, 0);
    } else if (overAlpha > 0 && HasState(ButtonState::Over)) {
        DrawState(graphics, ButtonState::Normal, 0, 0);
        // The over state fades in over the normal one.
        const int alpha = std::clamp(static_cast<int>(overAlpha * 255), 0, 255);
        graphics.SetColor(Color(255, 255, 255, alpha));
        graphics.SetModulateImages(true);
        DrawState(graphics, ButtonState::Over, 0, 0);
        graphics.SetModulateImages(false);
    } else if ((isOver || isDown) && HasState(ButtonState::Over)) {
        DrawState(graphics, ButtonState::Over, 0, 0);
    } else {
        DrawState(graphics, ButtonState::Normal, 0, 0);
    }
    DrawLabel(graphics, ColorAt(isOver ? 1 : 0), labelX, labelY);
}

void ButtonWidget::PaintStockLook(Graphics& graphics, bool pressed, int labelX, int labelY)
{
    if (!noFrame) {
        graphics.SetColor(kFaceColor);
        graphics.FillRect(0, 0, width, height);
    }
    if (!pressed) {
        if (!noFrame) {
            graphics.SetColor(Color::kWhite);
            graphics.FillRect(0, 0, width - 1, 1);
            graphics.FillRect(0, 0, 1, height - 1);
            graphics.SetColor(Color::kBlack);
            graphics.FillRect(0, height - 1, width, 1);
            graphics.FillRect(width - 1, 0, 1, height);
            graphics.SetColor(kShadeColor);
            graphics.FillRect(1, height - 2, width - 2, 1);
            graphics.FillRect(width - 2, 1, 1, height - 2);
        }
        DrawLabel(graphics, ColorAt(isOver ? 1 : 0), labelX, labelY);
        return;
    }
    if (!noFrame) {
        graphics.SetColor(Color::kBlack);
        graphics.FillRect(0, 0, width - 1, 1);
        graphics.FillRect(0, 0, 1, height - 1);
        graphics.SetColor(Color::kWhite);
        graphics.FillRect(0, height - 1, width, 1);
        graphics.FillRect(width - 1, 0, 1, height);
        graphics.SetColor(kShadeColor);
        graphics.FillRect(1, 1, width - 3, 1);
        graphics.FillRect(1, 1, 1, height - 3);
    }
    DrawLabel(graphics, Color::kBlack, labelX + 1, labelY + 1);
}

void ButtonWidget::RepaintForHover()
{
    if (isDown || HasState(ButtonState::Over) || ColorAt(0) != ColorAt(1)) {
        Invalidate();
    }
}

void ButtonWidget::OnPointerEnter()
{
    if (fadeInSpeed == 0) {
        overAlpha = 0;
    }
    RepaintForHover();
    if (listener != nullptr) {
        listener->OnButtonHover(id);
    }
}

void ButtonWidget::OnPointerLeave()
{
    if (fadeOutSpeed == 0) {
        overAlpha = 0;
    } else if (fadeOutSpeed > 0 && overAlpha == 0) {
        // The fade-out starts from the full over look.
        overAlpha = 1;
    }
    RepaintForHover();
    if (listener != nullptr) {
        listener->OnButtonUnhover(id);
    }
}

void ButtonWidget::OnPointerMove(int px, int py)
{
    if (listener != nullptr) {
        listener->OnButtonPointerMove(id, px, py);
    }
}

void ButtonWidget::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    if (listener != nullptr) {
        listener->OnButtonPressed(id, clickCode);
    }
    Invalidate();
}

void ButtonWidget::OnPointerUp(int px, int py, int clickCode)
{
    Widget::OnPointerUp(px, py, clickCode);
    // A release outside the button, or while the application is in the background, is no
    // click; the position is checked too in case no move came before the release.
    const bool inside = px >= 0 && py >= 0 && px < width && py < height;
    const bool appFocused = manager != nullptr && manager->appHasFocus;
    if (isOver && inside && appFocused && listener != nullptr) {
        listener->OnButtonActivated(id);
    }
    Invalidate();
}

void ButtonWidget::Tick()
{
    Widget::Tick();
    if (isDown && isOver) {
        if (listener != nullptr) {
            listener->OnButtonHeld(id);
        }
    }
    if (!isDown && !isOver && overAlpha > 0) {
        overAlpha = fadeOutSpeed > 0 ? overAlpha - fadeOutSpeed : 0;
        if (overAlpha < kBlendEpsilon) {
            overAlpha = 0;
        }
        Invalidate();
    } else if (isOver && fadeInSpeed > 0 && overAlpha < 1) {
        overAlpha = std::min(overAlpha + fadeInSpeed, 1.0);
        Invalidate();
    }
}

} // namespace Zorva
