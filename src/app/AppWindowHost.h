#pragma once

#include "graphics/Rect.h"

#include <memory>
#include <string>

namespace Zorva {

class MemoryImage;
class WidgetManager;

/// What the window layer needs of the application it serves. The seams come back to the
/// application so that a derived application's versions run; the rest is the application's
/// state the window layer reads or settles.
class AppWindowHost
{
public:
    virtual ~AppWindowHost() = default;

    /// Makes the main window and initialises the display for it.
    virtual void CreateMainWindow() = 0;
    /// Re-creates the display in the mode asked for, remaking the window; `force`
    /// re-applies an unchanged mode.
    virtual void ChangeScreenMode(bool wantWindowed, bool accelerated, bool force) = 0;
    /// Shows the cursor for the cursor number.
    virtual void RefreshCursor() = 0;
    /// Every live image drops, then re-creates, its display surface (display resets).
    virtual void ReleaseImageSurfaces() = 0;
    virtual void RestoreImageSurfaces() = 0;
    virtual void PresentFrame(const Rect& rect) = 0;
    virtual void Shutdown() = 0;
    /// The browser watch's verdicts on the address asked for.
    virtual void OnWebOpenFailed(const std::string& url) = 0;
    virtual void OnWebOpenConfirmed(const std::string& url) = 0;

    virtual WidgetManager* GetWidgetManager() const = 0;
    virtual MemoryImage* GetScreenImage() const = 0;
    /// Takes the screen image the display made for itself.
    virtual void AdoptScreenImage(std::unique_ptr<MemoryImage> image) = 0;
    virtual bool IsInitialized() const = 0;
    /// The mode the game asked for, which the window layer may have to overrule.
    virtual bool IsWindowedRequested() const = 0;
    virtual bool Is3D() const = 0;
    /// Hardware acceleration failed: the display draws in software from now on.
    virtual void FallBackToSoftware() = 0;
    /// Shows the error and ends the program with a failure.
    virtual void EndWithDisplayError(const std::string& text) = 0;
    /// Whether the screensaver may run, apart from the window's mode.
    virtual bool AllowsScreenSaver() const = 0;
    /// The program runs as the screensaver: the first sign of a user ends it.
    virtual bool IsScreensaverMode() const { return false; }
    /// Ctrl+Alt+D: the debug keys are switched on or off.
    virtual void ToggleDebugKeys() = 0;
    virtual bool AreDebugKeysOn() const = 0;
};

} // namespace Zorva
