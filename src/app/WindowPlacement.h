#pragma once

#include "app/WindowSystem.h"
#include "graphics/Rect.h"

namespace Zorva {

/// How far a placed window stays from the edges of the work area.
inline constexpr int kWindowEdgeMargin = 4;
/// A centred window sits at this share of the free height, a little above the middle.
inline constexpr double kWindowCentreHeightShare = 0.382;

/// A window's client size in pixels.
struct ClientSize
{
    int width = 0;
    int height = 0;

    bool operator==(const ClientSize&) const = default;
};

/// The client size of the windowed main window: the remembered size, kept between a quarter
/// of the screen and what fits in the work area with its frame and margins; the screen's
/// own size when none is remembered (0).
ClientSize RememberedClientSize(const Rect& workArea, const WindowFrame& frame, int screenWidth,
                                int screenHeight, int preferredWidth, int preferredHeight);

/// The client rectangle of the windowed main window. `preferredX`/`preferredY` are the
/// frame's top-left corner; -1 for x centres the window in the work area, anything else is
/// clamped so the whole frame keeps kWindowEdgeMargin pixels inside it.
Rect PlaceMainWindow(const Rect& workArea, const WindowFrame& frame, int clientWidth,
                     int clientHeight, int preferredX, int preferredY);

} // namespace Zorva
