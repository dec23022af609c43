#include "app/ScreensaverExitWatch.h"

namespace Zorva {

namespace {

/// The pointer may wander this many times, so a nudged desk does not end the show.
constexpr int kMovesTolerated = 3;

} // namespace

bool ScreensaverExitWatch::Feed(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    switch (message.kind) {
    case Kind::KeyDown:
    case Kind::SystemKeyDown:
    case Kind::LeftDown:
    case Kind::LeftDouble:
    case Kind::RightDown:
    case Kind::RightDouble:
    case Kind::MiddleDown:
        return true;
    case Kind::Activate:
        // Some window systems report a loss of focus while the window is first shown; only
        // leaving a window that had the focus ends the run.
        if (message.active) {
            wasActive = true;
            return false;
        }
        return wasActive;
    case Kind::MouseMove:
        return FeedMove(message.x, message.y);
    default:
        return false;
    }
}

bool ScreensaverExitWatch::FeedMove(int px, int py)
{
    const std::pair<int, int> position{px, py};
    // The first report is where the pointer rested when the window appeared under it.
    const bool known = lastPosition.has_value();
    if (lastPosition == position) {
        return false;
    }
    lastPosition = position;
    if (!known) {
        return false;
    }
    ++moveCount;
    return moveCount > kMovesTolerated;
}

} // namespace Zorva
