#include "app/WindowPlacement.h"

#include <algorithm>

namespace Zorva {

namespace {

/// Keeps [position, position + size) inside [start + margin, end - margin]; the start edge
/// wins when the window is larger than the room.
int ClampInside(int position, int size, int start, int length)
{
    const int highest = start + length - size - kWindowEdgeMargin;
    const int lowest = start + kWindowEdgeMargin;
    return std::max(std::min(position, highest), lowest);
}

} // namespace

ClientSize RememberedClientSize(const Rect& workArea, const WindowFrame& frame, int screenWidth,
                                int screenHeight, int preferredWidth, int preferredHeight)
{
    if (preferredWidth <= 0 || preferredHeight <= 0) {
        return {screenWidth, screenHeight};
    }
    const int smallestWidth = std::max(screenWidth / 4, 1);
    const int smallestHeight = std::max(screenHeight / 4, 1);
    const int roomWidth = workArea.width - frame.left - frame.right - 2 * kWindowEdgeMargin;
    const int roomHeight = workArea.height - frame.top - frame.bottom - 2 * kWindowEdgeMargin;
    // A work area smaller than the smallest window leaves the smallest window.
    return {std::clamp(preferredWidth, smallestWidth, std::max(roomWidth, smallestWidth)),
            std::clamp(preferredHeight, smallestHeight, std::max(roomHeight, smallestHeight))};
}

Rect PlaceMainWindow(const Rect& workArea, const WindowFrame& frame, int clientWidth,
                     int clientHeight, int preferredX, int preferredY)
{
    const int outerWidth = clientWidth + frame.left + frame.right;
    const int outerHeight = clientHeight + frame.top + frame.bottom;
    int x = 0;
    int y = 0;
    if (preferredX == -1) {
        x = workArea.x + (workArea.width - outerWidth) / 2;
        y = workArea.y +
            static_cast<int>(kWindowCentreHeightShare * (workArea.height - outerHeight));
    } else {
        x = ClampInside(preferredX, outerWidth, workArea.x, workArea.width);
        y = ClampInside(preferredY, outerHeight, workArea.y, workArea.height);
    }
    return Rect(x + frame.left, y + frame.top, clientWidth, clientHeight);
}

} // namespace Zorva
