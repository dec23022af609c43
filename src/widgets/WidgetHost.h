#pragma once

#include <string>

namespace Zorva {

class Widget;

/// The cursor shapes a widget may ask for; the values are the application's cursor numbers.
enum class CursorKind
{
    Arrow = 0,
    Hand = 1,
    DraggingHand = 2,
    TextBeam = 3,
    NoEntry = 4,
    Move = 5,
    SizeRising = 6,
    SizeVertical = 7,
    SizeFalling = 8,
    SizeHorizontal = 9,
    Wait = 10,
    /// No cursor at all.
    Hidden = 11,
    /// No system cursor: the game draws its own.
    GameDrawn = 12,
};

/// The shape shown for a cursor number; numbers outside the table show the arrow.
inline CursorKind CursorForNumber(int number)
{
    if (number < 0 || number > static_cast<int>(CursorKind::GameDrawn)) {
        return CursorKind::Arrow;
    }
    return static_cast<CursorKind>(number);
}

/// What the widget manager needs from the application that owns it. The manager works
/// without one (every request is then ignored).
class WidgetHost
{
public:
    virtual ~WidgetHost() = default;

    virtual void SetCursor(CursorKind cursor) = 0;
    /// Deletes the widget once nothing on the call stack can still use it.
    virtual void DeferWidgetDelete(Widget* widget) = 0;
    /// The application's update count, stamped on every input.
    virtual int GetUpdateCount() const = 0;
    /// Whether drawing is hardware accelerated; decides the drawing hints.
    virtual bool Is3D() const = 0;
    /// The clipboard's text (Latin-1) and replacing it.
    virtual std::string GetClipboard() const = 0;
    virtual void SetClipboard(const std::string& text) = 0;
};

} // namespace Zorva
