#pragma once

#include "app/ScreenScaler.h"
#include "app/WindowSystem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace Zorva {

/// The window system on SDL2: one main window (resizable, or desktop full screen), its events
/// as window messages, the window timer, cursors, clipboard and browser. Video is opened with
/// the first instance's construction and closed with its destruction.
class SdlWindowSystem : public WindowSystem
{
public:
    SdlWindowSystem();
    ~SdlWindowSystem() override;
    SdlWindowSystem(const SdlWindowSystem&) = delete;
    SdlWindowSystem& operator=(const SdlWindowSystem&) = delete;

    bool CreateMainWindow(const MainWindowSpec& spec) override;
    void DestroyMainWindow() override;
    bool HasMainWindow() const override { return window != nullptr; }
    void ShowMainWindow(bool activate) override;
    void HideMainWindow() override;
    std::string ErrorText() const override { return errorText; }
    void PumpMessages(const MessageSink& sink) override;
    bool WaitForInput(int ms) override;
    void StartTimer(int periodMs) override;
    Rect WorkArea() const override;
    Rect DesktopBounds() const override;
    WindowFrame FrameExtents() const override { return frame; }
    bool IsPointerInClient() const override;
    void SetCursor(CursorKind cursor) override;
    void SetMouseCapture(bool captured) override;
    void AllowScreenSaver(bool allowed) override;
    bool OpenUrl(const std::string& url) override;
    std::string GetClipboardText() const override;
    void SetClipboardText(const std::string& text) override;

    // For the display back-end.
    SDL_Window* Window() const { return window.get(); }
    uint32_t WindowId() const;
    bool IsFullScreen() const { return fullScreen; }
    /// True once after the window was made, exposed or resized: the whole picture is due.
    bool TakeFullRedrawRequest();
    /// True once after the renderer's device was reset or lost.
    bool TakeDisplayReset();

private:
    struct WindowDeleter
    {
        void operator()(SDL_Window* window) const;
    };
    struct CursorDeleter
    {
        void operator()(SDL_Cursor* cursor) const;
    };
    using CursorPtr = std::unique_ptr<SDL_Cursor, CursorDeleter>;
    static constexpr std::size_t kCursorCount = 13;

    /// Notes what the window layer itself must know of an event (size, exposure, resets).
    void ObserveEvent(const SDL_Event& event);
    void UpdateScaler();
    SDL_Cursor* CursorFor(CursorKind cursor);

    bool videoReady = false;
    /// The video driver blocks on its event source; others would poll in SDL's wait.
    bool eventsWaitable = false;
    std::string errorText;
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    bool fullScreen = false;
    int screenWidth = 0;
    int screenHeight = 0;
    ScreenScaler scaler;
    WindowFrame frame;
    int timerPeriod = 0;
    uint64_t nextTimerDue = 0;
    bool fullRedrawRequested = false;
    bool displayReset = false;
    std::array<CursorPtr, kCursorCount> cursors;
    std::optional<bool> screenSaverAllowed;
    bool captureOn = false;
};

} // namespace Zorva
