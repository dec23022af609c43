#pragma once

#include "app/WindowSystem.h"
#include "graphics/Rect.h"

namespace Zorva {

/// How far a placed window stays from the edges of the work area.
inline constexpr int kWindowEdgeMargin = 4;
/// A centred window sits at this share of the free height, a little above the middle.
inline constexpr double kWindowCentreHeightShare = 0.382;

/// The client rectangle of the windowed main window. `preferredX`/`preferredY` are the
/// frame's top-left corner; -1 for x centres the window in the work area, anything else is
/// clamped so the whole frame keeps kWindowEdgeMargin pixels inside it.
Rect PlaceMainWindow(const Rect& workArea, const WindowFrame& frame, int clientWidth,
                     int clientHeight, int preferredX, int preferredY);

} // namespace Zorva
