#pragma once

#include "graphics/Rect.h"

namespace Zorva {

/// Fits the screen image into a window of any size: as large as fits with the aspect kept,
/// centred, the rest left as bars; and maps window pixels back to screen pixels.
class ScreenScaler
{
public:
    void Configure(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

    /// Where the screen image lands in the window; empty when either size is empty.
    Rect Destination() const { return destination; }
    /// The image is shown at a whole multiple of its size (1, 2, 3...), so every screen pixel
    /// becomes a square of window pixels and needs no smoothing.
    bool IsWholeMultiple() const;
    /// The screen pixel under a window pixel. Pixels on the bars map outside the screen;
    /// without a destination the position is kept as it is.
    void WindowToScreen(int windowX, int windowY, int& screenX, int& screenY) const;

private:
    int screenWidth = 0;
    int screenHeight = 0;
    Rect destination;
};

} // namespace Zorva
