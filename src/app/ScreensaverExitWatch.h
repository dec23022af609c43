#pragma once

#include "app/WindowMessage.h"

#include <optional>
#include <utility>

namespace Zorva {

/// Decides when a screensaver run is over: at any key or button press, when the window is
/// left for another one, or once the pointer has been moved to more than three new places.
/// The first pointer report only tells where the pointer is, and a move to the place already
/// known (the window system repeats it) does not count. There is no password to ask for, so
/// the verdict is final.
class ScreensaverExitWatch
{
public:
    /// Notes the message; true when the screensaver is to close now.
    bool Feed(const WindowMessage& message);

    /// Moves to new places counted so far.
    int MoveCount() const { return moveCount; }

private:
    bool FeedMove(int px, int py);

    std::optional<std::pair<int, int>> lastPosition;
    int moveCount = 0;
    /// Only a window that was active once can be left.
    bool wasActive = false;
};

} // namespace Zorva
