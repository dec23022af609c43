#pragma once

#include "app/WindowSystem.h"

#include <deque>
#include <string>
#include <vector>

namespace Zorva {

/// A window system without a screen: the default for headless runs and the fake of the
/// tests. It remembers what it was asked, delivers the messages queued in `pending` and
/// opens no address.
class HeadlessWindowSystem : public WindowSystem
{
public:
    bool CreateMainWindow(const MainWindowSpec& spec) override;
    void DestroyMainWindow() override { hasWindow = false; }
    bool HasMainWindow() const override { return hasWindow; }
    void ShowMainWindow(bool activate) override;
    void HideMainWindow() override { shown = false; }
    std::string ErrorText() const override { return errorText; }
    void PumpMessages(const MessageSink& sink) override;
    void StartTimer(int periodMs) override { timerPeriod = periodMs; }
    Rect WorkArea() const override { return workArea; }
    Rect DesktopBounds() const override { return desktop; }
    WindowFrame FrameExtents() const override { return frame; }
    bool IsPointerInClient() const override { return pointerInClient; }
    void SetCursor(CursorKind newCursor) override { this->cursor = newCursor; }
    void SetMouseCapture(bool newCaptured) override { this->captured = newCaptured; }
    void AllowScreenSaver(bool allowed) override { screenSaverAllowed = allowed; }
    bool OpenUrl(const std::string& url) override;
    std::string GetClipboardText() const override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }

    Rect workArea{0, 0, 1024, 768};
    Rect desktop{0, 0, 1024, 768};
    WindowFrame frame;
    bool createSucceeds = true;
    std::string errorText;
    bool openUrlSucceeds = false;
    bool pointerInClient = false;

    bool hasWindow = false;
    int windowsCreated = 0;
    MainWindowSpec lastSpec;
    bool shown = false;
    bool lastShowActivated = false;
    int timerPeriod = 0;
    CursorKind cursor = CursorKind::Arrow;
    bool captured = false;
    bool screenSaverAllowed = false;
    std::vector<std::string> urlsOpened;
    std::string clipboard;
    /// Delivered by the next PumpMessages.
    std::deque<WindowMessage> pending;
};

} // namespace Zorva
