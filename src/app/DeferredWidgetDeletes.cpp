#include "app/DeferredWidgetDeletes.h"

namespace Zorva {

void DeferredWidgetDeletes::Queue(Widget* widget)
{
    if (widget == nullptr) {
        return;
    }
    for (const auto& entry : queued) {
        if (entry.second == widget) {
            return;
        }
    }
    queued.emplace_back(depth, widget);
}

std::vector<Widget*> DeferredWidgetDeletes::TakeDue()
{
    std::vector<Widget*> due;
    auto keep = queued.begin();
    for (auto& entry : queued) {
        if (entry.first >= depth) {
            due.push_back(entry.second);
        } else {
            *keep++ = entry;
        }
    }
    queued.erase(keep, queued.end());
    return due;
}

} // namespace Zorva
