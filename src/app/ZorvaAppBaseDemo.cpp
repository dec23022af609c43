// Demo recording and playback: what enters the application from outside is written as it is
// handled, and read back at the same update numbers, so that a replay is the same run.

#include "app/ZorvaAppBase.h"

#include "app/DemoPlayer.h"
#include "app/DemoRecorder.h"
#include "resources/Buffer.h"
#include "system/AppFiles.h"
#include "system/AtomicFile.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace Zorva {

namespace {

/// Where a replay also writes the user files it would have written (tests compare them).
constexpr const char* kReplayFilesVariable = "QUARROW_REPLAY_FILES";

WindowMessageKind ButtonMessageKind(int clickCode, bool down)
{
    using Kind = WindowMessageKind;
    switch (clickCode) {
    case kClickLeftDouble:
        return Kind::LeftDouble;
    case kClickRight:
        return down ? Kind::RightDown : Kind::RightUp;
    case kClickRightDouble:
        return Kind::RightDouble;
    case kClickMiddle:
        return down ? Kind::MiddleDown : Kind::MiddleUp;
    default:
        return down ? Kind::LeftDown : Kind::LeftUp;
    }
}

/// The click code and press flag of a button message; code 0 for other messages.
std::pair<int, bool> ButtonOfMessage(WindowMessageKind kind)
{
    using Kind = WindowMessageKind;
    switch (kind) {
    case Kind::LeftDown:
        return {kClickLeft, true};
    case Kind::LeftUp:
        return {kClickLeft, false};
    case Kind::LeftDouble:
        return {kClickLeftDouble, true};
    case Kind::RightDown:
        return {kClickRight, true};
    case Kind::RightUp:
        return {kClickRight, false};
    case Kind::RightDouble:
        return {kClickRightDouble, true};
    case Kind::MiddleDown:
        return {kClickMiddle, true};
    case Kind::MiddleUp:
        return {kClickMiddle, false};
    default:
        return {0, false};
    }
}

std::vector<uint8_t> BytesOf(const Buffer& buffer)
{
    const uint8_t* data = buffer.DataPointer();
    return data == nullptr ? std::vector<uint8_t>()
                           : std::vector<uint8_t>(data, data + buffer.DataLength());
}

/// The numbers of the numbered demo files in `folder`.
std::vector<int> NumberedDemoFiles(const std::string& folder)
{
    std::vector<int> numbers;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (auto number = ParseNumberedDemoFileName(entry.path().filename().string())) {
            numbers.push_back(*number);
        }
    }
    return numbers;
}

} // namespace

void ZorvaAppBase::AddDemoMarker(const std::string& name)
{
    if (demoRecorder) {
        demoRecorder->AddMarker(name, updateCount);
    }
}

int ZorvaAppBase::GetDemoOutOfStepCount() const
{
    return demoPlayer ? demoPlayer->OutOfStepCount() : 0;
}

std::string ZorvaAppBase::ChooseDemoFile()
{
    const CommandLineOptions& options = commandLineOptions;
    const std::string userFolder = UserFolder();
    if (options.demoFileName.has_value()) {
        const std::filesystem::path named(*options.demoFileName);
        return named.is_absolute() ? named.string() : (launchFolder / named).string();
    }
    if (options.numberedDemo == NumberedDemo::None) {
        return userFolder + "/" + std::string(kDemoStem) + ".dmo";
    }
    const std::vector<int> existing = NumberedDemoFiles(userFolder);
    if (options.numberedDemo == NumberedDemo::Record) {
        const NumberedRecordingPlan plan =
            PlanNumberedRecording(existing, options.numberedDemoValue);
        if (plan.deleteNumber) {
            std::error_code error;
            std::filesystem::remove(userFolder + "/" + NumberedDemoFileName(*plan.deleteNumber),
                                    error);
        }
        return userFolder + "/" + NumberedDemoFileName(plan.newNumber);
    }
    const std::optional<int> chosen = ChooseNumberedPlayback(existing, options.numberedDemoValue);
    return userFolder + "/" + NumberedDemoFileName(chosen.value_or(1));
}

bool ZorvaAppBase::OpenDemo()
{
    std::error_code error;
    launchFolder = std::filesystem::current_path(error);
    if (commandLineOptions.recording) {
        const std::string path = ChooseDemoFile();
        EnsureFolder(std::filesystem::path(path).parent_path().string());
        demoRecorder = std::make_unique<DemoRecorder>(path, 0);
        return true;
    }
    if (!commandLineOptions.playing) {
        return true;
    }
    const std::string path = ChooseDemoFile();
    DemoPlayer::OpenResult opened =
        DemoPlayer::Open(path, std::filesystem::path(path).filename().string(), productVersion);
    if (!opened.player) {
        ShowErrorBox(opened.error);
        exitCode = 0;
        shutdown = true;
        return false;
    }
    demoPlayer = std::move(opened.player);
    if (commandLineOptions.demoToEnd) {
        demoPlayer->jumpTarget = demoPlayer->Length();
    }
    return true;
}

uint32_t ZorvaAppBase::ChooseRandomSeed()
{
    if (demoPlayer) {
        return demoPlayer->Seed();
    }
    const auto seed = static_cast<uint32_t>(clock->NowMs());
    if (demoRecorder) {
        demoRecorder->SetSeed(seed);
    }
    return seed;
}

void ZorvaAppBase::FinishDemo()
{
    if (demoPlayer && demoPlayer->OutOfStepCount() > 0) {
        std::fprintf(stderr,
                     "The demo went out of step %d times: the replay differs from the "
                     "recording.\n",
                     demoPlayer->OutOfStepCount());
        for (const std::string& note : demoPlayer->OutOfStepNotes()) {
            std::fprintf(stderr, "  %s\n", note.c_str());
        }
    }
    if (!demoRecorder) {
        return;
    }
    std::string error;
    if (!demoRecorder->Save(productVersion, updateCount, &error)) {
        ReportFileProblem("The demo could not be written to " + demoRecorder->Path() + ": " +
                          error);
        return;
    }
    OutputDebug("Demo written to " + demoRecorder->Path() + "\n");
}

void ZorvaAppBase::NoteDisplayForDemo()
{
    if (demoRecorder) {
        DemoEvent display = DemoEvent::Of(DemoEventKind::Display, updateCount);
        display.flag = window.State().windowed;
        display.code = window.RefreshRate();
        demoRecorder->Record(display);
        demoStreamStarted = true;
        return;
    }
    if (demoPlayer && !demoStreamStarted) {
        // The file was checked to start with the display record.
        if (const DemoEvent* first = demoPlayer->Due(updateCount);
            first != nullptr && first->kind == DemoEventKind::Display) {
            demoPlayer->Take();
        }
        demoStreamStarted = true;
    }
}

void ZorvaAppBase::RecordDemoEvent(DemoEvent event)
{
    event.update = updateCount;
    demoRecorder->Record(event);
}

bool ZorvaAppBase::ReplaysOutcomes() const
{
    return demoPlayer && demoStreamStarted && !playbackStopped;
}

bool ZorvaAppBase::RecordsOutcomes() const
{
    return demoRecorder && demoStreamStarted;
}

// --- The loop ---

void ZorvaAppBase::InjectDueDemoEvents()
{
    // While a playback dialog is open, its live input is the only input.
    if (!demoPlayer || demoDialogOpen) {
        return;
    }
    while (!shutdown) {
        const DemoEvent* due = demoPlayer->Due(updateCount);
        // Recorded outcomes wait for the operations that ask for them.
        if (due == nullptr || IsDemoOutcomeKind(due->kind)) {
            break;
        }
        const DemoEvent event = *due;
        demoPlayer->Take();
        ApplyDemoEvent(event);
    }
    if (!shutdown && updateCount >= demoPlayer->Length() && demoPlayer->StreamEnded()) {
        // The recording ends here; a replay that has not ended by itself ends now.
        Shutdown();
    }
}

void ZorvaAppBase::ApplyDemoEvent(const DemoEvent& event)
{
    using Kind = WindowMessageKind;
    switch (event.kind) {
    case DemoEventKind::PointerMove:
    case DemoEventKind::PointerPosition:
        recordedPointer = {event.x, event.y};
        // The drawn pointer moved: the next frame is shown even if nothing else changed.
        timing.NoteFramePainted();
        window.HandleDeferredMessage(WindowMessage::Pointer(Kind::MouseMove, event.x, event.y));
        break;
    case DemoEventKind::PointerButton:
        recordedPointer = {event.x, event.y};
        timing.NoteFramePainted();
        window.HandleDeferredMessage(WindowMessage::Pointer(
            ButtonMessageKind(event.clickCode, event.flag), event.x, event.y));
        break;
    case DemoEventKind::Wheel: {
        WindowMessage wheel =
            WindowMessage::Pointer(Kind::Wheel, recordedPointer.first, recordedPointer.second);
        wheel.wheelDelta = event.code * kWheelNotch;
        window.HandleDeferredMessage(wheel);
        break;
    }
    case DemoEventKind::Activate:
        window.State().active = event.flag;
        window.HandleDeferredMessage(WindowMessage::Activation(event.flag));
        break;
    case DemoEventKind::Minimize:
        window.HandleDeferredMessage(WindowMessage::Sized(event.flag ? WindowSizeState::Minimized
                                                                     : WindowSizeState::Restored));
        break;
    case DemoEventKind::KeyDown:
        window.HandleDeferredMessage(WindowMessage::Key(Kind::KeyDown, event.code));
        break;
    case DemoEventKind::KeyUp:
        window.HandleDeferredMessage(WindowMessage::Key(Kind::KeyUp, event.code));
        break;
    case DemoEventKind::Character:
        window.HandleDeferredMessage(WindowMessage::Key(Kind::Char, event.code));
        break;
    case DemoEventKind::Close:
        Shutdown();
        break;
    case DemoEventKind::PointerEnter:
    case DemoEventKind::PointerLeave:
        window.SetPointerInside(event.kind == DemoEventKind::PointerEnter);
        break;
    case DemoEventKind::LoadingDone:
        demoPlayer->recordedLoadingDone = true;
        break;
    case DemoEventKind::Display:
        if (event.flag != windowedRequested) {
            ChangeScreenMode(event.flag);
        }
        break;
    default:
        break;
    }
}

bool ZorvaAppBase::RunDemoTimingStep()
{
    DemoPlayer& player = *demoPlayer;
    if (demoDialogOpen) {
        // A run to a target waits, paused, until the dialog is closed.
        return false;
    }
    if (updateCount >= player.jumpTarget) {
        if (player.fastForwarding) {
            EndDemoFastForward();
        }
        return false;
    }
    const int64_t now = clock->NowMs();
    if (!player.fastForwarding) {
        player.fastForwarding = true;
        AddMute(true);
        lastFastForwardDraw = now;
    }
    // One update a step, with the messages stage between, as in the recorded run; no drawing
    // and no waiting.
    timing.SetState(LoopState::Done);
    if (TryAdvanceUpdate()) {
        ProcessDeferredDeletes();
        AdvanceFraction(1.0);
    } else {
        // Waiting for the loading thread to catch up with the recording.
        clock->SleepMs(1);
    }
    timing.Resample(clock->NowMs());
    const bool stepDone = player.singleStep && updateCount >= player.jumpTarget;
    if (stepDone || now - lastFastForwardDraw >= 1000) {
        lastFastForwardDraw = now;
        widgetManager->MarkAllDirty();
        DrawIfDue();
    }
    return true;
}

void ZorvaAppBase::EndDemoFastForward()
{
    DemoPlayer& player = *demoPlayer;
    player.fastForwarding = false;
    player.singleStep = false;
    SilenceAllSounds();
    RemoveAddMute(true);
    widgetManager->MarkAllDirty();
}

bool ZorvaAppBase::DemoPausesLoop() const
{
    return demoPlayer && demoPlayer->paused;
}

bool ZorvaAppBase::DemoAllowsUpdate()
{
    if (!demoPlayer) {
        return true;
    }
    if (loading.IsHandled() != demoPlayer->recordedLoadingDone) {
        return false;
    }
    for (;;) {
        const DemoEvent* due = demoPlayer->Due(updateCount);
        if (due == nullptr) {
            return true;
        }
        if (!IsDemoOutcomeKind(due->kind)) {
            // Input of this update comes first, in the next messages stage.
            return false;
        }
        // No operation asked for this outcome in its update: the replay went its own way.
        demoPlayer->DropStrayOutcome();
    }
}

bool ZorvaAppBase::DemoReportsLoadingDone() const
{
    return !demoPlayer || demoPlayer->recordedLoadingDone;
}

void ZorvaAppBase::OnDemoLoadingHandled()
{
    if (demoRecorder) {
        RecordDemoEvent(DemoEvent::Of(DemoEventKind::LoadingDone, 0));
    }
}

// --- Input ---

void ZorvaAppBase::RecordWindowMessage(const WindowMessage& message)
{
    using Kind = WindowMessageKind;
    DemoEvent event;
    switch (message.kind) {
    case Kind::KeyDown:
    case Kind::SystemKeyDown:
        event.kind = DemoEventKind::KeyDown;
        event.code = message.key;
        break;
    case Kind::KeyUp:
    case Kind::SystemKeyUp:
        event.kind = DemoEventKind::KeyUp;
        event.code = message.key;
        break;
    case Kind::Char:
        event.kind = DemoEventKind::Character;
        event.code = message.key;
        break;
    case Kind::Activate:
        event.kind = DemoEventKind::Activate;
        event.flag = message.active;
        break;
    case Kind::Size: {
        const bool minimized = message.sizeState == WindowSizeState::Minimized;
        if (minimized == window.State().minimized) {
            return;
        }
        event.kind = DemoEventKind::Minimize;
        event.flag = minimized;
        break;
    }
    case Kind::Close:
        event.kind = DemoEventKind::Close;
        break;
    case Kind::MouseMove:
    case Kind::Wheel:
        event.kind = DemoEventKind::PointerMove;
        event.x = message.x;
        event.y = message.y;
        RecordDemoEvent(event);
        if (message.kind != Kind::Wheel) {
            return;
        }
        event.kind = DemoEventKind::Wheel;
        event.code = message.wheelDelta / kWheelNotch;
        break;
    default: {
        const auto [clickCode, down] = ButtonOfMessage(message.kind);
        if (clickCode == 0) {
            return;
        }
        event.kind = DemoEventKind::PointerButton;
        event.x = message.x;
        event.y = message.y;
        event.clickCode = clickCode;
        event.flag = down;
        break;
    }
    }
    RecordDemoEvent(event);
}

void ZorvaAppBase::RecordPointerInside(bool inside)
{
    RecordDemoEvent(
        DemoEvent::Of(inside ? DemoEventKind::PointerEnter : DemoEventKind::PointerLeave, 0));
}

bool ZorvaAppBase::TakesLiveInput() const
{
    return !demoPlayer || playbackStopped || demoDialogOpen;
}

void ZorvaAppBase::OnLiveClose()
{
    if (demoPlayer) {
        playbackStopped = true;
    }
}

std::optional<std::pair<int, int>> ZorvaAppBase::DemoPointerPosition() const
{
    if (!demoPlayer || !window.State().mouseInWindow) {
        return std::nullopt;
    }
    return recordedPointer;
}

// --- Outcomes of the player's files, the settings and the clipboard ---

bool ZorvaAppBase::ReadUserFile(const std::string& name, Buffer& buffer, std::size_t maxBytes)
{
    if (ReplaysOutcomes()) {
        const std::optional<DemoEvent> read =
            demoPlayer->TakeOutcome(DemoEventKind::FileRead, updateCount);
        if (!read || !read->flag) {
            return false;
        }
        Buffer loaded;
        if (!loaded.AssignBytes(read->bytes.data(), std::min(read->bytes.size(), maxBytes))) {
            return false;
        }
        buffer = std::move(loaded);
        return true;
    }
    const bool read = UserFileAccess::ReadUserFile(name, buffer, maxBytes);
    if (RecordsOutcomes()) {
        DemoEvent event = DemoEvent::Of(DemoEventKind::FileRead, 0);
        event.flag = read;
        if (read) {
            event.bytes = BytesOf(buffer);
        }
        RecordDemoEvent(std::move(event));
    }
    return read;
}

bool ZorvaAppBase::WriteUserFile(const std::string& name, const Buffer& buffer)
{
    if (demoPlayer) {
        // A replay never touches the player's own files, not even after its window closed.
        MirrorReplayWrite(name, buffer);
        return !ReplaysOutcomes() || TakeRecordedSuccess(DemoEventKind::FileWrite);
    }
    const bool written = UserFileAccess::WriteUserFile(name, buffer);
    RecordSuccess(DemoEventKind::FileWrite, written);
    return written;
}

bool ZorvaAppBase::UserFileExists(const std::string& name)
{
    if (ReplaysOutcomes()) {
        return TakeRecordedSuccess(DemoEventKind::FileExists);
    }
    const bool exists = UserFileAccess::UserFileExists(name);
    RecordSuccess(DemoEventKind::FileExists, exists);
    return exists;
}

bool ZorvaAppBase::DeleteUserFile(const std::string& name)
{
    if (demoPlayer) {
        return true;
    }
    return UserFileAccess::DeleteUserFile(name);
}

bool ZorvaAppBase::RenameUserFile(const std::string& from, const std::string& to)
{
    if (demoPlayer) {
        return !ReplaysOutcomes() || TakeRecordedSuccess(DemoEventKind::FileWrite);
    }
    const bool moved = UserFileAccess::RenameUserFile(from, to);
    RecordSuccess(DemoEventKind::FileWrite, moved);
    return moved;
}

bool ZorvaAppBase::ReadSettingValue(const std::string& name, SettingType type,
                                    std::vector<uint8_t>& bytes)
{
    if (ReplaysOutcomes()) {
        const std::optional<DemoEvent> read =
            demoPlayer->TakeOutcome(DemoEventKind::SettingsRead, updateCount);
        if (!read || !read->flag || read->code != static_cast<int>(type)) {
            return false;
        }
        bytes = read->bytes;
        return true;
    }
    const bool read = SettingsAccess::ReadSettingValue(name, type, bytes);
    if (RecordsOutcomes()) {
        DemoEvent event = DemoEvent::Of(DemoEventKind::SettingsRead, 0);
        event.flag = read;
        if (read) {
            event.code = static_cast<int>(type);
            event.bytes = bytes;
        }
        RecordDemoEvent(std::move(event));
    }
    return read;
}

bool ZorvaAppBase::WriteSettingValue(const std::string& name, SettingType type,
                                     const std::vector<uint8_t>& bytes)
{
    if (demoPlayer && !playbackStopped) {
        return !ReplaysOutcomes() || TakeRecordedSuccess(DemoEventKind::SettingsWrite);
    }
    const bool written = SettingsAccess::WriteSettingValue(name, type, bytes);
    RecordSuccess(DemoEventKind::SettingsWrite, written);
    return written;
}

bool ZorvaAppBase::DeleteSettingValue(const std::string& name)
{
    if (demoPlayer && !playbackStopped) {
        return !ReplaysOutcomes() || TakeRecordedSuccess(DemoEventKind::SettingsWrite);
    }
    const bool deleted = SettingsAccess::DeleteSettingValue(name);
    RecordSuccess(DemoEventKind::SettingsWrite, deleted);
    return deleted;
}

std::string ZorvaAppBase::GetClipboard() const
{
    if (ReplaysOutcomes()) {
        const std::optional<DemoEvent> value =
            demoPlayer->TakeOutcome(DemoEventKind::PlatformValue, updateCount);
        return value ? std::string(value->bytes.begin(), value->bytes.end()) : std::string();
    }
    std::string text = GetWindowSystem()->GetClipboardText();
    if (RecordsOutcomes()) {
        DemoEvent event = DemoEvent::Of(DemoEventKind::PlatformValue, updateCount);
        event.bytes.assign(text.begin(), text.end());
        demoRecorder->Record(event);
    }
    return text;
}

void ZorvaAppBase::SetClipboard(const std::string& text)
{
    if (!demoPlayer) {
        GetWindowSystem()->SetClipboardText(text);
    }
}

bool ZorvaAppBase::TakeRecordedSuccess(DemoEventKind kind)
{
    const std::optional<DemoEvent> outcome = demoPlayer->TakeOutcome(kind, updateCount);
    return outcome && outcome->flag;
}

void ZorvaAppBase::RecordSuccess(DemoEventKind kind, bool success)
{
    if (RecordsOutcomes()) {
        DemoEvent event = DemoEvent::Of(kind, 0);
        event.flag = success;
        RecordDemoEvent(event);
    }
}

void ZorvaAppBase::MirrorReplayWrite(const std::string& name, const Buffer& buffer)
{
    const char* folder = std::getenv(kReplayFilesVariable);
    if (folder == nullptr || *folder == '\0' || UserFilePath(name).empty()) {
        return;
    }
    const std::string path = std::string(folder) + "/" + name;
    EnsureFolder(std::filesystem::path(path).parent_path().string());
    const std::vector<uint8_t> bytes = BytesOf(buffer);
    WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace Zorva
