#pragma once

#include "app/WindowMessage.h"

#include <deque>
#include <optional>

namespace Zorva {

/// The window messages taken in by the window procedure and handed to the loop one at a
/// time, in the order they came. Nothing is taken after a close, and a timer right after a
/// timer is dropped, so a slow loop never piles up ticks.
class DeferredMessageQueue
{
public:
    /// Whether a message of this kind would be kept if it were queued now.
    bool Accepts(WindowMessageKind kind) const;
    void Push(const WindowMessage& message) { messages.push_back(message); }
    /// The oldest message, removed; nothing when the queue is empty.
    std::optional<WindowMessage> Pop();
    bool IsEmpty() const { return messages.empty(); }
    std::size_t Size() const { return messages.size(); }
    /// Oldest first.
    auto begin() const { return messages.begin(); }
    auto end() const { return messages.end(); }

private:
    std::deque<WindowMessage> messages;
};

} // namespace Zorva
