#pragma once

namespace Zorva {

/// The loop's rest. Once the screen has not changed for a while and no input came, the loop
/// waits for input for several updates' time at once instead of waking for every update,
/// then makes the updates it owes back to back, looking for input only before the first of
/// them. A new frame or any input ends the rest at once.
class LoopRest
{
public:
    /// Frames found unchanged in a row before the loop rests.
    static constexpr int kQuietFramesBeforeRest = 50;
    /// The longest wait for input while resting.
    static constexpr int kWaitMs = 40;

    void NoteFrame(bool changed) { quietFrames = changed ? 0 : quietFrames + 1; }
    void NoteInput() { quietFrames = 0; }
    bool IsResting() const { return quietFrames >= kQuietFramesBeforeRest; }
    void NoteWaited() { lookForInput = true; }
    /// Whether the loop looks for input at this step: always, except while catching up the
    /// updates after a wait of the rest, where only the first step does.
    bool TakeInputLookDue()
    {
        const bool due = !IsResting() || lookForInput;
        lookForInput = false;
        return due;
    }

private:
    int quietFrames = 0;
    bool lookForInput = true;
};

} // namespace Zorva
