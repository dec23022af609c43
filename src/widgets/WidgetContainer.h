#pragma once

#include "graphics/Rect.h"
#include "widgets/FlagsMod.h"

#include <list>

namespace Zorva {

class Graphics;
class Widget;
class WidgetManager;

/// The common base of widgets and the widget manager: a list of child widgets in z-order
/// (first is bottom). Children are not owned; whoever made a widget deletes it, after
/// removing it from the tree.
class WidgetContainer
{
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer();

    virtual Rect GetBounds() const { return Rect(x, y, width, height); }
    virtual bool Overlaps(const WidgetContainer& other) const;
    virtual void ChildBecameDirty(Widget* child);
    virtual void Invalidate();
    virtual void ChildNeedsBackdrop(Widget* child);
    virtual void InvalidateWithBackdrop();
    virtual void AttachToManager(WidgetManager* newManager);
    virtual void DetachFromManager(WidgetManager* oldManager);
    virtual void Tick() { ++tickCount; }
    virtual void TickTree(const FlagsMod& state);
    virtual void TickFraction(float) {}
    virtual void TickTreeFraction(const FlagsMod& state, float fraction);
    virtual void Paint(Graphics&) {}
    virtual void PaintTree(const FlagsMod& state, Graphics& graphics);

    /// Appends on top; ignored when it is already a child.
    void AddWidget(Widget* widget);
    /// Ignored when it is not a child. The manager lets go of every reference to it first.
    void RemoveWidget(Widget* widget);
    /// Removes the children one by one, their own children first when `recursive`, and
    /// deletes them when `deleteThem` (only for children this container's owner made).
    void RemoveAllWidgets(bool deleteThem, bool recursive);
    /// Re-inserts `widget` directly above `reference`, or on top when that is not a child.
    void PlaceAbove(Widget* widget, Widget* reference);
    bool HasChild(const Widget* widget) const;
    /// The child under (x, y) given in this container's coordinates, with the point in
    /// the child's coordinates.
    Widget* FindWidgetAt(int px, int py, int flags, int* relX = nullptr, int* relY = nullptr);

    const std::list<Widget*>& GetChildren() const { return children; }
    WidgetContainer* GetParent() const { return parent; }
    WidgetManager* GetManager() const { return manager; }

    std::list<Widget*> children;
    int childCount = 0;
    WidgetManager* manager = nullptr;
    WidgetContainer* parent = nullptr;
    bool listChanged = false;
    std::list<Widget*>::iterator iterPos = children.end();
    int lastTickedUpdate = 0;
    int tickCount = 0;
    bool dirty = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool hasTransparency = false;
    int flagsAdd = 0;
    int flagsRemove = 0;
    int priority = 0;
    bool clips = true;

protected:
    /// Unlinks `position`, keeping the tick iteration on the next child.
    void Unlink(std::list<Widget*>::iterator position);
    /// Ticks the children through `iterPos`, so that a child may remove itself or a
    /// sibling meanwhile without one being skipped.
    void TickChildren(FlagsMod state, bool fraction, float amount);
};

} // namespace Zorva
