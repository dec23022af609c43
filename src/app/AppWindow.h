#pragma once

#include "app/DeferredMessageQueue.h"
#include "app/DisplayOutput.h"
#include "app/MessageBoxService.h"
#include "app/ScreensaverExitWatch.h"
#include "app/WebOpenWatch.h"
#include "app/WindowMessage.h"
#include "app/WindowState.h"
#include "app/WindowSystem.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Zorva {

class AppAudio;
class AppHooks;
class AppWindowHost;
class DemoHooks;
class MemoryImage;
class PlatformClock;

/// The application's window layer: the main window with its placement and screen modes, the
/// display behind it, focus and activation with the automatic mute, the input the window
/// system delivers (taken in at once, handled later from the deferred queue), the cursor,
/// the browser watch and the system message box. It reaches the application through
/// AppWindowHost, and tells the game through its hooks.
///
/// Runs on the main thread only.
class AppWindow
{
public:
    /// Starts on the headless window system, the null display and standard-error messages.
    AppWindow(AppWindowHost& host, AppHooks& hooks, DemoHooks& demo, AppAudio& audio,
              PlatformClock& clock);
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    WindowState& State() { return state; }
    const WindowState& State() const { return state; }
    const DeferredMessageQueue& DeferredMessages() const { return deferredMessages; }

    WindowSystem* GetWindowSystem() const { return windowSystem.get(); }
    DisplayOutput* GetDisplayOutput() const { return displayOutput.get(); }
    /// The display may hold on to the old window: drop the display first.
    void SetWindowSystem(std::unique_ptr<WindowSystem> system);
    void SetDisplayOutput(std::unique_ptr<DisplayOutput> output);
    void SetMessageBoxService(std::unique_ptr<MessageBoxService> service);

    /// A window asked for that is as large as the desktop is full screen instead; returns
    /// the mode chosen.
    bool ChooseInitialScreenMode(bool windowedRequested, int screenWidth, int screenHeight);
    /// Makes the main window in the mode asked for and initialises the display for it; the
    /// first display makes the screen image. Falls back to the other mode, or ends the
    /// program, when a mode fails.
    void CreateMainWindow(const std::string& caption, int screenWidth, int screenHeight,
                          int timerInterval);
    /// Re-initialises the display of an existing window for a changed acceleration.
    void ApplyAccelerationChange();
    /// After a mode change; a browser opening an address keeps the focus it was given.
    void ShowAfterModeChange();
    /// Start: shows the window and gives the application the focus.
    void ShowMainWindowForLoop();
    void NoteLoopEnded() { loopRunning = false; }

    /// Presents the screen image; a lost display is re-initialised when the window can
    /// show it, and frames are dropped until it is back.
    void Present(MemoryImage& screen, const Rect& rect);
    bool IsDisplayLost() const { return displayLost; }
    int RefreshRate() const { return refreshRate; }

    /// The window procedure: ends a screensaver at the first sign of a user, notes modifier
    /// state, handles Alt+Enter and queues the rest (no timer right after a timer, nothing
    /// after a close) for the loop.
    void HandleWindowMessage(const WindowMessage& message);
    /// Handles one deferred message; false when the queue is empty afterwards.
    bool ProcessDeferredMessage();
    /// Handles a message as the deferred queue would (also for replayed input).
    void HandleDeferredMessage(const WindowMessage& message);
    /// The pointer entered or left the client area.
    void SetPointerInside(bool inside);
    /// hasFocus = active and not minimised; on a change mutes or unmutes and tells the widgets.
    void ReevaluateFocus();
    /// Shows the cursor for the cursor number.
    void RefreshCursor();

    /// Opens the address in the browser and watches whether that seemed to work.
    bool OpenWebAddress(const std::string& url, bool shutdownAfter);
    WebOpenWatch& WebOpen() { return webOpen; }
    const WebOpenWatch& WebOpen() const { return webOpen; }

    /// A system message box; the window knows that one is up while it shows.
    int ShowMessageBox(const std::string& text, const std::string& title, int flags);

private:
    /// OnBeforeDisplayInit, surfaces released, display initialised; the result code.
    int InitializeDisplay();
    /// Reacts to a display result; false when the window was remade or the program ends.
    bool SettleDisplayResult(int result);
    void ReinitializeDisplay();
    void ChangeScreenMode(bool wantWindowed);
    /// During playback: whether a live message still goes to the queue (the timer, moves,
    /// closing); typed characters go to the playback controls instead.
    bool TakeDuringPlayback(const WindowMessage& message);
    void HandleTimerMessage();
    void HandleKeyDownMessage(int key);
    void HandleMouseMessage(const WindowMessage& message);
    void HandleMoveMessage(const WindowMessage& message);
    void HandleSizeMessage(const WindowMessage& message);
    void HandleActivateMessage(const WindowMessage& message);
    void WatchWebOpen();
    void CheckPointerInside();
    /// Forgets the modifier state after a key the window layer took for itself.
    void ClearKeyState();
    void AddAutomaticMute();
    void RemoveAutomaticMute();

    AppWindowHost& host;
    AppHooks& hooks;
    DemoHooks& demo;
    AppAudio& audio;
    PlatformClock& clock;
    WindowState state;
    std::unique_ptr<MessageBoxService> messageBox;
    /// Declared before the display, which may hold on to the window until it goes.
    std::unique_ptr<WindowSystem> windowSystem;
    std::unique_ptr<DisplayOutput> displayOutput;
    DeferredMessageQueue deferredMessages;
    WebOpenWatch webOpen;
    ScreensaverExitWatch screensaverExit;
    /// Set while Start runs the main loop: paint messages present the frame then.
    bool loopRunning = false;
    bool displayMade = false;
    bool displayLost = false;
    int64_t lastReinitAttempt = 0;
    int refreshRate = 60;
};

} // namespace Zorva
