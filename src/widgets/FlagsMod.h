#pragma once

namespace Zorva {

/// Widget flag bits: what a widget in the tree may do.
inline constexpr int kWidgetUpdate = 1;
inline constexpr int kWidgetMarkDirty = 2;
inline constexpr int kWidgetDraw = 4;
inline constexpr int kWidgetClip = 8;
inline constexpr int kWidgetAllowPointer = 16;
inline constexpr int kWidgetAllowFocus = 32;

/// The flag state handed down the tree: one set for widgets at or above the modal layer,
/// one for those below it.
struct FlagsMod
{
    int overFlags = 0;
    int underFlags = 0;
    bool isOver = true;

    int Effective() const { return isOver ? overFlags : underFlags; }

    /// Both sets with a container's masks applied.
    FlagsMod Applied(int add, int remove) const
    {
        return FlagsMod{(overFlags | add) & ~remove, (underFlags | add) & ~remove, isOver};
    }
};

} // namespace Zorva
