#pragma once

namespace Zorva {

/// The size, in pixels, of the screen image the game and the tools draw into; the window
/// shows it scaled to whatever size the window has.
inline constexpr int kDefaultScreenWidth = 800;
inline constexpr int kDefaultScreenHeight = 600;

} // namespace Zorva
