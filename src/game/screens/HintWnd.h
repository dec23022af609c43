#pragma once

#include "graphics/Rect.h"
#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>

namespace Zorva {
class AppAudio;
class ButtonWidget;
class Graphics;
class WidgetManager;
} // namespace Zorva

/// The hint window: a box with an arrow that points at a place of the board, a short text
/// and a "Close" button. Made once by the game application and shown when needed.
class HintWnd : public Zorva::Widget, public Zorva::ButtonListener
{
public:
    static constexpr int kCloseButtonId = 0;

    explicit HintWnd(Zorva::AppAudio& audio);
    ~HintWnd() override;

    /// Adds the window to the manager (or moves it, when shown) with the arrow's tip just
    /// below (x, y), and sets the text.
    void Show(Zorva::WidgetManager& widgets, int pointX, int pointY, const std::string& newText);
    /// Leaves the widget manager; nothing happens when not shown.
    void Hide();
    bool IsShown() const { return GetManager() != nullptr; }
    const std::string& Text() const { return text; }

    void Tick() override;
    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int id) override;

    /// The arrow's brightness, 100..250, swinging by 4 a tick; below 176 it glows.
    int glow = 250;
    bool glowUp = false;
    /// In window coordinates.
    Zorva::Rect textRect;
    int arrowX = 0;
    int arrowY = 0;
    std::unique_ptr<Zorva::ButtonWidget> closeButton;

private:
    Zorva::AppAudio& audio;
    std::string text;
};
