#pragma once

#include <string>

namespace Zorva {

/// The empty virtual hooks through which the framework's application tells a game what is
/// happening. The application does its own work first and then calls the hook; the base
/// versions do nothing.
class AppHooks
{
public:
    virtual ~AppHooks() = default;

    /// On the main thread, at the first update after the loading work has returned.
    virtual void OnLoadingFinished() {}
    /// The last step of Init.
    virtual void OnInitFinished() {}
    /// The first step of Shutdown.
    virtual void OnShutdownStarting() {}
    /// After the main loop has ended, before the settings are written.
    virtual void OnLoopFinished() {}
    /// Runs on the loading thread.
    virtual void RunLoadingWork() {}
    /// Called in Init after the settings are read, before the window is made.
    virtual void OnBeforeWindowCreated() {}
    /// Called before the display is (re)initialised.
    virtual void OnBeforeDisplayInit() {}
    /// Return true to keep the working directory; else Init changes into `dataFolder`.
    virtual bool OverrideWorkingDir(const std::string& /*dataFolder*/) { return false; }
    /// After each update cycle, with 1.0.
    virtual void AdvanceFraction(double) {}
    virtual void OnFocusGained() {}
    virtual void OnFocusLost() {}
    /// Called when the window is asked to close, before the close is queued.
    virtual void CloseRequested() {}
    /// Diagnostic keys while the debug keys are on; true takes the key.
    virtual bool HandleDebugKey(int) { return false; }
    /// Offered every key down (with Ctrl and Alt) before it is queued; true swallows it.
    virtual bool HandleDebugKeyEarly(int, bool, bool) { return false; }
};

} // namespace Zorva
