#pragma once

#include <cstdint>

namespace Zorva {

/// The stage of the main loop's four-stage cycle that the next loop step performs.
enum class LoopState
{
    /// Window messages and one deferred message.
    Messages,
    /// Time accumulation, then an update, a draw or a sleep.
    UpdateDue,
    /// The bookkeeping after an update.
    AfterUpdate,
    /// The cycle is complete; the next step starts over with the messages.
    Done,
};

/// The main loop's clock arithmetic: the stage of the cycle, the real time not yet consumed by
/// updates (capped, so a stall is only partly caught up), the run of updates since the last
/// draw and the pacing of presented frames. It never reads a clock or sleeps itself; the
/// application passes the times in and acts on the answers.
class LoopTiming
{
public:
    /// The longest stretch of real time the loop catches up after a stall.
    static constexpr double kMaxPendingMs = 200.0;
    /// The most the loop yields to the loading thread in one step.
    static constexpr int64_t kMaxLoadingShareMs = 250;

    /// The real time one update stands for: `updateInterval / updateSpeed` milliseconds.
    static double StepMs(int updateInterval, double updateSpeed);
    /// Updates in a row after which a draw is due even while updates are pending.
    static int ForcedDrawAfter(double updateSpeed);
    /// The sleep that gives the loading thread about twice the loop's own working time.
    static int64_t LoadingShareMs(int64_t workedMs);
    /// The same for a step that already slept `sleptMs` of its own (a frame wait, the
    /// loop's idle sleep): that time counts as yielded. Zero or less means no sleep.
    static int64_t LoadingShareMs(int64_t workedMs, int64_t sleptMs);

    LoopState State() const { return state; }
    void SetState(LoopState next) { state = next; }

    /// Adds the time since the last sample to the pending time (the first call only samples).
    void Accumulate(int64_t now);
    /// Takes a new sample without adding: time spent away from the loop is not caught up.
    void Resample(int64_t now) { lastTimeSample = now; }
    double PendingTime() const { return pendingTime; }
    bool StepDue(double stepMs) const { return pendingTime >= stepMs; }
    void ConsumeStep(double stepMs) { pendingTime -= stepMs; }
    /// Whole milliseconds until the next step is due; zero or less when it is due.
    int MsUntilStep(double stepMs) const { return static_cast<int>(stepMs - pendingTime); }

    int UpdatesSinceDraw() const { return updatesSinceDraw; }
    void CountUpdateStep() { ++updatesSinceDraw; }
    void StartDrawRun() { updatesSinceDraw = 0; }
    bool UpdatedSinceDraw() const { return updatedSinceDraw; }
    void SetUpdatedSinceDraw(bool updated) { updatedSinceDraw = updated; }

    /// Sets every pacing time to `now`.
    void StartDrawClock(int64_t now);
    /// The loop starts: the forced present after a quiet second counts from `now`.
    void NoteLoopStart(int64_t now) { lastDrawTime = now; }
    /// A frame was painted but not presented yet.
    void NoteFramePainted() { framePending = true; }
    bool FramePending() const { return framePending; }
    /// A frame is presented when one is pending or a second has passed, and never before the
    /// throttle allows.
    bool PresentDue(int64_t now) const;
    /// Records a present that ended at `now`. While loading, frames stay at least 50 ms apart
    /// so the loader gets the time.
    void NotePresented(int64_t now, int drawMs, bool loading);
    /// Records a draw check that presented nothing.
    void NoteNothingPresented() { lastDrawEmpty = true; }
    bool LastDrawEmpty() const { return lastDrawEmpty; }
    int64_t LastPresentTime() const { return lastPresentTime; }
    int64_t NextDrawAllowedTime() const { return nextDrawAllowedTime; }

private:
    LoopState state = LoopState::Messages;
    double pendingTime = 0;
    int64_t lastTimeSample = 0;
    bool timeSampled = false;
    int updatesSinceDraw = 0;
    bool updatedSinceDraw = true;
    int64_t lastDrawTime = 0;
    int64_t nextDrawAllowedTime = 0;
    int64_t lastPresentTime = 0;
    /// Painted into the screen image but not yet presented (the throttle held it back).
    bool framePending = false;
    bool lastDrawEmpty = false;
};

} // namespace Zorva
