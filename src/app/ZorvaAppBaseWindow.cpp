// The window side of the application: the main window and its modes, the deferred input
// queue, focus with automatic muting, cursors and the web-address watch.

#include "app/ZorvaAppBase.h"

#include "app/WindowPlacement.h"
#include "graphics/MemoryImage.h"
#include "widgets/InputCodes.h"
#include "widgets/WidgetManager.h"

namespace Zorva {

namespace {

/// The web-address watch decides only after this long without input...
constexpr int64_t kWebWatchQuietMs = 5001;
/// ...that a browser which took the focus away opened the address,
constexpr int64_t kWebOpenConfirmedMs = 8001;
/// or that nothing happened while the game kept the focus.
constexpr int64_t kWebOpenFailedMs = 12001;
constexpr int kDisplayCreateFailed = 2;
constexpr int kDisplayExclusiveFailed = 4;
constexpr int kDisplayModeChangeFailed = 5;
constexpr int kDisplayInvalidDepth = 6;

std::string DirectDrawFailureText(int result, const std::string& detail)
{
    return "Failed to initialize DirectDraw: " + DisplayResultName(result) + " " + detail;
}

} // namespace

std::string ZorvaAppBase::GetClipboard() const
{
    return windowSystem->GetClipboardText();
}

void ZorvaAppBase::SetClipboard(const std::string& text)
{
    windowSystem->SetClipboardText(text);
}

void ZorvaAppBase::ChooseInitialScreenMode()
{
    const Rect desktop = windowSystem->DesktopBounds();
    if (windowedRequested && !desktop.IsEmpty() &&
        (width >= desktop.width || height >= desktop.height)) {
        windowedRequested = false;
    }
    windowState.windowed = windowedRequested;
}

void ZorvaAppBase::CreateMainWindow()
{
    displayOutput->Release();
    windowSystem->DestroyMainWindow();
    windowState.windowed = windowedRequested || IsPlayingDemo();
    MainWindowSpec spec;
    spec.caption = windowCaption;
    spec.fullScreen = !windowState.windowed;
    spec.screenWidth = width;
    spec.screenHeight = height;
    if (windowState.windowed) {
        spec.clientRect =
            PlaceMainWindow(windowSystem->WorkArea(), windowSystem->FrameExtents(), width, height,
                            windowState.preferredX, windowState.preferredY);
    } else {
        // The desktop's mode is never changed: full screen covers the desktop as it is.
        const Rect desktop = windowSystem->DesktopBounds();
        spec.clientRect = desktop.IsEmpty() ? Rect(0, 0, width, height) : desktop;
    }
    if (!windowSystem->CreateMainWindow(spec)) {
        if (!windowState.windowed && !windowState.forcedFullscreen) {
            windowState.forcedWindowed = true;
            ChangeScreenMode(true);
            return;
        }
        EndWithDisplayError(DirectDrawFailureText(kDisplayCreateFailed, windowSystem->ErrorText()));
        return;
    }
    if (!displayMade) {
        displayMade = true;
        if (auto image = displayOutput->CreateScreenImage(width, height)) {
            screenImage = std::move(image);
            widgetManager->SetScreenImage(screenImage.get());
        }
    }
    if (!SettleDisplayResult(InitializeDisplay())) {
        return;
    }
    if (windowState.minimized) {
        windowState.minimized = false;
        RemoveAutomaticMute();
        ReevaluateFocus();
    }
    RestoreImageSurfaces();
    widgetManager->SetScreenImage(screenImage.get());
    widgetManager->MarkAllDirty();
    windowSystem->StartTimer(updateInterval);
}

int ZorvaAppBase::InitializeDisplay()
{
    OnBeforeDisplayInit();
    ReleaseImageSurfaces();
    const int result = displayOutput->Initialize(windowState.windowed, is3D);
    refreshRate = displayOutput->RefreshRate();
    return result;
}

bool ZorvaAppBase::SettleDisplayResult(int result)
{
    while (result != 0) {
        if (windowState.windowed && result == kDisplayInvalidDepth) {
            if (windowState.forcedWindowed) {
                EndWithDisplayError("Please set your desktop color depth to 16 bit.");
                return false;
            }
            windowState.forcedFullscreen = true;
            ChangeScreenMode(false);
            return false;
        }
        if (!windowState.windowed &&
            (result == kDisplayExclusiveFailed || result == kDisplayModeChangeFailed)) {
            // A window was already refused: neither mode works, and switching again would
            // go round for ever.
            if (windowState.forcedFullscreen) {
                EndWithDisplayError(DirectDrawFailureText(result, displayOutput->ErrorText()));
                return false;
            }
            windowState.forcedWindowed = true;
            ChangeScreenMode(true);
            return false;
        }
        if (is3D) {
            // Hardware acceleration failed: draw in software instead.
            is3D = false;
            result = InitializeDisplay();
            continue;
        }
        EndWithDisplayError(DirectDrawFailureText(result, displayOutput->ErrorText()));
        return false;
    }
    return true;
}

void ZorvaAppBase::EndWithDisplayError(const std::string& text)
{
    ShowErrorBox(text);
    exitCode = 1;
    shutdown = true;
}

void ZorvaAppBase::ChangeScreenMode(bool wantWindowed, bool accelerated, bool force)
{
    if (windowState.forcedFullscreen) {
        wantWindowed = false;
    }
    if (!force && wantWindowed == windowState.windowed && accelerated == is3D) {
        Set3D(accelerated, true);
        return;
    }
    Set3D(accelerated, false);
    windowedRequested = wantWindowed;
    CreateMainWindow();
    if (shutdown) {
        return;
    }
    // A browser opening an address keeps the focus it was given.
    windowSystem->ShowMainWindow(!webOpenPending);
    // The switch took real time that the loop must not catch up.
    timing.Resample(clock->NowMs());
}

void ZorvaAppBase::Set3D(bool on, bool reinitialise)
{
    if (on == is3D) {
        return;
    }
    is3DChangedThisRun = true;
    is3D = on;
    if (!reinitialise || !windowSystem->HasMainWindow()) {
        return;
    }
    if (SettleDisplayResult(InitializeDisplay())) {
        RestoreImageSurfaces();
        widgetManager->SetScreenImage(screenImage.get());
        widgetManager->MarkAllDirty();
    }
}

void ZorvaAppBase::ShowMainWindowForLoop()
{
    windowSystem->ShowMainWindow(true);
    if (windowState.hasFocus) {
        widgetManager->OnAppFocusIn();
    }
    loopRunning = true;
    RefreshCursor();
}

void ZorvaAppBase::ProcessWindowMessages()
{
    windowSystem->PumpMessages(
        [this](const WindowMessage& message) { HandleWindowMessage(message); });
}

void ZorvaAppBase::HandleWindowMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    if (message.kind == Kind::Paint) {
        if (loopRunning && initialized && !windowState.hidden) {
            PresentFrame(Rect(0, 0, screenImage->GetWidth(), screenImage->GetHeight()));
        }
        return;
    }
    if (!deferredMessages.Accepts(message.kind)) {
        return;
    }
    switch (message.kind) {
    case Kind::Timer:
        break;
    case Kind::KeyDown:
    case Kind::SystemKeyDown:
        if (message.key == kVirtualKeyControl) {
            windowState.ctrlDown = true;
        } else if (message.key == kVirtualKeyAlt) {
            windowState.altDown = true;
        }
        if (message.kind == Kind::SystemKeyDown && message.key == kVirtualKeyEnter) {
            // A held Enter repeats; only the press itself switches.
            if (!message.repeat && !windowState.forcedFullscreen && !windowState.forcedWindowed) {
                ChangeScreenMode(!windowedRequested);
            }
            ClearKeyState();
            return;
        }
        if (HandleDebugKeyEarly(message.key, windowState.ctrlDown, windowState.altDown)) {
            return;
        }
        break;
    case Kind::KeyUp:
    case Kind::SystemKeyUp:
        if (message.key == kVirtualKeyControl) {
            windowState.ctrlDown = false;
        } else if (message.key == kVirtualKeyAlt) {
            windowState.altDown = false;
        }
        break;
    case Kind::Activate:
        if (!IsPlayingDemo()) {
            windowState.active = message.active;
        }
        break;
    case Kind::Close:
        CloseRequested();
        break;
    default:
        break;
    }
    deferredMessages.Push(message);
}

void ZorvaAppBase::ClearKeyState()
{
    windowState.ctrlDown = false;
    windowState.altDown = false;
    widgetManager->keysDown.fill(false);
}

bool ZorvaAppBase::ProcessDeferredMessage()
{
    using Kind = WindowMessageKind;
    const std::optional<WindowMessage> next = deferredMessages.Pop();
    if (!next.has_value()) {
        return false;
    }
    const WindowMessage message = *next;
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
        widgetManager->KeyUp(message.key);
        break;
    case Kind::Char:
        widgetManager->KeyChar(static_cast<char>(message.key));
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
        Shutdown();
        break;
    case Kind::Paint:
        break;
    default:
        HandleMouseMessage(message);
        break;
    }
    return !deferredMessages.IsEmpty();
}

void ZorvaAppBase::HandleTimerMessage()
{
    WatchWebOpen();
    CheckPointerInside();
    // Until loading is done, and in full screen, the screensaver would only get in the way.
    windowSystem->AllowScreenSaver(windowState.windowed && !screensaverMode && loading.IsSettled());
}

void ZorvaAppBase::WatchWebOpen()
{
    if (!webOpenPending) {
        return;
    }
    const int64_t now = clock->NowMs();
    if (now - windowState.lastInputTime < kWebWatchQuietMs) {
        return;
    }
    const int64_t waited = now - webOpenTime;
    if (!windowState.active && waited >= kWebOpenConfirmedMs) {
        OnWebOpenConfirmed(pendingWebAddress);
    } else if (windowState.active && waited >= kWebOpenFailedMs) {
        OnWebOpenFailed(pendingWebAddress);
    }
}

void ZorvaAppBase::CheckPointerInside()
{
    const bool inside = windowSystem->IsPointerInClient();
    if (inside == windowState.mouseInWindow) {
        return;
    }
    if (!inside) {
        widgetManager->PointerExit();
    }
    windowState.mouseInWindow = inside;
    RefreshCursor();
}

void ZorvaAppBase::HandleKeyDownMessage(int key)
{
    windowState.lastInputTime = clock->NowMs();
    const auto& keys = widgetManager->keysDown;
    if (key == kVirtualKeyD && keys[kVirtualKeyControl] && keys[kVirtualKeyAlt]) {
        debugKeysEnabled = !debugKeysEnabled;
        if (debugKeysSoundId >= 0) {
            PlaySoundOnce(debugKeysSoundId);
        }
    }
    if (debugKeysEnabled && HandleDebugKey(key)) {
        return;
    }
    widgetManager->KeyDown(key);
}

void ZorvaAppBase::HandleMouseMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    windowState.lastInputTime = clock->NowMs();
    // Every mouse message is also a move, so the widgets always see where it happened.
    widgetManager->PointerMove(message.x, message.y);
    if (!windowState.mouseInWindow) {
        windowState.mouseInWindow = true;
        RefreshCursor();
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
        widgetManager->Wheel(message.wheelDelta / kWheelNotch);
        return;
    default:
        return;
    }
    if (downCode != 0) {
        windowSystem->SetMouseCapture(true);
        widgetManager->PointerDown(message.x, message.y, downCode);
        return;
    }
    widgetManager->PointerUp(message.x, message.y, upCode);
    if (widgetManager->actualButtons == 0) {
        windowSystem->SetMouseCapture(false);
    }
}

void ZorvaAppBase::HandleMoveMessage(const WindowMessage& message)
{
    if (!windowState.windowed || !message.shownNormally || windowState.minimized) {
        return;
    }
    const WindowFrame frame = windowSystem->FrameExtents();
    windowState.preferredX = message.x - frame.left;
    windowState.preferredY = message.y - frame.top;
}

void ZorvaAppBase::HandleSizeMessage(const WindowMessage& message)
{
    const bool nowMinimized = message.sizeState == WindowSizeState::Minimized;
    if (nowMinimized != windowState.minimized) {
        windowState.minimized = nowMinimized;
        if (windowState.minimized) {
            AddAutomaticMute();
        } else {
            RemoveAutomaticMute();
            widgetManager->MarkAllDirty();
        }
    }
    ReevaluateFocus();
}

void ZorvaAppBase::HandleActivateMessage(const WindowMessage&)
{
    ReevaluateFocus();
    if (windowState.active && !windowState.windowed) {
        widgetManager->MarkAllDirty();
    }
    if (!windowState.active && webOpenPending) {
        // Losing the focus right after asking for an address: a browser took it.
        OnWebOpenConfirmed(pendingWebAddress);
    }
}

void ZorvaAppBase::ReevaluateFocus()
{
    const bool focus = windowState.active && !windowState.minimized;
    if (focus == windowState.hasFocus) {
        return;
    }
    windowState.hasFocus = focus;
    if (focus) {
        RemoveAutomaticMute();
        widgetManager->OnAppFocusIn();
        OnFocusGained();
        return;
    }
    AddAutomaticMute();
    widgetManager->OnAppFocusOut();
    OnFocusLost();
    windowSystem->SetMouseCapture(false);
    widgetManager->ReleaseHeldButtons();
}

void ZorvaAppBase::AddAutomaticMute()
{
    if (muteWhenInactive) {
        AddMute(true);
    }
}

void ZorvaAppBase::RemoveAutomaticMute()
{
    // Only a mute this layer added is taken back, never one the player chose.
    if (muteWhenInactive && GetAutoMuteCount() > 0) {
        RemoveAddMute(true);
    }
}

void ZorvaAppBase::RefreshCursor()
{
    CursorKind shape = CursorKind::Arrow;
    if (IsPlayingDemo()) {
        shape = windowState.mouseInWindow ? CursorKind::Arrow : CursorKind::NoEntry;
    } else if (windowState.mouseInWindow && !windowState.hidden) {
        shape = CursorForNumber(windowState.cursorNumber);
    }
    windowSystem->SetCursor(shape);
}

bool ZorvaAppBase::OpenWebAddress(const std::string& url, bool shutdownAfter)
{
    if (webOpenPending && pendingWebAddress == url) {
        return true;
    }
    pendingWebAddress = url;
    shutdownAfterWebOpen = shutdownAfter;
    webOpenPending = true;
    webOpenTime = clock->NowMs();
    if (!windowSystem->OpenUrl(url)) {
        OnWebOpenFailed(url);
        return false;
    }
    return true;
}

void ZorvaAppBase::OnWebOpenFailed(const std::string&)
{
    webOpenPending = false;
}

void ZorvaAppBase::OnWebOpenConfirmed(const std::string&)
{
    webOpenPending = false;
    if (shutdownAfterWebOpen) {
        Shutdown();
    }
}

} // namespace Zorva
