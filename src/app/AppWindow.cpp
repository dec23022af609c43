#include "app/AppWindow.h"

#include "app/AppAudio.h"
#include "app/AppHooks.h"
#include "app/AppWindowHost.h"
#include "app/DemoHooks.h"
#include "app/HeadlessWindowSystem.h"
#include "app/PlatformClock.h"
#include "app/WindowPlacement.h"
#include "graphics/MemoryImage.h"
#include "widgets/InputCodes.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Zorva {

namespace {

/// A lost display in an inactive window is tried again at most this often.
constexpr int64_t kReinitRetryMs = 1000;
constexpr int kDisplayCreateFailed = 2;
constexpr int kDisplayExclusiveFailed = 4;
constexpr int kDisplayModeChangeFailed = 5;
constexpr int kDisplayInvalidDepth = 6;
constexpr int kDisplayAccelerationFailed = 7;

std::string DirectDrawFailureText(int result, const std::string& detail)
{
    return "Failed to initialize DirectDraw: " + DisplayResultName(result) + " " + detail;
}

} // namespace

AppWindow::AppWindow(AppWindowHost& windowHost, AppHooks& appHooks, DemoHooks& demoHooks,
                     AppAudio& appAudio, PlatformClock& platformClock)
    : host(windowHost), hooks(appHooks), demo(demoHooks), audio(appAudio), clock(platformClock),
      messageBox(std::make_unique<StderrMessageBox>()),
      windowSystem(std::make_unique<HeadlessWindowSystem>()),
      displayOutput(std::make_unique<NullDisplayOutput>())
{}

AppWindow::~AppWindow() = default;

void AppWindow::SetWindowSystem(std::unique_ptr<WindowSystem> system)
{
    windowSystem = std::move(system);
}

void AppWindow::SetDisplayOutput(std::unique_ptr<DisplayOutput> output)
{
    displayOutput = std::move(output);
}

void AppWindow::SetMessageBoxService(std::unique_ptr<MessageBoxService> service)
{
    messageBox = std::move(service);
}

bool AppWindow::ChooseInitialScreenMode(bool windowedRequested, int screenWidth, int screenHeight)
{
    const Rect desktop = windowSystem->DesktopBounds();
    if (windowedRequested && !desktop.IsEmpty() &&
        (screenWidth >= desktop.width || screenHeight >= desktop.height)) {
        windowedRequested = false;
    }
    state.windowed = windowedRequested;
    return windowedRequested;
}

void AppWindow::CreateMainWindow(const std::string& caption, int screenWidth, int screenHeight,
                                 int timerInterval)
{
    displayOutput->Release();
    windowSystem->DestroyMainWindow();
    state.windowed = host.IsWindowedRequested() || demo.IsPlayingDemo();
    MainWindowSpec spec;
    spec.caption = caption;
    spec.fullScreen = !state.windowed;
    spec.screenWidth = screenWidth;
    spec.screenHeight = screenHeight;
    if (state.windowed) {
        const Rect workArea = windowSystem->WorkArea();
        const WindowFrame frame = windowSystem->FrameExtents();
        const ClientSize size = RememberedClientSize(workArea, frame, screenWidth, screenHeight,
                                                     state.preferredWidth, state.preferredHeight);
        spec.clientRect = PlaceMainWindow(workArea, frame, size.width, size.height,
                                          state.preferredX, state.preferredY);
    } else {
        // The desktop's mode is never changed: full screen covers the desktop as it is.
        const Rect desktop = windowSystem->DesktopBounds();
        spec.clientRect = desktop.IsEmpty() ? Rect(0, 0, screenWidth, screenHeight) : desktop;
    }
    if (!windowSystem->CreateMainWindow(spec)) {
        if (!state.windowed && !state.forcedFullscreen) {
            state.forcedWindowed = true;
            ChangeScreenMode(true);
            return;
        }
        host.EndWithDisplayError(
            DirectDrawFailureText(kDisplayCreateFailed, windowSystem->ErrorText()));
        return;
    }
    if (!displayMade) {
        displayMade = true;
        if (auto image = displayOutput->CreateScreenImage(screenWidth, screenHeight)) {
            host.AdoptScreenImage(std::move(image));
        }
    }
    if (!SettleDisplayResult(InitializeDisplay())) {
        return;
    }
    if (state.minimized) {
        state.minimized = false;
        RemoveAutomaticMute();
        ReevaluateFocus();
    }
    host.RestoreImageSurfaces();
    host.GetWidgetManager()->SetScreenImage(host.GetScreenImage());
    host.GetWidgetManager()->MarkAllDirty();
    windowSystem->StartTimer(timerInterval);
}

int AppWindow::InitializeDisplay()
{
    hooks.OnBeforeDisplayInit();
    host.ReleaseImageSurfaces();
    const int result = displayOutput->Initialize(state.windowed, host.Is3D());
    refreshRate = displayOutput->RefreshRate();
    return result;
}

bool AppWindow::SettleDisplayResult(int result)
{
    while (result != 0) {
        if (state.windowed && result == kDisplayInvalidDepth) {
            if (state.forcedWindowed) {
                host.EndWithDisplayError("Please set your desktop color depth to 16 bit.");
                return false;
            }
            state.forcedFullscreen = true;
            ChangeScreenMode(false);
            return false;
        }
        if (!state.windowed &&
            (result == kDisplayExclusiveFailed || result == kDisplayModeChangeFailed)) {
            // A window was already refused: neither mode works, and switching again would
            // go round for ever.
            if (state.forcedFullscreen) {
                host.EndWithDisplayError(DirectDrawFailureText(result, displayOutput->ErrorText()));
                return false;
            }
            state.forcedWindowed = true;
            ChangeScreenMode(true);
            return false;
        }
        if (host.Is3D()) {
            // Hardware acceleration failed: draw in software instead.
            host.FallBackToSoftware();
            result = InitializeDisplay();
            continue;
        }
        host.EndWithDisplayError(DirectDrawFailureText(result, displayOutput->ErrorText()));
        return false;
    }
    return true;
}

void AppWindow::ChangeScreenMode(bool wantWindowed)
{
    host.ChangeScreenMode(wantWindowed, host.Is3D(), false);
}

void AppWindow::ApplyAccelerationChange()
{
    if (!windowSystem->HasMainWindow()) {
        return;
    }
    if (SettleDisplayResult(InitializeDisplay())) {
        host.RestoreImageSurfaces();
        host.GetWidgetManager()->SetScreenImage(host.GetScreenImage());
        host.GetWidgetManager()->MarkAllDirty();
    }
}

void AppWindow::ShowAfterModeChange()
{
    windowSystem->ShowMainWindow(!webOpen.IsPending());
}

void AppWindow::ShowMainWindowForLoop()
{
    windowSystem->ShowMainWindow(true);
    if (state.hasFocus) {
        host.GetWidgetManager()->OnAppFocusIn();
    }
    loopRunning = true;
    host.RefreshCursor();
}

void AppWindow::Present(MemoryImage& screen, const Rect& rect)
{
    if (displayOutput->Present(screen, rect)) {
        displayLost = false;
        return;
    }
    // Until the display is back, frames are dropped and only the present is retried.
    displayLost = true;
    const int64_t now = clock.NowMs();
    if (!state.minimized &&
        (state.active || (state.windowed && now - lastReinitAttempt >= kReinitRetryMs))) {
        lastReinitAttempt = now;
        ReinitializeDisplay();
    }
}

void AppWindow::ReinitializeDisplay()
{
    hooks.OnBeforeDisplayInit();
    host.ReleaseImageSurfaces();
    int result = displayOutput->Initialize(state.windowed, host.Is3D());
    refreshRate = displayOutput->RefreshRate();
    if (result == kDisplayInvalidDepth && host.IsWindowedRequested() && state.active) {
        // The desktop cannot show the window: full screen sets its own depth.
        state.forcedFullscreen = true;
        ChangeScreenMode(false);
        return;
    }
    if (result == kDisplayAccelerationFailed) {
        host.FallBackToSoftware();
        result = displayOutput->Initialize(state.windowed, host.Is3D());
    }
    if (result != 0) {
        return;
    }
    displayLost = false;
    host.RestoreImageSurfaces();
    host.GetWidgetManager()->SetScreenImage(host.GetScreenImage());
    host.GetWidgetManager()->MarkAllDirty();
}

void AppWindow::HandleWindowMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    // Before anything may drop the message: live input ends a screensaver even while the
    // loop ignores it (a demo playing back).
    if (host.IsScreensaverMode() && screensaverExit.Feed(message)) {
        host.Shutdown();
        return;
    }
    if (message.kind == Kind::Paint) {
        if (loopRunning && host.IsInitialized() && !state.hidden) {
            const MemoryImage* screen = host.GetScreenImage();
            host.PresentFrame(Rect(0, 0, screen->GetWidth(), screen->GetHeight()));
        }
        return;
    }
    if (!deferredMessages.Accepts(message.kind)) {
        return;
    }
    if (!demo.TakesLiveInput() && !TakeDuringPlayback(message)) {
        return;
    }
    switch (message.kind) {
    case Kind::Timer:
        break;
    case Kind::KeyDown:
    case Kind::SystemKeyDown:
        if (message.key == kVirtualKeyControl) {
            state.ctrlDown = true;
        } else if (message.key == kVirtualKeyAlt) {
            state.altDown = true;
        }
        if (message.kind == Kind::SystemKeyDown && message.key == kVirtualKeyEnter) {
            // A held Enter repeats; only the press itself switches.
            if (!message.repeat && !state.forcedFullscreen && !state.forcedWindowed) {
                ChangeScreenMode(!host.IsWindowedRequested());
            }
            ClearKeyState();
            return;
        }
        if (hooks.HandleDebugKeyEarly(message.key, state.ctrlDown, state.altDown)) {
            return;
        }
        break;
    case Kind::KeyUp:
    case Kind::SystemKeyUp:
        if (message.key == kVirtualKeyControl) {
            state.ctrlDown = false;
        } else if (message.key == kVirtualKeyAlt) {
            state.altDown = false;
        }
        break;
    case Kind::Activate:
        if (!demo.IsPlayingDemo()) {
            state.active = message.active;
        }
        break;
    case Kind::Close:
        demo.OnLiveClose();
        hooks.CloseRequested();
        break;
    default:
        break;
    }
    deferredMessages.Push(message);
}

bool AppWindow::TakeDuringPlayback(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    switch (message.kind) {
    case Kind::Char:
        demo.OnPlaybackControl(static_cast<char>(message.key));
        return false;
    case Kind::Timer:
    case Kind::Move:
    case Kind::Close:
        return true;
    default:
        // Pointer, keys, focus and minimising come from the recording.
        return false;
    }
}

void AppWindow::ClearKeyState()
{
    state.ctrlDown = false;
    state.altDown = false;
    host.GetWidgetManager()->keysDown.fill(false);
}

bool AppWindow::ProcessDeferredMessage()
{
    const std::optional<WindowMessage> next = deferredMessages.Pop();
    if (!next.has_value()) {
        return false;
    }
    WindowMessage message = *next;
    if (demo.IsRecordingDemo()) {
        // A recording holds positions of 12 bits; the widgets see what it holds.
        message.x = std::clamp(message.x, 0, kMaxDemoPointerPosition);
        message.y = std::clamp(message.y, 0, kMaxDemoPointerPosition);
        demo.RecordWindowMessage(message);
    }
    HandleDeferredMessage(message);
    return !deferredMessages.IsEmpty();
}

void AppWindow::HandleDeferredMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    WidgetManager* widgets = host.GetWidgetManager();
    switch (message.kind) {
    case Kind::Timer:
        HandleTimerMessage();
        break;
    case Kind::KeyDown:
    case Kind::SystemKeyDown:
        HandleKeyDownMessage(message.key);
        break;
    case Kind::KeyUp:
    case Kind::SystemKeyUp:
        widgets->KeyUp(message.key);
        break;
    case Kind::Char:
        widgets->KeyChar(static_cast<char>(message.key));
        break;
    case Kind::Move:
        HandleMoveMessage(message);
        break;
    case Kind::Size:
        HandleSizeMessage(message);
        break;
    case Kind::Activate:
        HandleActivateMessage(message);
        break;
    case Kind::Close:
        host.Shutdown();
        break;
    case Kind::Paint:
        break;
    default:
        HandleMouseMessage(message);
        break;
    }
}

void AppWindow::HandleTimerMessage()
{
    WatchWebOpen();
    CheckPointerInside();
    // Until loading is done, and in full screen, the screensaver would only get in the way.
    windowSystem->AllowScreenSaver(state.windowed && host.AllowsScreenSaver());
}

void AppWindow::WatchWebOpen()
{
    if (!webOpen.IsPending()) {
        return;
    }
    switch (webOpen.Check(clock.NowMs(), state.lastInputTime, state.active)) {
    case WebOpenWatch::Verdict::Opened:
        host.OnWebOpenConfirmed(webOpen.Address());
        break;
    case WebOpenWatch::Verdict::Failed:
        host.OnWebOpenFailed(webOpen.Address());
        break;
    case WebOpenWatch::Verdict::Undecided:
        break;
    }
}

void AppWindow::CheckPointerInside()
{
    if (demo.IsPlayingDemo()) {
        return;
    }
    const bool inside = windowSystem->IsPointerInClient();
    if (inside == state.mouseInWindow) {
        return;
    }
    if (demo.IsRecordingDemo()) {
        demo.RecordPointerInside(inside);
    }
    SetPointerInside(inside);
}

void AppWindow::SetPointerInside(bool inside)
{
    if (inside == state.mouseInWindow) {
        return;
    }
    if (!inside) {
        host.GetWidgetManager()->PointerExit();
    }
    state.mouseInWindow = inside;
    host.RefreshCursor();
}

void AppWindow::HandleKeyDownMessage(int key)
{
    state.lastInputTime = clock.NowMs();
    WidgetManager* widgets = host.GetWidgetManager();
    const auto& keys = widgets->keysDown;
    if (key == kVirtualKeyD && keys[kVirtualKeyControl] && keys[kVirtualKeyAlt]) {
        host.ToggleDebugKeys();
    }
    if (host.AreDebugKeysOn() && hooks.HandleDebugKey(key)) {
        return;
    }
    widgets->KeyDown(key);
}

void AppWindow::HandleMouseMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    state.lastInputTime = clock.NowMs();
    WidgetManager* widgets = host.GetWidgetManager();
    // Every mouse message is also a move, so the widgets always see where it happened.
    widgets->PointerMove(message.x, message.y);
    if (!state.mouseInWindow) {
        state.mouseInWindow = true;
        host.RefreshCursor();
    }
    int downCode = 0;
    int upCode = 0;
    switch (message.kind) {
    case Kind::LeftDown:
        downCode = kClickLeft;
        break;
    case Kind::LeftDouble:
        downCode = kClickLeftDouble;
        break;
    case Kind::RightDown:
        downCode = kClickRight;
        break;
    case Kind::RightDouble:
        downCode = kClickRightDouble;
        break;
    case Kind::MiddleDown:
        downCode = kClickMiddle;
        break;
    case Kind::LeftUp:
        upCode = kClickLeft;
        break;
    case Kind::RightUp:
        upCode = kClickRight;
        break;
    case Kind::MiddleUp:
        upCode = kClickMiddle;
        break;
    case Kind::Wheel:
        widgets->Wheel(message.wheelDelta / kWheelNotch);
        return;
    default:
        return;
    }
    if (downCode != 0) {
        windowSystem->SetMouseCapture(true);
        widgets->PointerDown(message.x, message.y, downCode);
        return;
    }
    widgets->PointerUp(message.x, message.y, upCode);
    if (widgets->actualButtons == 0) {
        windowSystem->SetMouseCapture(false);
    }
}

void AppWindow::HandleMoveMessage(const WindowMessage& message)
{
    if (!state.windowed || !message.shownNormally || state.minimized) {
        return;
    }
    const WindowFrame frame = windowSystem->FrameExtents();
    state.preferredX = message.x - frame.left;
    state.preferredY = message.y - frame.top;
}

void AppWindow::HandleSizeMessage(const WindowMessage& message)
{
    const bool nowMinimized = message.sizeState == WindowSizeState::Minimized;
    if (nowMinimized != state.minimized) {
        state.minimized = nowMinimized;
        if (state.minimized) {
            AddAutomaticMute();
        } else {
            RemoveAutomaticMute();
            host.GetWidgetManager()->MarkAllDirty();
        }
    }
    // Only a window of its own size is remembered, not a maximised or full-screen one.
    if (state.windowed && message.sizeState == WindowSizeState::Restored &&
        message.clientWidth > 0 && message.clientHeight > 0) {
        state.preferredWidth = message.clientWidth;
        state.preferredHeight = message.clientHeight;
    }
    ReevaluateFocus();
}

void AppWindow::HandleActivateMessage(const WindowMessage&)
{
    ReevaluateFocus();
    if (state.active && !state.windowed) {
        host.GetWidgetManager()->MarkAllDirty();
    }
    if (!state.active && webOpen.IsPending()) {
        // Losing the focus right after asking for an address: a browser took it.
        host.OnWebOpenConfirmed(webOpen.Address());
    }
}

void AppWindow::ReevaluateFocus()
{
    const bool focus = state.active && !state.minimized;
    if (focus == state.hasFocus) {
        return;
    }
    state.hasFocus = focus;
    WidgetManager* widgets = host.GetWidgetManager();
    if (focus) {
        RemoveAutomaticMute();
        widgets->OnAppFocusIn();
        hooks.OnFocusGained();
        return;
    }
    AddAutomaticMute();
    widgets->OnAppFocusOut();
    hooks.OnFocusLost();
    windowSystem->SetMouseCapture(false);
    widgets->ReleaseHeldButtons();
}

void AppWindow::AddAutomaticMute()
{
    if (audio.muteWhenInactive) {
        audio.AddMute(true);
    }
}

void AppWindow::RemoveAutomaticMute()
{
    // Only a mute this layer added is taken back, never one the player chose.
    if (audio.muteWhenInactive && audio.GetAutoMuteCount() > 0) {
        audio.RemoveAddMute(true);
    }
}

void AppWindow::RefreshCursor()
{
    CursorKind shape = CursorKind::Arrow;
    if (host.IsScreensaverMode()) {
        // Full screen, the window is all there is to point at.
        shape = CursorKind::Hidden;
    } else if (demo.IsPlayingDemo()) {
        shape = state.mouseInWindow ? CursorKind::Arrow : CursorKind::NoEntry;
    } else if (state.mouseInWindow && !state.hidden) {
        shape = CursorForNumber(state.cursorNumber);
    }
    windowSystem->SetCursor(shape);
}

bool AppWindow::OpenWebAddress(const std::string& url, bool shutdownAfter)
{
    if (webOpen.IsPending() && webOpen.Address() == url) {
        return true;
    }
    webOpen.Begin(url, shutdownAfter, clock.NowMs());
    if (!windowSystem->OpenUrl(url)) {
        host.OnWebOpenFailed(url);
        return false;
    }
    return true;
}

int AppWindow::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    state.systemDialogOpen = true;
    const int result = messageBox->Show(text, title, flags);
    state.systemDialogOpen = false;
    return result;
}

} // namespace Zorva
