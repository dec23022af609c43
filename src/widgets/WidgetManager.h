#pragma once

#include "widgets/FlagsMod.h"
#include "widgets/InputCodes.h"
#include "widgets/WidgetContainer.h"
#include "widgets/WidgetHost.h"

#include <array>
#include <climits>
#include <string>
#include <vector>

namespace Zorva {

class Graphics;
class Image;
class Widget;
class WidgetHost;

/// The root of the widget tree: routes input to the widget under the pointer, to the one
/// holding the pointer and to the one with the focus, ticks the tree, repaints dirty
/// top-level widgets and keeps the modal layers. It never owns widgets and clears every
/// reference to a widget the moment it leaves the tree.
class WidgetManager : public WidgetContainer
{
public:
    /// One pushed modal layer with what it replaced.
    struct ModalEntry
    {
        Widget* modal = nullptr;
        Widget* previousModal = nullptr;
        Widget* previousFocus = nullptr;
        int previousBelowAdd = 0;
        int previousBelowRemove = 0;
    };

    struct Overlay
    {
        Widget* widget = nullptr;
        int priority = 0;
    };

    /// `lastClickCode` after a middle press.
    static constexpr int kLastClickMiddle = 2;

    /// `host` may be null (tests): cursor and deletion requests are then dropped.
    explicit WidgetManager(WidgetHost* host = nullptr);
    ~WidgetManager() override;

    void ChildBecameDirty(Widget* child) override;
    void ChildNeedsBackdrop(Widget* child) override;

    void SetScreenImage(Image* image) { screenImage = image; }
    void Resize(int newWidth, int newHeight);

    Widget* GetWidgetAt(int px, int py, int* relX = nullptr, int* relY = nullptr);
    /// Sum of positions up the parent chain.
    void GetAbsolutePosition(const WidgetContainer* widget, int* absX, int* absY) const;
    /// True when `a` is painted before `b`.
    bool IsBelow(const Widget* a, const Widget* b) const;
    /// Whether `widget` is in this manager's tree, found without touching `widget` itself.
    bool OwnsWidget(const Widget* widget) const;

    void SetFocus(Widget* widget);
    void OnAppFocusIn();
    void OnAppFocusOut();

    void PushModal(Widget* widget, int belowAdd, int belowRemove);
    void PushModal(Widget* widget);
    void PopModal(Widget* widget);

    void InitFlags(FlagsMod& state) const;
    /// Makes every top-level widget repaint (after the display was re-created).
    void MarkAllDirty();
    /// Paints the dirty top-level widgets; true when anything was painted.
    bool DrawScreen();
    /// Ticks the tree once; true when something needs painting.
    bool UpdateFrame();
    void UpdateFrameFraction(float fraction);

    /// Asks for `widget`'s PaintOverlay once the widgets below `priority` are painted;
    /// only during DrawScreen.
    void AddOverlay(Widget* widget, int overlayPriority);
    /// Paints the requested overlays of a priority below `limit`, lowest first.
    void PaintOverlaysBelow(int limit);

    void PointerMove(int px, int py);
    void PointerDown(int px, int py, int clickCode);
    void PointerUp(int px, int py, int clickCode);
    void PointerExit();
    void Wheel(int delta);
    void KeyDown(int key);
    void KeyUp(int key);
    void KeyChar(char character);
    void ReleaseHeldButtons();

    /// Lets go of every reference to `widget` (pointer, buttons, focus, modal layer).
    void DisownWidget(Widget* widget);
    /// Runs the pointer again after the tree under it changed.
    void ReevaluatePointer();
    /// Requests the hand or arrow cursor from the host.
    void SetCursor(bool hand);
    void SetCursor(CursorKind cursor);
    /// The system clipboard's text, through the host (empty without one).
    std::string GetClipboard() const;
    void SetClipboard(const std::string& text);

    WidgetHost* app = nullptr;
    Image* screenImage = nullptr;
    Graphics* currentGraphics = nullptr;
    Widget* focusWidget = nullptr;
    Widget* downWidget = nullptr;
    Widget* overWidget = nullptr;
    Widget* baseModalWidget = nullptr;
    int managerFlagsAdd = 0;
    int managerFlagsRemove = 0;
    int belowModalAdd = 0;
    int belowModalRemove = 0;
    int defaultBelowModalAdd = 0;
    int defaultBelowModalRemove = kWidgetAllowPointer | kWidgetAllowFocus;
    std::vector<ModalEntry> modalStack;
    Widget* popupCommandWidget = nullptr;
    Widget* tabWidget = nullptr;
    std::vector<Overlay> overlays;
    int minOverlayPriority = INT_MAX;
    bool pointerInWindow = false;
    int lastX = 0;
    int lastY = 0;
    /// Bits (1 << button) of the buttons held on `downWidget`.
    int heldButtons = 0;
    /// Bits (1 << button) of the buttons physically down.
    int actualButtons = 0;
    /// The button of the last press: kClickLeft, kClickRight or kLastClickMiddle, whatever
    /// its clicks.
    int lastClickCode = 0;
    int lastInputUpdate = 0;
    std::array<bool, 255> keysDown{};
    bool appHasFocus = false;
    int widgetFlags = 61;
    /// Counted by UpdateFrame; stamps `lastTickedUpdate`.
    int updateCount = 0;

private:
    int ManagerFlags() const;
    void StampInput();
    void MoveStep(int px, int py);
    /// While buttons are held only the down widget can be hovered.
    void HeldHoverStep(int px, int py);
    void Enter(Widget* widget);
    void Leave(Widget* widget);
    void ReleaseDownWidget();
    void SetModalLayer(Widget* modal, int belowAdd, int belowRemove);
};

} // namespace Zorva
