// The application's side of the window layer: its seams hand over to AppWindow, and what
// AppWindow asks of its host.

#include "app/ZorvaAppBase.h"

#include "graphics/MemoryImage.h"
#include "system/AppFiles.h"
#include "widgets/WidgetManager.h"

#include <ctime>

namespace Zorva {

void ZorvaAppBase::SetCursor(CursorKind cursor)
{
    const int number = static_cast<int>(cursor);
    if (number != window.State().cursorNumber) {
        window.State().cursorNumber = number;
        RefreshCursor();
    }
}

void ZorvaAppBase::CreateMainWindow()
{
    window.CreateMainWindow(windowCaption, width, height, updateInterval);
    NoteDisplayForDemo();
}

void ZorvaAppBase::ChangeScreenMode(bool wantWindowed, bool accelerated, bool force)
{
    if (window.State().forcedFullscreen) {
        wantWindowed = false;
    }
    if (!force && wantWindowed == window.State().windowed && accelerated == is3D) {
        Set3D(accelerated, true);
        return;
    }
    Set3D(accelerated, false);
    windowedRequested = wantWindowed;
    CreateMainWindow();
    if (shutdown) {
        return;
    }
    window.ShowAfterModeChange();
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
    if (reinitialise) {
        window.ApplyAccelerationChange();
    }
}

void ZorvaAppBase::RefreshCursor()
{
    window.RefreshCursor();
}

void ZorvaAppBase::ProcessWindowMessages()
{
    GetWindowSystem()->PumpMessages(
        [this](const WindowMessage& message) { HandleWindowMessage(message); });
}

void ZorvaAppBase::HandleWindowMessage(const WindowMessage& message)
{
    if (message.kind != WindowMessageKind::Timer) {
        rest.NoteInput();
    }
    window.HandleWindowMessage(message);
}

bool ZorvaAppBase::ProcessDeferredMessage()
{
    return window.ProcessDeferredMessage();
}

bool ZorvaAppBase::OpenWebAddress(const std::string& url, bool shutdownAfter)
{
    return window.OpenWebAddress(url, shutdownAfter);
}

void ZorvaAppBase::OnWebOpenFailed(const std::string&)
{
    window.WebOpen().End();
}

void ZorvaAppBase::OnWebOpenConfirmed(const std::string&)
{
    window.WebOpen().End();
    if (window.WebOpen().ShutdownAfter()) {
        Shutdown();
    }
}

int ZorvaAppBase::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    if (screensaverMode) {
        LogScreenSaverError(text);
        return kMessageBoxAnswerOk;
    }
    const int result = window.ShowMessageBox(text, title, flags);
    // Time spent in the box is not caught up.
    timing.Resample(clock->NowMs());
    return result;
}

void ZorvaAppBase::ShowErrorBox(const std::string& text)
{
    if (screensaverMode) {
        LogScreenSaverError(text);
        return;
    }
    if (shutdown) {
        return;
    }
    ShowMessageBox(text, "FATAL ERROR", kMessageBoxIconError);
}

void ZorvaAppBase::LogScreenSaverError(const std::string& text)
{
    // The working folder is the read-only data folder: the log goes with the player's files.
    const std::string folder = UserFileFolder();
    if (!EnsureFolder(folder)) {
        return;
    }
    screensaverLog.Append(folder + "/ScrError.txt", text, LocalTimeText(std::time(nullptr)),
                          static_cast<uint32_t>(clock->NowMs()));
}

void ZorvaAppBase::SetMessageBoxService(std::unique_ptr<MessageBoxService> service)
{
    window.SetMessageBoxService(std::move(service));
}

void ZorvaAppBase::SetWindowSystem(std::unique_ptr<WindowSystem> system)
{
    window.SetWindowSystem(std::move(system));
}

void ZorvaAppBase::SetDisplayOutput(std::unique_ptr<DisplayOutput> output)
{
    window.SetDisplayOutput(std::move(output));
}

void ZorvaAppBase::AdoptScreenImage(std::unique_ptr<MemoryImage> image)
{
    screenImage = std::move(image);
    widgetManager->SetScreenImage(screenImage.get());
}

void ZorvaAppBase::EndWithDisplayError(const std::string& text)
{
    ShowErrorBox(text);
    exitCode = 1;
    shutdown = true;
}

bool ZorvaAppBase::AllowsScreenSaver() const
{
    return !screensaverMode && loading.IsSettled();
}

void ZorvaAppBase::ToggleDebugKeys()
{
    debugKeysEnabled = !debugKeysEnabled;
    if (debugKeysSoundId >= 0) {
        PlaySoundOnce(debugKeysSoundId);
    }
}

} // namespace Zorva
