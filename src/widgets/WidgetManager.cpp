#include "widgets/WidgetManager.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/Widget.h"
#include "widgets/WidgetHost.h"

#include <algorithm>

namespace Zorva {

namespace {

int ButtonBit(int clickCode)
{
    return 1 << MouseButtonOfClick(clickCode);
}

int LastClickCodeOf(int clickCode)
{
    switch (MouseButtonOfClick(clickCode)) {
    case kMouseButtonRight:
        return kClickRight;
    case kMouseButtonMiddle:
        return WidgetManager::kLastClickMiddle;
    default:
        return kClickLeft;
    }
}

} // namespace

WidgetManager::WidgetManager(WidgetHost* host) : app(host)
{
    manager = this;
}

WidgetManager::~WidgetManager()
{
    RemoveAllWidgets(false, false);
}

int WidgetManager::ManagerFlags() const
{
    if (baseModalWidget == nullptr) {
        return widgetFlags;
    }
    return (widgetFlags | managerFlagsAdd) & ~managerFlagsRemove;
}

void WidgetManager::InitFlags(FlagsMod& state) const
{
    state.isOver = baseModalWidget == nullptr;
    state.overFlags = ManagerFlags();
    state.underFlags = (state.overFlags | belowModalAdd) & ~belowModalRemove;
}

void WidgetManager::Resize(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    for (Widget* child : children) {
        child->Invalidate();
    }
    Invalidate();
}

// ---- dirty propagation ----

void WidgetManager::ChildBecameDirty(Widget* child)
{
    if (child->dirty) {
        return;
    }
    if (child->hasTransparency) {
        ChildNeedsBackdrop(child);
        return;
    }
    dirty = true;
    child->dirty = true;
    auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end()) {
        return;
    }
    for (++it; it != children.end(); ++it) {
        Widget* above = *it;
        if (above->visible && above->Overlaps(*child)) {
            ChildBecameDirty(above);
        }
    }
}

void WidgetManager::ChildNeedsBackdrop(Widget* child)
{
    dirty = true;
    child->dirty = true;
    const auto position = std::find(children.begin(), children.end(), child);
    if (position == children.end()) {
        return;
    }
    const Rect area = child->GetBounds().Intersection(Rect(0, 0, width, height));
    for (auto it = std::make_reverse_iterator(position); it != children.rend(); ++it) {
        Widget* below = *it;
        if (!below->visible) {
            continue;
        }
        // Marking goes through ChildBecameDirty so that whatever a repainted widget would
        // paint over is repainted as well.
        if (!below->hasAlpha && !below->hasTransparency && !area.IsEmpty() &&
            below->ContainsPoint(area.x, area.y) &&
            below->ContainsPoint(area.x + area.width - 1, area.y + area.height - 1)) {
            ChildBecameDirty(below);
            break;
        }
        if (below->Overlaps(*child)) {
            ChildBecameDirty(below);
        }
    }
    for (auto it = std::next(position); it != children.end(); ++it) {
        Widget* above = *it;
        if (above->visible && above->Overlaps(*child)) {
            ChildBecameDirty(above);
        }
    }
}

// ---- tree queries ----

Widget* WidgetManager::GetWidgetAt(int px, int py, int* relX, int* relY)
{
    Widget* found = FindWidgetAt(px, py, ManagerFlags(), relX, relY);
    if (found != nullptr && found->disabled) {
        return nullptr;
    }
    return found;
}

void WidgetManager::GetAbsolutePosition(const WidgetContainer* widget, int* absX, int* absY) const
{
    int ax = 0;
    int ay = 0;
    for (const WidgetContainer* at = widget; at != nullptr && at != this; at = at->parent) {
        ax += at->x;
        ay += at->y;
    }
    *absX = ax;
    *absY = ay;
}

namespace {

/// Depth-first in paint order; returns 1 when `a` is met first, 2 for `b`, 0 for neither.
int FirstMet(const WidgetContainer* container, const Widget* a, const Widget* b)
{
    for (const Widget* child : container->children) {
        if (child == a) {
            return 1;
        }
        if (child == b) {
            return 2;
        }
        if (const int met = FirstMet(child, a, b)) {
            return met;
        }
    }
    return 0;
}

bool Contains(const WidgetContainer* container, const Widget* widget)
{
    for (const Widget* child : container->children) {
        if (child == widget || Contains(child, widget)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool WidgetManager::IsBelow(const Widget* a, const Widget* b) const
{
    if (a == nullptr || b == nullptr || a == b) {
        return false;
    }
    return FirstMet(this, a, b) == 1;
}

bool WidgetManager::OwnsWidget(const Widget* widget) const
{
    return widget != nullptr && Contains(this, widget);
}

// ---- pointer ----

void WidgetManager::StampInput()
{
    lastInputUpdate = app != nullptr ? app->GetUpdateCount() : updateCount;
}

void WidgetManager::SetCursor(bool hand)
{
    SetCursor(hand ? CursorKind::Hand : CursorKind::Arrow);
}

void WidgetManager::SetCursor(CursorKind cursor)
{
    if (app != nullptr) {
        app->SetCursor(cursor);
    }
}

std::string WidgetManager::GetClipboard() const
{
    return app != nullptr ? app->GetClipboard() : std::string();
}

void WidgetManager::SetClipboard(const std::string& text)
{
    if (app != nullptr) {
        app->SetClipboard(text);
    }
}

void WidgetManager::Enter(Widget* widget)
{
    widget->isOver = true;
    widget->OnPointerEnter();
    if (widget->handCursor) {
        SetCursor(true);
    }
}

void WidgetManager::Leave(Widget* widget)
{
    widget->isOver = false;
    widget->OnPointerLeave();
    if (widget->handCursor) {
        SetCursor(false);
    }
}

void WidgetManager::MoveStep(int px, int py)
{
    const bool moved = px != lastX || py != lastY;
    lastX = px;
    lastY = py;
    int relX = 0;
    int relY = 0;
    Widget* under = GetWidgetAt(px, py, &relX, &relY);
    if (under == overWidget) {
        if (under != nullptr && moved) {
            under->OnPointerMove(relX, relY);
        }
        return;
    }
    if (Widget* old = overWidget) {
        overWidget = nullptr;
        Leave(old);
    }
    if (under != nullptr && OwnsWidget(under)) {
        overWidget = under;
        Enter(under);
        // Entering may have removed it.
        if (overWidget == under) {
            under->OnPointerMove(relX, relY);
        }
    }
}

void WidgetManager::PointerMove(int px, int py)
{
    StampInput();
    pointerInWindow = true;
    if (downWidget == nullptr || heldButtons == 0) {
        MoveStep(px, py);
        return;
    }
    lastX = px;
    lastY = py;
    if (overWidget != nullptr && overWidget != downWidget) {
        Widget* old = overWidget;
        overWidget = nullptr;
        Leave(old);
    }
    int absX = 0;
    int absY = 0;
    GetAbsolutePosition(downWidget, &absX, &absY);
    downWidget->OnPointerDrag(px - absX, py - absY);
    if (downWidget != nullptr) {
        HeldHoverStep(px, py);
    }
}

void WidgetManager::HeldHoverStep(int px, int py)
{
    lastX = px;
    lastY = py;
    Widget* under = GetWidgetAt(px, py);
    if (under == downWidget) {
        if (overWidget == nullptr) {
            overWidget = downWidget;
            Enter(downWidget);
        }
    } else if (Widget* old = overWidget) {
        overWidget = nullptr;
        Leave(old);
    }
}

void WidgetManager::PointerDown(int px, int py, int clickCode)
{
    StampInput();
    const int bit = ButtonBit(clickCode);
    actualButtons |= bit;
    if (downWidget != nullptr && heldButtons != 0) {
        // The pointer stays with the down widget: no other widget may become hovered.
        HeldHoverStep(px, py);
    } else {
        MoveStep(px, py);
    }
    if (popupCommandWidget != nullptr) {
        int absX = 0;
        int absY = 0;
        GetAbsolutePosition(popupCommandWidget, &absX, &absY);
        const Rect popupArea(absX, absY, popupCommandWidget->width, popupCommandWidget->height);
        if (!popupArea.Contains(px, py)) {
            Widget* popup = popupCommandWidget;
            popupCommandWidget = nullptr;
            if (popup->parent != nullptr) {
                popup->parent->RemoveWidget(popup);
            }
        }
    }
    int relX = 0;
    int relY = 0;
    Widget* target = GetWidgetAt(px, py, &relX, &relY);
    if (downWidget != nullptr && heldButtons != 0) {
        // The widget that took the first button keeps the pointer for the others.
        target = downWidget;
        int absX = 0;
        int absY = 0;
        GetAbsolutePosition(target, &absX, &absY);
        relX = px - absX;
        relY = py - absY;
    }
    lastClickCode = LastClickCodeOf(clickCode);
    if (target == nullptr) {
        return;
    }
    heldButtons |= bit;
    downWidget = target;
    if (target->AcceptsFocus()) {
        SetFocus(target);
    }
    if (downWidget == target) {
        target->isDown = true;
        target->OnPointerDown(relX, relY, clickCode);
    }
}

void WidgetManager::PointerUp(int px, int py, int clickCode)
{
    StampInput();
    const int bit = ButtonBit(clickCode);
    actualButtons &= ~bit;
    if (downWidget != nullptr && (heldButtons & bit) != 0) {
        Widget* widget = downWidget;
        heldButtons &= ~bit;
        if (heldButtons == 0) {
            downWidget = nullptr;
            // Still down while another button holds it.
            widget->isDown = false;
        }
        int absX = 0;
        int absY = 0;
        GetAbsolutePosition(widget, &absX, &absY);
        widget->OnPointerUp(px - absX, py - absY, clickCode);
    }
    heldButtons &= ~bit;
    if (downWidget != nullptr && heldButtons != 0) {
        HeldHoverStep(px, py);
    } else {
        MoveStep(px, py);
    }
}

void WidgetManager::PointerExit()
{
    StampInput();
    pointerInWindow = false;
    if (Widget* old = overWidget) {
        overWidget = nullptr;
        Leave(old);
    }
}

void WidgetManager::ReleaseDownWidget()
{
    Widget* widget = downWidget;
    const int held = heldButtons;
    downWidget = nullptr;
    heldButtons = 0;
    if (widget == nullptr) {
        return;
    }
    widget->isDown = false;
    int absX = 0;
    int absY = 0;
    GetAbsolutePosition(widget, &absX, &absY);
    for (const int button : {kMouseButtonLeft, kMouseButtonRight, kMouseButtonMiddle}) {
        if ((held & (1 << button)) != 0) {
            widget->OnPointerUp(lastX - absX, lastY - absY, ClickOfMouseButton(button));
        }
    }
}

void WidgetManager::ReleaseHeldButtons()
{
    StampInput();
    ReleaseDownWidget();
}

void WidgetManager::ReevaluatePointer()
{
    if (downWidget == nullptr) {
        if (pointerInWindow) {
            MoveStep(lastX, lastY);
        }
        return;
    }
    if (GetWidgetAt(lastX, lastY) != downWidget) {
        if (Widget* old = overWidget) {
            overWidget = nullptr;
            Leave(old);
        }
    }
}

// ---- focus and keys ----

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == focusWidget) {
        return;
    }
    if (widget != nullptr && baseModalWidget != nullptr &&
        (belowModalRemove & kWidgetAllowFocus) != 0 && IsBelow(widget, baseModalWidget)) {
        // A widget below a modal layer that takes focus away cannot take it back.
        return;
    }
    if (Widget* old = focusWidget) {
        focusWidget = nullptr;
        old->OnFocusOut();
    }
    if (OwnsWidget(widget)) {
        focusWidget = widget;
        if (appHasFocus) {
            widget->OnFocusIn();
        }
    }
}

void WidgetManager::OnAppFocusIn()
{
    if (appHasFocus) {
        return;
    }
    appHasFocus = true;
    if (focusWidget != nullptr) {
        focusWidget->OnFocusIn();
    }
}

void WidgetManager::OnAppFocusOut()
{
    if (!appHasFocus) {
        return;
    }
    actualButtons = 0;
    for (int key = 0; key < static_cast<int>(keysDown.size()); ++key) {
        if (keysDown[static_cast<size_t>(key)]) {
            KeyUp(key);
        }
    }
    appHasFocus = false;
    if (focusWidget != nullptr) {
        focusWidget->OnFocusOut();
    }
}

void WidgetManager::KeyDown(int key)
{
    StampInput();
    if (key >= 0 && key < static_cast<int>(keysDown.size())) {
        keysDown[static_cast<size_t>(key)] = true;
    }
    if (focusWidget != nullptr) {
        focusWidget->OnKeyDown(key);
    }
}

void WidgetManager::KeyUp(int key)
{
    StampInput();
    if (key >= 0 && key < static_cast<int>(keysDown.size())) {
        keysDown[static_cast<size_t>(key)] = false;
    }
    if (key == kVirtualKeyTab && keysDown[kVirtualKeyControl]) {
        return;
    }
    if (focusWidget != nullptr) {
        focusWidget->OnKeyUp(key);
    }
}

void WidgetManager::KeyChar(char character)
{
    StampInput();
    if (character == '\t' && keysDown[kVirtualKeyControl]) {
        if (tabWidget != nullptr) {
            tabWidget->OnChar('\t');
        }
        return;
    }
    if (focusWidget != nullptr) {
        focusWidget->OnChar(character);
    }
}

void WidgetManager::Wheel(int delta)
{
    StampInput();
    if (focusWidget != nullptr) {
        focusWidget->OnWheel(delta);
    }
}

// ---- disowning and modal layers ----

void WidgetManager::DisownWidget(Widget* widget)
{
    if (widget == nullptr) {
        return;
    }
    if (widget == overWidget) {
        overWidget = nullptr;
        Leave(widget);
    }
    if (widget == downWidget) {
        ReleaseDownWidget();
    }
    if (widget == focusWidget) {
        focusWidget = nullptr;
        widget->OnFocusOut();
    }
    if (widget == baseModalWidget) {
        baseModalWidget = nullptr;
    }
    if (widget == tabWidget) {
        tabWidget = nullptr;
    }
    for (ModalEntry& entry : modalStack) {
        if (entry.previousModal == widget) {
            entry.previousModal = nullptr;
        }
        if (entry.previousFocus == widget) {
            entry.previousFocus = nullptr;
        }
    }
    for (Overlay& overlay : overlays) {
        if (overlay.widget == widget) {
            overlay.widget = nullptr;
        }
    }
}

void WidgetManager::SetModalLayer(Widget* modal, int belowAdd, int belowRemove)
{
    baseModalWidget = modal;
    belowModalAdd = belowAdd;
    belowModalRemove = belowRemove;
    if (modal == nullptr) {
        return;
    }
    if ((belowRemove & kWidgetAllowPointer) != 0) {
        if (overWidget != nullptr && IsBelow(overWidget, modal)) {
            Widget* old = overWidget;
            overWidget = nullptr;
            Leave(old);
        }
        if (downWidget != nullptr && IsBelow(downWidget, modal)) {
            ReleaseDownWidget();
        }
    }
    if ((belowRemove & kWidgetAllowFocus) != 0 && focusWidget != nullptr &&
        IsBelow(focusWidget, modal)) {
        Widget* old = focusWidget;
        focusWidget = nullptr;
        old->OnFocusOut();
    }
}

void WidgetManager::PushModal(Widget* widget, int belowAdd, int belowRemove)
{
    modalStack.push_back(
        ModalEntry{widget, baseModalWidget, focusWidget, belowModalAdd, belowModalRemove});
    SetModalLayer(widget, belowAdd, belowRemove);
}

void WidgetManager::PushModal(Widget* widget)
{
    PushModal(widget, defaultBelowModalAdd, defaultBelowModalRemove);
}

void WidgetManager::PopModal(Widget* widget)
{
    if (modalStack.empty() || modalStack.back().modal != widget) {
        return;
    }
    while (!modalStack.empty()) {
        const ModalEntry entry = modalStack.back();
        const bool moreRemained = modalStack.size() > 1;
        SetModalLayer(entry.previousModal, entry.previousBelowAdd, entry.previousBelowRemove);
        if (focusWidget == nullptr && entry.previousFocus != nullptr) {
            SetFocus(entry.previousFocus);
        }
        modalStack.pop_back();
        // A layer whose widget is gone was scrubbed to none; unwind it too.
        if (entry.previousModal != nullptr || !moreRemained) {
            break;
        }
    }
}

// ---- painting and ticking ----

void WidgetManager::AddOverlay(Widget* widget, int overlayPriority)
{
    if (currentGraphics == nullptr || widget == nullptr) {
        return;
    }
    overlays.push_back(Overlay{widget, overlayPriority});
    minOverlayPriority = std::min(minOverlayPriority, overlayPriority);
}

void WidgetManager::PaintOverlaysBelow(int limit)
{
    if (currentGraphics == nullptr) {
        return;
    }
    std::vector<Overlay> due;
    std::vector<Overlay> kept;
    for (const Overlay& overlay : overlays) {
        (overlay.priority < limit ? due : kept).push_back(overlay);
    }
    overlays = std::move(kept);
    minOverlayPriority = INT_MAX;
    for (const Overlay& overlay : overlays) {
        minOverlayPriority = std::min(minOverlayPriority, overlay.priority);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const Overlay& a, const Overlay& b) { return a.priority < b.priority; });
    for (const Overlay& overlay : due) {
        if (overlay.widget == nullptr || !OwnsWidget(overlay.widget)) {
            continue;
        }
        int absX = 0;
        int absY = 0;
        GetAbsolutePosition(overlay.widget, &absX, &absY);
        Graphics graphics(*currentGraphics);
        graphics.Translate(static_cast<float>(absX), static_cast<float>(absY));
        overlay.widget->PaintOverlay(graphics);
    }
}

void WidgetManager::MarkAllDirty()
{
    for (Widget* child : children) {
        child->dirty = true;
    }
}

bool WidgetManager::DrawScreen()
{
    FlagsMod state;
    InitFlags(state);
    int dirtyCount = 0;
    for (const Widget* child : children) {
        dirtyCount += child->dirty ? 1 : 0;
    }
    overlays.clear();
    minOverlayPriority = INT_MAX;
    if (screenImage == nullptr) {
        return false;
    }
    // A display-surface image would be locked here for the duration of the paint.
    Graphics graphics(screenImage);
    currentGraphics = &graphics;
    const bool accelerated = app != nullptr && app->Is3D();
    bool painted = false;
    if (dirtyCount > 0) {
        for (Widget* child : children) {
            if (child == baseModalWidget) {
                state.isOver = true;
            }
            if (!child->dirty || !child->visible) {
                continue;
            }
            Graphics childGraphics(graphics);
            childGraphics.Translate(static_cast<float>(child->x), static_cast<float>(child->y));
            childGraphics.SetFastStretch(!accelerated);
            childGraphics.SetLinearBlend(accelerated);
            child->PaintTree(state, childGraphics);
            child->dirty = false;
            painted = true;
        }
        PaintOverlaysBelow(INT_MAX);
        // Overlays of the largest priority are the last ones.
        for (const Overlay& overlay : std::vector<Overlay>(overlays)) {
            if (overlay.widget != nullptr && OwnsWidget(overlay.widget)) {
                int absX = 0;
                int absY = 0;
                GetAbsolutePosition(overlay.widget, &absX, &absY);
                Graphics overlayGraphics(graphics);
                overlayGraphics.Translate(static_cast<float>(absX), static_cast<float>(absY));
                overlay.widget->PaintOverlay(overlayGraphics);
            }
        }
        overlays.clear();
    }
    currentGraphics = nullptr;
    dirty = false;
    return painted;
}

bool WidgetManager::UpdateFrame()
{
    FlagsMod state;
    InitFlags(state);
    ++updateCount;
    TickTree(state);
    return dirty;
}

void WidgetManager::UpdateFrameFraction(float fraction)
{
    FlagsMod state;
    InitFlags(state);
    TickTreeFraction(state, fraction);
}

} // namespace Zorva
