#pragma once

namespace Zorva {

/// Told of clicks and hover changes in a list.
class ListListener
{
public:
    virtual ~ListListener() = default;

    /// A press on line `index`; `clickCount` is the click code (kClickLeftDouble for a
    /// double click).
    virtual void OnListClicked(int /*id*/, int /*index*/, int /*clickCount*/) {}
    virtual void OnListClosed(int /*id*/) {}
    /// The line under the pointer changed; -1 is none.
    virtual void OnListHiliteChanged(int /*id*/, int /*oldIndex*/, int /*newIndex*/) {}
};

} // namespace Zorva
