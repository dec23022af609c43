#pragma once

#include <optional>
#include <utility>

namespace Zorva {

struct WindowMessage;

/// Where demo recording and playback reach into the main loop and the window layer. The
/// base versions neither record nor play: nothing is injected, the loop is never held,
/// every update may run and all live input is taken.
class DemoHooks
{
public:
    virtual ~DemoHooks() = default;

    virtual bool IsPlayingDemo() const { return false; }
    virtual bool IsRecordingDemo() const { return false; }
    /// Message stage: lets playback inject the events that are due.
    virtual void InjectDueDemoEvents() {}
    /// Start of StepTiming while playing: true when playback ran (or held) this step itself.
    virtual bool RunDemoTimingStep() { return false; }
    /// Whether playback holds the loop still.
    virtual bool DemoPausesLoop() const { return false; }
    /// Whether playback lets the next update run now (loading state, next event).
    virtual bool DemoAllowsUpdate() { return true; }
    /// Whether playback says loading has completed at this update.
    virtual bool DemoReportsLoadingDone() const { return true; }
    /// Called when loading completion was handled (recording writes its event).
    virtual void OnDemoLoadingHandled() {}

    /// A deferred message about to be handled (recording writes it).
    virtual void RecordWindowMessage(const WindowMessage&) {}
    /// The pointer entered or left the window, found by the timer's check.
    virtual void RecordPointerInside(bool) {}
    /// Whether live pointer, key and window-state input reaches the application; playback
    /// takes it only while its own dialogs are open.
    virtual bool TakesLiveInput() const { return true; }
    /// A character typed while live input is not taken: the playback controls.
    virtual void OnPlaybackControl(char) {}
    /// The window system asked the window to close.
    virtual void OnLiveClose() {}
    /// Where the recorded pointer is to be drawn in the frame being shown; none draws nothing.
    virtual std::optional<std::pair<int, int>> DemoPointerPosition() const { return std::nullopt; }
};

} // namespace Zorva
