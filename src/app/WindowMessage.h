#pragma once

#include "widgets/InputCodes.h"

namespace Zorva {

/// The kinds of message the window layer hands to the application.
enum class WindowMessageKind
{
    Activate,
    Move,
    Size,
    Close,
    KeyDown,
    KeyUp,
    Char,
    /// Keys the window system would take for itself (Alt combinations, F10).
    SystemKeyDown,
    SystemKeyUp,
    Timer,
    MouseMove,
    LeftDown,
    LeftUp,
    LeftDouble,
    RightDown,
    RightUp,
    RightDouble,
    MiddleDown,
    MiddleUp,
    Wheel,
    /// The window needs its picture again; never queued.
    Paint,
};

enum class WindowSizeState
{
    Restored,
    Minimized,
    Maximized,
};

/// One message of the main window, already free of platform types: keys are virtual key
/// codes, characters 8-bit, pointer positions in screen-image pixels.
struct WindowMessage
{
    WindowMessageKind kind = WindowMessageKind::Timer;
    /// Pointer position (mouse kinds) or the window's client position (Move).
    int x = 0;
    int y = 0;
    /// Virtual key code (key kinds) or character code 0..255 (Char).
    int key = 0;
    /// Wheel turn in 1/120 notches.
    int wheelDelta = 0;
    /// Activate: whether the application became the active one.
    bool active = false;
    WindowSizeState sizeState = WindowSizeState::Restored;
    /// Size: the new client size in window pixels; 0 when not known.
    int clientWidth = 0;
    int clientHeight = 0;
    /// Move: the window is neither minimised, maximised nor full screen.
    bool shownNormally = true;
    /// Key down: sent again by the key repeat while the key is held.
    bool repeat = false;

    static WindowMessage Of(WindowMessageKind kind)
    {
        WindowMessage message;
        message.kind = kind;
        return message;
    }
    static WindowMessage Key(WindowMessageKind kind, int code)
    {
        WindowMessage message = Of(kind);
        message.key = code;
        return message;
    }
    static WindowMessage Pointer(WindowMessageKind kind, int px, int py)
    {
        WindowMessage message = Of(kind);
        message.x = px;
        message.y = py;
        return message;
    }
    static WindowMessage Activation(bool isActive)
    {
        WindowMessage message = Of(WindowMessageKind::Activate);
        message.active = isActive;
        return message;
    }
    static WindowMessage Sized(WindowSizeState state)
    {
        WindowMessage message = Of(WindowMessageKind::Size);
        message.sizeState = state;
        return message;
    }
};

/// One notch of a mouse wheel.
inline constexpr int kWheelNotch = 120;

/// The largest pointer coordinate a demo can hold; recorded and replayed positions are
/// clamped to 0..this.
inline constexpr int kMaxDemoPointerPosition = 4095;

} // namespace Zorva
