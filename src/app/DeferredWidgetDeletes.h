#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace Zorva {

class Widget;

/// Widgets queued for deletion while the loop may still be inside them. Loop steps nest
/// (modal loops run inside a step); a widget is due once the loop is back at the depth it
/// was queued at. The queue only records: its owner disowns and deletes what is due.
class DeferredWidgetDeletes
{
public:
    /// Ignores null and a widget already queued.
    void Queue(Widget* widget);
    /// Removes and returns, in queue order, the widgets queued at or below the current depth.
    std::vector<Widget*> TakeDue();

    void Enter() { ++depth; }
    void Leave() { --depth; }
    int Depth() const { return depth; }
    /// At exit: whatever is still queued was recorded deeper than the loop ever returned to.
    void ResetDepth() { depth = 0; }
    std::size_t Count() const { return queued.size(); }

private:
    int depth = 0;
    std::vector<std::pair<int, Widget*>> queued;
};

} // namespace Zorva
