#pragma once

namespace Zorva {

class Widget;

/// The cursor shapes a widget may ask for.
enum class CursorKind
{
    Arrow,
    Hand,
};

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
};

} // namespace Zorva
