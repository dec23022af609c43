#pragma once

#include "app/WindowMessage.h"
#include "graphics/Rect.h"
#include "widgets/WidgetHost.h"

#include <functional>
#include <string>

namespace Zorva {

/// The thickness of the window frame around the client area.
struct WindowFrame
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

/// What the main window should be.
struct MainWindowSpec
{
    /// 8-bit caption text.
    std::string caption;
    bool fullScreen = false;
    /// The client area's position and size on the desktop (full screen: the whole desktop).
    Rect clientRect;
    /// The size of the screen image the window shows, for pointer mapping.
    int screenWidth = 0;
    int screenHeight = 0;
};

/// The window system under the application: one main window, its messages, cursors, the
/// clipboard, the browser and the desktop geometry. Nothing above it sees platform types.
class WindowSystem
{
public:
    using MessageSink = std::function<void(const WindowMessage&)>;

    virtual ~WindowSystem() = default;

    /// Replaces any main window by a new, hidden one; false with ErrorText when none was made.
    virtual bool CreateMainWindow(const MainWindowSpec& spec) = 0;
    virtual void DestroyMainWindow() = 0;
    virtual bool HasMainWindow() const = 0;
    /// `activate` also raises it and gives it the keyboard focus.
    virtual void ShowMainWindow(bool activate) = 0;
    virtual void HideMainWindow() = 0;
    virtual std::string ErrorText() const = 0;

    /// Hands every pending event of the main window to `sink`, in order, as window messages;
    /// a due window timer arrives as a Timer message. The sink may re-create the window.
    virtual void PumpMessages(const MessageSink& sink) = 0;
    /// Blocks until input arrives or `ms` passed; false when this system cannot wait so (the
    /// caller sleeps instead).
    virtual bool WaitForInput(int /*ms*/) { return false; }
    /// Starts the window timer; 0 stops it.
    virtual void StartTimer(int periodMs) = 0;

    /// The desktop area not taken by panels and docks.
    virtual Rect WorkArea() const = 0;
    /// The whole primary display.
    virtual Rect DesktopBounds() const = 0;
    virtual WindowFrame FrameExtents() const = 0;
    /// Whether the pointer is over the main window's client area.
    virtual bool IsPointerInClient() const = 0;

    virtual void SetCursor(CursorKind cursor) = 0;
    virtual void SetMouseCapture(bool captured) = 0;
    virtual void AllowScreenSaver(bool allowed) = 0;

    /// Asks the desktop to open the address; false when it refused.
    virtual bool OpenUrl(const std::string& url) = 0;
    /// Clipboard text as 8-bit characters (characters above 255 are dropped).
    virtual std::string GetClipboardText() const = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
};

} // namespace Zorva
