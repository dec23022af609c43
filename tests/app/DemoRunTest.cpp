#include "app/DemoPlayer.h"
#include "app/ZorvaAppBase.h"

#include "resources/Buffer.h"
#include "system/MTRand.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    log.Place(0, 0, 800, 600);
    app.GetWidgetManager()->AddWidget(&log);
    app.GetWidgetManager()->SetFocus(&log);
    const auto runUpdates = [&app](int count) {
        for (int i = 0; i < count && !app.IsShuttingDown(); ++i) {
            app.RunUntilUpdate();
        }
    };
    runUpdates(3);
    app.releaseLoading = true;
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::MouseMove, 100, 200));
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::LeftDown, 131, 200));
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::LeftUp, 163, 200));
    runUpdates(2);
    app.HandleWindowMessage(WindowMessage::Key(WindowMessageKind::KeyDown, 'A'));
    app.HandleWindowMessage(WindowMessage::Key(WindowMessageKind::Char, 'a'));
    WindowMessage wheel = WindowMessage::Pointer(WindowMessageKind::Wheel, 500, 20);
    wheel.wheelDelta = -2 * kWheelNotch;
    app.HandleWindowMessage(wheel);
    // A long quiet stretch, then the player's files and a setting.
    runUpdates(40);
    app.WriteUserFile("players.dat", BufferOf("recorded"));
    Buffer read;
    if (app.ReadUserFile("players.dat", read, 100)) {
        outcome.fileRead.assign(reinterpret_cast<const char*>(read.DataPointer()),
                                static_cast<std::size_t>(read.DataLength()));
    }
    outcome.missingFileExists = app.UserFileExists("nothing.dat");
    app.WriteInteger("Volume", 7);
    app.ReadInteger("Volume", outcome.volumeRead);
    runUpdates(1);
    app.HandleWindowMessage(WindowMessage::Pointer(WindowMessageKind::MouseMove, -40, 5000));
    runUpdates(1);
    app.HandleWindowMessage(WindowMessage::Of(WindowMessageKind::Close));
    runUpdates(1000);
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
