#include "app/DeferredMessageQueue.h"

namespace Zorva {

bool DeferredMessageQueue::Accepts(WindowMessageKind kind) const
{
    if (messages.empty()) {
        return true;
    }
    const WindowMessageKind last = messages.back().kind;
    if (last == WindowMessageKind::Close) {
        return false;
    }
    return !(kind == WindowMessageKind::Timer && last == WindowMessageKind::Timer);
}

std::optional<WindowMessage> DeferredMessageQueue::Pop()
{
    if (messages.empty()) {
        return std::nullopt;
    }
    WindowMessage message = messages.front();
    messages.pop_front();
    return message;
}

} // namespace Zorva
