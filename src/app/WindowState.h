#pragma once

#include <cstdint>

namespace Zorva {

/// The main window's mode, focus and input state as the window layer keeps it.
struct WindowState
{
    /// The mode actually in force after the window was made.
    bool windowed = true;
    /// A mode failed and the other was forced; Alt+Enter is then ignored.
    bool forcedFullscreen = false;
    bool forcedWindowed = false;
    bool modeChangedForFullscreen = false;
    /// The window is the active application's.
    bool active = true;
    bool minimized = false;
    /// `active` and not `minimized`, as last acted on.
    bool hasFocus = true;
    /// Painting and cursor updates stop.
    bool hidden = false;
    /// A system message box is up.
    bool systemDialogOpen = false;
    bool mouseInWindow = false;
    /// The cursor shape asked for.
    int cursorNumber = 0;
    /// Modifier state kept by the window procedure.
    bool ctrlDown = false;
    bool altDown = false;
    int64_t lastInputTime = 0;
    /// The last windowed position; -1 centres.
    int preferredX = -1;
    int preferredY = -1;
    /// The last windowed client size; 0 takes the screen's size.
    int preferredWidth = 0;
    int preferredHeight = 0;
};

} // namespace Zorva
