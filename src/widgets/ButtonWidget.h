#pragma once

#include "graphics/Rect.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>

namespace Zorva {

class ButtonListener;
class Font;
class Image;

/// A push button drawn from state images (or parts of one image) or in the stock grey look,
/// with an optional label and a hover blend that fades in and out. Reports presses, clicks,
/// holds and hovering to its listener by id. Colours: 0 label, 1 label while hovered.
class ButtonWidget : public Widget
{
public:
    /// Label alignments.
    static constexpr int kAlignCentre = 0;
    static constexpr int kAlignRight = 1;
    static constexpr int kAlignLeft = 2;

    /// `listener` may be null; it must outlive the button otherwise.
    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    void Paint(Graphics& graphics) override;
    void Tick() override;
    void OnPointerEnter() override;
    void OnPointerLeave() override;
    void OnPointerMove(int px, int py) override;
    void OnPointerDown(int px, int py, int clickCode) override;
    using Widget::OnPointerUp;
    void OnPointerUp(int px, int py, int clickCode) override;

    /// Keeps a copy of `newFont`; null goes back to the stock font.
    virtual void SetFont(const Font* newFont);
    /// Pressed and under the pointer while enabled.
    bool IsPressedLook() const;

    int id;
    std::string label;
    int labelAlign = kAlignCentre;
    /// Made on first paint when there is a label and none was set.
    std::unique_ptr<Font> font;
    Image* buttonImage = nullptr;
    Image* overImage = nullptr;
    Image* downImage = nullptr;
    Image* disabledImage = nullptr;
    /// A rect with a width draws its state from that part of `buttonImage`.
    Rect normalRect;
    Rect overRect;
    Rect downRect;
    Rect disabledRect;
    /// Swaps the pressed look.
    bool inverted = false;
    bool noDraw = false;
    /// The stock look without background and frame.
    bool noFrame = false;
    ButtonListener* listener;
    /// The current hover blend, 0..1.
    double overAlpha = 0;
    /// Per-update change of `overAlpha`; 0 switches at once.
    double fadeOutSpeed = 0;
    double fadeInSpeed = 0;

protected:
    enum class ButtonState
    {
        Normal,
        Over,
        Down,
        Disabled,
    };

    /// The font a label gets when none was set.
    virtual std::unique_ptr<Font> MakeStockFont() const;
    /// The label's font, made when first needed.
    Font* LabelFont();
    /// A state can be drawn when its image is set or its rect has a width.
    bool HasState(ButtonState state) const;
    void DrawState(Graphics& graphics, ButtonState state, int px, int py);
    void DrawLabel(Graphics& graphics, const Color& color, int px, int py);
    /// Repaints when hovering changes what is shown.
    void RepaintForHover();

private:
    void PaintWithImages(Graphics& graphics, bool pressed, int labelX, int labelY);
    void PaintStockLook(Graphics& graphics, bool pressed, int labelX, int labelY);
    const Rect& StateRect(ButtonState state) const;
    Image* StateImage(ButtonState state) const;
};

} // namespace Zorva
