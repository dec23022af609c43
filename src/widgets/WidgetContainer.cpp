#include "widgets/WidgetContainer.h"

#include "graphics/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Zorva {

WidgetContainer::~WidgetContainer() = default;

bool WidgetContainer::Overlaps(const WidgetContainer& other) const
{
    return !GetBounds().Intersection(other.GetBounds()).IsEmpty();
}

void WidgetContainer::ChildBecameDirty(Widget* child)
{
    if (child->dirty) {
        return;
    }
    Invalidate();
    child->dirty = true;
}

void WidgetContainer::Invalidate()
{
    if (parent != nullptr) {
        parent->ChildBecameDirty(static_cast<Widget*>(this));
    } else {
        dirty = true;
    }
}

void WidgetContainer::ChildNeedsBackdrop(Widget* child)
{
    InvalidateWithBackdrop();
    child->dirty = true;
}

void WidgetContainer::InvalidateWithBackdrop()
{
    if (parent != nullptr) {
        parent->ChildNeedsBackdrop(static_cast<Widget*>(this));
    } else {
        dirty = true;
    }
}

void WidgetContainer::AttachToManager(WidgetManager* newManager)
{
    for (Widget* child : children) {
        child->manager = newManager;
        child->AttachToManager(newManager);
    }
    Invalidate();
}

void WidgetContainer::DetachFromManager(WidgetManager* oldManager)
{
    for (Widget* child : children) {
        if (oldManager != nullptr) {
            oldManager->DisownWidget(child);
        }
        child->DetachFromManager(oldManager);
        child->manager = nullptr;
    }
    if (oldManager != nullptr && oldManager->popupCommandWidget == this) {
        oldManager->popupCommandWidget = nullptr;
    }
}

void WidgetContainer::TickChildren(FlagsMod state, bool fraction, float amount)
{
    iterPos = children.begin();
    while (iterPos != children.end()) {
        Widget* child = *iterPos;
        if (manager != nullptr && child == manager->baseModalWidget) {
            state.isOver = true;
        }
        listChanged = false;
        if (fraction) {
            child->TickTreeFraction(state, amount);
        } else {
            child->TickTree(state);
        }
        // A removal of the current child already moved the position on to its successor.
        if (listChanged) {
            listChanged = false;
        } else if (iterPos != children.end()) {
            ++iterPos;
        }
    }
}

void WidgetContainer::TickTree(const FlagsMod& state)
{
    const FlagsMod mine = state.Applied(flagsAdd, flagsRemove);
    const int flags = mine.Effective();
    if ((flags & kWidgetMarkDirty) != 0) {
        Invalidate();
    }
    if (manager == nullptr) {
        return;
    }
    if ((flags & kWidgetUpdate) != 0 && manager->updateCount != lastTickedUpdate) {
        lastTickedUpdate = manager->updateCount;
        Tick();
    }
    // Tick may have taken this container out of the tree.
    if (manager != nullptr) {
        TickChildren(mine, false, 0.0f);
    }
}

void WidgetContainer::TickTreeFraction(const FlagsMod& state, float fraction)
{
    const FlagsMod mine = state.Applied(flagsAdd, flagsRemove);
    if (manager == nullptr) {
        return;
    }
    if ((mine.Effective() & kWidgetUpdate) != 0) {
        TickFraction(fraction);
    }
    if (manager != nullptr) {
        TickChildren(mine, true, fraction);
    }
}

void WidgetContainer::PaintTree(const FlagsMod& state, Graphics& graphics)
{
    if (manager != nullptr && manager->minOverlayPriority < priority) {
        manager->PaintOverlaysBelow(priority);
    }
    FlagsMod mine = state.Applied(flagsAdd, flagsRemove);
    const int flags = mine.Effective();
    if (clips && (flags & kWidgetClip) != 0) {
        // Narrowed, so a child never paints outside its parent either.
        graphics.NarrowClip(0, 0, width, height);
    }
    if (children.empty()) {
        if ((flags & kWidgetDraw) != 0) {
            Paint(graphics);
        }
        return;
    }
    if ((flags & kWidgetDraw) != 0) {
        graphics.SaveState();
        Paint(graphics);
        graphics.RestoreState();
    }
    for (Widget* child : children) {
        if (manager != nullptr && child == manager->baseModalWidget) {
            mine.isOver = true;
        }
        if (!child->visible) {
            continue;
        }
        Graphics childGraphics(graphics);
        childGraphics.Translate(static_cast<float>(child->x), static_cast<float>(child->y));
        child->PaintTree(mine, childGraphics);
        child->dirty = false;
    }
}

void WidgetContainer::AddWidget(Widget* widget)
{
    if (widget == nullptr || HasChild(widget) || widget == this) {
        return;
    }
    if (widget->parent != nullptr) {
        widget->parent->RemoveWidget(widget);
    }
    children.push_back(widget);
    ++childCount;
    widget->manager = manager;
    widget->parent = this;
    if (manager != nullptr) {
        widget->AttachToManager(manager);
        widget->InvalidateWithBackdrop();
        manager->ReevaluatePointer();
    }
    Invalidate();
}

void WidgetContainer::RemoveWidget(Widget* widget)
{
    const auto position = std::find(children.begin(), children.end(), widget);
    if (position == children.end()) {
        return;
    }
    WidgetManager* const oldManager = widget->manager;
    if (oldManager != nullptr) {
        oldManager->DisownWidget(widget);
    }
    widget->DetachFromManager(oldManager);
    if (oldManager != nullptr) {
        ChildNeedsBackdrop(widget);
    }
    widget->manager = nullptr;
    widget->parent = nullptr;
    Unlink(position);
    --childCount;
}

void WidgetContainer::RemoveAllWidgets(bool deleteThem, bool recursive)
{
    while (!children.empty()) {
        Widget* child = children.front();
        if (recursive) {
            child->RemoveAllWidgets(deleteThem, true);
        }
        RemoveWidget(child);
        if (deleteThem) {
            delete child;
        }
    }
}

void WidgetContainer::PlaceAbove(Widget* widget, Widget* reference)
{
    const auto position = std::find(children.begin(), children.end(), widget);
    if (position == children.end() || widget == reference) {
        return;
    }
    Unlink(position);
    auto target = std::find(children.begin(), children.end(), reference);
    if (target != children.end()) {
        ++target;
    }
    children.insert(target, widget);
    widget->Invalidate();
    widget->OnZOrderChanged();
}

void WidgetContainer::Unlink(std::list<Widget*>::iterator position)
{
    if (position == iterPos) {
        ++iterPos;
        listChanged = true;
    }
    children.erase(position);
}

bool WidgetContainer::HasChild(const Widget* widget) const
{
    return std::find(children.begin(), children.end(), widget) != children.end();
}

Widget* WidgetContainer::FindWidgetAt(int px, int py, int flags, int* relX, int* relY)
{
    flags = (flags | flagsAdd) & ~flagsRemove;
    Widget* const modal = manager != nullptr ? manager->baseModalWidget : nullptr;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Widget* child = *it;
        // A widget's masks govern the widget itself as well as its subtree.
        const int childFlags = (flags | child->flagsAdd) & ~child->flagsRemove;
        if ((childFlags & kWidgetAllowPointer) != 0 && child->visible) {
            const int cx = px - child->x;
            const int cy = py - child->y;
            if (Widget* inner = child->FindWidgetAt(cx, cy, flags, relX, relY)) {
                return inner;
            }
            if (child->mouseVisible && child->GetInnerRect().Contains(px, py) &&
                child->IsHitAt(cx, cy)) {
                if (relX != nullptr) {
                    *relX = cx;
                }
                if (relY != nullptr) {
                    *relY = cy;
                }
                return child;
            }
        }
        if (child == modal && manager != nullptr) {
            flags = (flags | manager->belowModalAdd) & ~manager->belowModalRemove;
        }
    }
    return nullptr;
}

} // namespace Zorva
