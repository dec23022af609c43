#include "app/DemoJumpDialog.h"
#include "app/DemoMarkerDialog.h"
#include "app/DemoPlayer.h"
#include "app/ZorvaAppBase.h"

#include "resources/Buffer.h"
#include "system/MTRand.h"
#include "widgets/EditWidget.h"
#include "widgets/InputCodes.h"
#include "widgets/ListWidget.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Zorva;

namespace {

/// Notes every input it receives, with the update it came at.
class InputLog : public Widget
{
public:
    explicit InputLog(const ZorvaAppBase& owner) : app(owner) {}
    bool AcceptsFocus() override { return true; }
    void OnPointerDown(int px, int py, int clickCode) override
    {
        Note("down " + std::to_string(px) + "," + std::to_string(py) + " " +
             std::to_string(clickCode));
    }
    void OnPointerUp(int px, int py, int clickCode) override
    {
        Note("up " + std::to_string(px) + "," + std::to_string(py) + " " +
             std::to_string(clickCode));
    }
    void OnPointerMove(int px, int py) override
    {
        Note("move " + std::to_string(px) + "," + std::to_string(py));
    }
    void OnKeyDown(int key) override { Note("key " + std::to_string(key)); }
    void OnChar(char character) override { Note(std::string("char ") + character); }
    void OnWheel(int delta) override { Note("wheel " + std::to_string(delta)); }

    void Note(const std::string& text)
    {
        lines.push_back(text + " @" + std::to_string(app.GetUpdateCount()));
    }

    const ZorvaAppBase& app;
    std::vector<std::string> lines;
};

/// Puts the log over the whole screen with the keyboard focus.
void ShowWithFocus(ZorvaAppBase& app, InputLog& log)
{
    log.Place(0, 0, 800, 600);
    app.GetWidgetManager()->AddWidget(&log);
    app.GetWidgetManager()->SetFocus(&log);
}

void RunUpdates(ZorvaAppBase& app, int count)
{
    for (int i = 0; i < count && !app.IsShuttingDown(); ++i) {
        app.RunUntilUpdate();
    }
}

class DemoApp : public ZorvaAppBase
{
public:
    DemoApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        singleInstance = false;
        settingsPath = std::string(std::getenv("QUARROW_HOME")) + "/settings.conf";
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void RunLoadingWork() override
    {
        while (!releaseLoading) {
            std::this_thread::yield();
        }
    }
    /// The end of loading reads a file, as the game's does.
    void OnLoadingFinished() override { playersAtLoadingEnd = UserFileExists("players.dat"); }
    std::atomic<bool> releaseLoading{false};
    bool playersAtLoadingEnd = false;
};

std::string ProcessFolder()
{
    return (std::filesystem::temp_directory_path() / ("zorva_demo_" + std::to_string(::getpid())))
        .string();
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Buffer BufferOf(const std::string& text)
{
    Buffer buffer;
    buffer.PutBytes(text.data(), text.size());
    return buffer;
}

/// What a run saw from outside besides its widget's input.
struct RunOutcome
{
    std::vector<std::string> input;
    std::string fileRead;
    bool missingFileExists = true;
    int volumeRead = -1;
    uint32_t firstRandom = 0;
    int updates = 0;
    std::pair<int, int> lastPointer;
    bool playersAtLoadingEnd = false;
    int outOfStep = -1;
};

/// The same script recorded and replayed: live input (ignored on playback), file and
/// settings operations at fixed updates, then the window closes.
RunOutcome RunScript(const std::vector<CommandLineParam>& params, bool loadingEndsLate)
{
    DemoApp app;
    EXPECT_TRUE(app.ApplyCommandLine(params));
    app.Init();
    EXPECT_TRUE(app.IsInitialized());
    // A replay hands the end of loading over at the recorded update, however early its own
    // loading thread is done.
    app.releaseLoading = !loadingEndsLate;
    app.StartLoadingThread();
    RunOutcome outcome;
    outcome.firstRandom = Rand().Next();
    InputLog log(app);
    ShowWithFocus(app, log);
    RunUpdates(app, 3);
    app.releaseLoading = true;
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::MouseMove, 100, 200));
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::LeftDown, 131, 200));
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::LeftUp, 163, 200));
    RunUpdates(app, 2);
    app.HandleWindowMessage(WindowMessage::Key(WindowMessageKind::KeyDown, 'A'));
    app.HandleWindowMessage(WindowMessage::Key(WindowMessageKind::Char, 'a'));
    WindowMessage wheel = WindowMessage::Pointer(WindowMessageKind::Wheel, 500, 20);
    wheel.wheelDelta = -2 * kWheelNotch;
    app.HandleWindowMessage(wheel);
    // A long quiet stretch, then the player's files and a setting.
    RunUpdates(app, 40);
    app.WriteUserFile("players.dat", BufferOf("recorded"));
    Buffer read;
    if (app.ReadUserFile("players.dat", read, 100)) {
        outcome.fileRead.assign(reinterpret_cast<const char*>(read.DataPointer()),
                                static_cast<std::size_t>(read.DataLength()));
    }
    outcome.missingFileExists = app.UserFileExists("nothing.dat");
    app.WriteInteger("Volume", 7);
    app.ReadInteger("Volume", outcome.volumeRead);
    RunUpdates(app, 1);
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::MouseMove, -40, 5000));
    RunUpdates(app, 1);
    app.HandleWindowMessage(WindowMessage::Of(WindowMessageKind::Close));
    RunUpdates(app, 1000);
    EXPECT_TRUE(app.IsShuttingDown());
    app.GetWidgetManager()->RemoveWidget(&log);
    outcome.input = log.lines;
    outcome.playersAtLoadingEnd = app.playersAtLoadingEnd;
    outcome.outOfStep = app.GetDemoOutOfStepCount();
    outcome.lastPointer = {app.GetWidgetManager()->lastX, app.GetWidgetManager()->lastY};
    outcome.updates = app.GetUpdateCount();
    return outcome;
}

} // namespace

TEST(DemoRunTest, ReplayIsTheRecordedRunAndTouchesNoFile)
{
    const std::string home = ProcessFolder() + "/replay";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("QUARROW_HOME", home.c_str(), 1);
    const std::string demo = home + "/run.dmo";

    const RunOutcome recorded = RunScript({{"-record", ""}, {"-demofile", demo}}, true);
    ASSERT_TRUE(std::filesystem::exists(demo));
    EXPECT_EQ(recorded.fileRead, "recorded");
    EXPECT_FALSE(recorded.missingFileExists);
    // Positions beyond what a demo holds reach the widgets clamped, as they are replayed.
    EXPECT_EQ(recorded.lastPointer, std::make_pair(0, 4095));
    EXPECT_EQ(recorded.volumeRead, 7);

    const std::string settingsRecorded = ReadText(home + "/settings.conf");
    ASSERT_NE(settingsRecorded.find("Volume"), std::string::npos);
    // The files change after the recording; the replay must still see the recorded ones.
    std::ofstream(home + "/players.dat") << "changed";
    std::ofstream(home + "/nothing.dat") << "now here";
    const RunOutcome replayed = RunScript({{"-play", ""}, {"-demofile", demo}}, false);
    EXPECT_EQ(replayed.input, recorded.input);
    EXPECT_EQ(replayed.outOfStep, 0);
    EXPECT_EQ(replayed.playersAtLoadingEnd, recorded.playersAtLoadingEnd);
    EXPECT_EQ(replayed.fileRead, "recorded");
    EXPECT_FALSE(replayed.missingFileExists);
    EXPECT_EQ(replayed.volumeRead, 7);
    EXPECT_EQ(replayed.firstRandom, recorded.firstRandom);
    EXPECT_EQ(replayed.updates, recorded.updates);
    EXPECT_EQ(replayed.lastPointer, recorded.lastPointer);
    EXPECT_EQ(ReadText(home + "/players.dat"), "changed");
    EXPECT_EQ(ReadText(home + "/settings.conf"), settingsRecorded);

    // Straight to the end without drawing gives the same run.
    const RunOutcome skipped =
        RunScript({{"-play", ""}, {"-demofile", demo}, {"--demo-to-end", ""}}, false);
    EXPECT_EQ(skipped.input, recorded.input);
    EXPECT_EQ(skipped.outOfStep, 0);
    std::filesystem::remove_all(ProcessFolder());
}

TEST(DemoRunTest, UnplayableDemosEndTheProgramWithTheirMessage)
{
    const std::string home = ProcessFolder() + "/refused";
    std::filesystem::create_directories(home);
    ::setenv("QUARROW_HOME", home.c_str(), 1);
    std::ofstream(home + "/bad.dmo") << "not a demo at all";
    const std::pair<std::string, std::string> cases[] = {
        {home + "/missing.dmo", "Demo file not found: missing.dmo"},
        {home + "/bad.dmo", "Invalid demo file."},
    };
    for (const auto& [file, message] : cases) {
        DemoApp app;
        ASSERT_TRUE(app.ApplyCommandLine({{"-play", ""}, {"-demofile", file}}));
        testing::internal::CaptureStderr();
        app.Init();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(app.IsInitialized());
        EXPECT_EQ(app.GetExitCode(), 0);
        EXPECT_NE(said.find(message), std::string::npos) << said;
    }
    std::filesystem::remove_all(ProcessFolder());
}

namespace {

void SendChar(ZorvaAppBase& app, char character)
{
    app.HandleWindowMessage(WindowMessage::Key(WindowMessageKind::Char, character));
}

/// Runs loop steps until the queued live messages are handled; stops at an update.
void HandleMessages(ZorvaAppBase& app)
{
    bool updated = false;
    for (int i = 0; i < 8 && !updated; ++i) {
        app.LoopStep(updated);
    }
}

/// A run of 250 updates with markers at 20 and 120 and one character typed at 20; during
/// playback `viewer` acts after 5 updates. Returns what the run's widget received.
std::vector<std::string> RunWithMarkers(const std::vector<CommandLineParam>& params,
                                        const std::function<void(DemoApp&)>& viewer)
{
    DemoApp app;
    EXPECT_TRUE(app.ApplyCommandLine(params));
    app.Init();
    InputLog log(app);
    ShowWithFocus(app, log);
    RunUpdates(app, 5);
    if (app.IsPlayingDemo()) {
        viewer(app);
    }
    RunUpdates(app, 15);
    app.AddDemoMarker("first");
    SendChar(app, 'x');
    RunUpdates(app, 100);
    app.AddDemoMarker("second");
    RunUpdates(app, 130);
    app.HandleWindowMessage(WindowMessage::Of(WindowMessageKind::Close));
    RunUpdates(app, 1000);
    EXPECT_TRUE(app.IsShuttingDown());
    app.GetWidgetManager()->RemoveWidget(&log);
    return log.lines;
}

} // namespace

TEST(DemoRunTest, ViewerDialogsPauseTakeLiveInputAndSetTheJumpTarget)
{
    const std::string home = ProcessFolder() + "/dialogs";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("QUARROW_HOME", home.c_str(), 1);
    const std::string demo = home + "/run.dmo";
    const std::vector<std::string> recorded =
        RunWithMarkers({{"-record", ""}, {"-demofile", demo}}, [](DemoApp&) {});
    {
        DemoApp viewerSettings;
        viewerSettings.WriteString("DemoJumpTime", "0:02");
    }

    const std::vector<std::string> replayed =
        RunWithMarkers({{"-play", ""}, {"-demofile", demo}}, [](DemoApp& app) {
            DemoPlayer& player = *app.GetDemoPlayer();
            const int length = player.Length();
            ASSERT_GT(length, 240);

            SendChar(app, 'J');
            auto* jump = dynamic_cast<DemoJumpDialog*>(app.FindDialog(DemoJumpDialog::kDialogId));
            ASSERT_NE(jump, nullptr);
            EXPECT_EQ(jump->Field().text, "0:02");
            EXPECT_TRUE(player.paused);
            // The stored text is selected: typing replaces it.
            const int openedAt = app.GetUpdateCount();
            SendChar(app, '1');
            SendChar(app, 'J');
            HandleMessages(app);
            EXPECT_EQ(jump->Field().text, "1J");
            EXPECT_EQ(app.GetUpdateCount(), openedAt);
            app.HandleWindowMessage(
                WindowMessage::Key(WindowMessageKind::KeyDown, kVirtualKeyEnter));
            HandleMessages(app);
            EXPECT_EQ(app.FindDialog(DemoJumpDialog::kDialogId), nullptr);
            EXPECT_FALSE(player.paused);
            EXPECT_EQ(player.jumpTarget, length - 200);

            // Escape cancels and leaves the target alone; a pause from before stays.
            SendChar(app, 'p');
            SendChar(app, 'j');
            app.HandleWindowMessage(
                WindowMessage::Key(WindowMessageKind::KeyDown, kVirtualKeyEscape));
            HandleMessages(app);
            EXPECT_EQ(app.FindDialog(DemoJumpDialog::kDialogId), nullptr);
            EXPECT_TRUE(player.paused);
            SendChar(app, 'p');
            EXPECT_EQ(player.jumpTarget, length - 200);

            SendChar(app, 'L');
            auto* markers =
                dynamic_cast<DemoMarkerDialog*>(app.FindDialog(DemoMarkerDialog::kDialogId));
            ASSERT_NE(markers, nullptr);
            EXPECT_EQ(markers->List().lines,
                      (std::vector<std::string>{"first (00:00:02)", "second (00:00:01)"}));
            markers->OnListClicked(DemoMarkerDialog::kListId, 1, kClickLeftDouble);
            EXPECT_EQ(app.FindDialog(DemoMarkerDialog::kDialogId), nullptr);
            EXPECT_EQ(player.jumpTarget, 120);
            EXPECT_FALSE(player.paused);
        });
    // The viewer's typing never reached the replayed run, which stays the recorded one.
    EXPECT_EQ(replayed, recorded);
    DemoApp viewerSettings;
    std::string stored;
    EXPECT_TRUE(viewerSettings.ReadString("DemoJumpTime", stored));
    EXPECT_EQ(stored, "1J");
    std::filesystem::remove_all(ProcessFolder());
}

/// Loads until the test lets the loading thread finish.
class SlowLoadingApp : public DemoApp
{
public:
    SlowLoadingApp() { loadingThreadEnabled = true; }
    ~SlowLoadingApp() override
    {
        release = true;
        WaitForLoadingThread();
    }
    void RunLoadingWork() override
    {
        for (int i = 0; i < 5000 && !release; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::atomic<bool> release{false};
};

TEST(DemoRunTest, InputDueAfterAnOutcomeTheReplayDidNotAskForStillArrives)
{
    const std::string home = ProcessFolder() + "/stray";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("QUARROW_HOME", home.c_str(), 1);
    const std::string demo = home + "/run.dmo";
    const auto run = [&demo](const std::string& mode) {
        SlowLoadingApp app;
        EXPECT_TRUE(app.ApplyCommandLine({{mode, ""}, {"-demofile", demo}}));
        app.Init();
        app.StartLoadingThread();
        InputLog log(app);
        ShowWithFocus(app, log);
        // Loop steps, not RunUntilUpdate: a replay that waits forever must fail, not hang.
        const auto runUpdates = [&app](int count) {
            const int target = app.GetUpdateCount() + count;
            for (int step = 0; step < 100 * count && app.GetUpdateCount() < target; ++step) {
                bool updated = false;
                app.LoopStep(updated);
            }
        };
        runUpdates(3);
        if (app.IsRecordingDemo()) {
            // The replay goes its own way here: it never reads this setting.
            int volume = 0;
            app.ReadInteger("Volume", volume);
        }
        // Still loading, so no draw takes the loop back to its messages.
        SendChar(app, 'a');
        runUpdates(2);
        app.release = true;
        runUpdates(5);
        const std::vector<std::string> lines = log.lines;
        app.GetWidgetManager()->RemoveWidget(&log);
        return std::make_pair(lines, app.GetUpdateCount());
    };
    const auto recorded = run("-record");
    ASSERT_FALSE(recorded.first.empty());
    const auto replayed = run("-play");
    EXPECT_EQ(replayed.first, recorded.first);
    EXPECT_EQ(replayed.second, recorded.second);
    std::filesystem::remove_all(ProcessFolder());
}
