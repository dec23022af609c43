#pragma once

#include <optional>
#include <utility>

namespace Zorva {

/// Where demo recording and playback reach into the main loop. The base versions neither
/// record nor play: nothing is injected, the loop is never held and every update may run.
class DemoHooks
{
public:
    virtual ~DemoHooks() = default;

    virtual bool IsPlayingDemo() const { return false; }
    /// Message stage: lets playback inject the events that are due.
    virtual void InjectDueDemoEvents() {}
    /// Start of StepTiming while playing: the jump and step rules.
    virtual void ApplyDemoTimingRules() {}
    /// Whether playback holds the loop still.
    virtual bool DemoPausesLoop() const { return false; }
    /// Whether playback lets the next update run now (loading state, next event).
    virtual bool DemoAllowsUpdate() const { return true; }
    /// Whether playback says loading has completed at this update.
    virtual bool DemoReportsLoadingDone() const { return true; }
    /// Called when loading completion was handled (recording writes its event).
    virtual void OnDemoLoadingHandled() {}
    /// Where the recorded pointer is to be drawn in the frame being shown; none draws nothing.
    virtual std::optional<std::pair<int, int>> DemoPointerPosition() const { return std::nullopt; }
};

} // namespace Zorva
