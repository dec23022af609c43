#pragma once

#include "app/DemoEvent.h"
#include "app/DemoEventReader.h"
#include "app/DemoFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {

/// A demo being played back: the stream of recorded events read in step with the run, and
/// the viewer's controls over it (pause, jumps, the target to run to).
class DemoPlayer
{
public:
    explicit DemoPlayer(DemoFile demoFile);

    /// The outcome of opening a demo file: the player, or the message that refuses it.
    struct OpenResult
    {
        std::unique_ptr<DemoPlayer> player;
        std::string error;
    };
    /// Reads and checks the file at `path`; `shownName` names it in the messages.
    static OpenResult Open(const std::string& path, const std::string& shownName,
                           const std::string& productVersion);

    uint32_t Seed() const { return demo.seed; }
    /// The recorded run's length in updates.
    int Length() const { return demo.totalUpdates; }
    const std::vector<DemoMarker>& Markers() const { return demo.markers; }

    /// The next event when it is due at `updateCount`; null otherwise.
    const DemoEvent* Due(int updateCount);
    /// Consumes the event Due returned.
    void Take() { reader.Take(); }
    /// For an operation whose outcome was recorded: the next event when it is due and of
    /// `kind`, consumed. Otherwise nothing is consumed and the run is counted out of step.
    std::optional<DemoEvent> TakeOutcome(DemoEventKind kind, int updateCount);
    /// Skips an outcome that no operation asked for (the run went out of step).
    void DropStrayOutcome();
    /// Events the run did not match: the replay differs from the recording when non-zero.
    int OutOfStepCount() const { return outOfStep; }
    /// What the first mismatches were, for the report at exit.
    const std::vector<std::string>& OutOfStepNotes() const { return outOfStepNotes; }
    bool StreamEnded() { return reader.AtEnd(); }

    /// The update to run to without drawing (0 for none).
    int JumpTargetForSecondsBeforeEnd(int seconds, int updateInterval) const;
    /// The jump dialog's text "h:m:s" (any number of fields) counted back from the end; none
    /// when the text holds no number.
    std::optional<int> JumpTargetForTimeText(const std::string& text, int updateInterval) const;
    /// A marker still ahead as the marker list shows it, with the update it marks.
    struct MarkerLine
    {
        std::string line;
        int update = 0;
    };
    /// The markers after `updateCount` in recorded order, each with the time from it to the
    /// end.
    std::vector<MarkerLine> MarkersAhead(int updateCount, int updateInterval) const;
    /// The marker list's lines: the text of MarkersAhead.
    std::vector<std::string> MarkerListLines(int updateCount, int updateInterval) const;
    /// The first marker after `updateCount`, if any.
    std::optional<int> NextMarkerUpdate(int updateCount) const;

    // The viewer's controls and the loop's playback state.
    bool recordedLoadingDone = false;
    int jumpTarget = 0;
    bool fastForwardToMarker = false;
    bool singleStep = false;
    bool paused = false;
    bool fastForwarding = false;

private:
    DemoFile demo;
    DemoEventReader reader;
    void NoteOutOfStep(const std::string& what);

    int outOfStep = 0;
    std::vector<std::string> outOfStepNotes;
};

/// Whether `kind` is the recorded outcome of an operation rather than input.
bool IsDemoOutcomeKind(DemoEventKind kind);

} // namespace Zorva
