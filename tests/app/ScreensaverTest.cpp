// Running as a screensaver: the first sign of a user ends the run, nothing waits for an
// answer in a message box (the messages go to a log file in the user folder), the window
// covers the screen and the pointer is hidden.

#include "app/HeadlessWindowSystem.h"
#include "app/ScreensaverExitWatch.h"
#include "app/ZorvaAppBase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

using namespace Zorva;
using Kind = WindowMessageKind;

namespace {

class RecordingBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string&, int) override
    {
        texts.push_back(text);
        return kMessageBoxNo;
    }
    std::vector<std::string> texts;
};

/// A temporary folder, gone with the object.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "screensaver-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

/// An application on the fake clock and the headless window system, started with `args`.
class SaverApp : public ZorvaAppBase
{
public:
    SaverApp(std::vector<const char*> args, const std::string& userDir)
        : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        auto headless = std::make_unique<HeadlessWindowSystem>();
        windows = headless.get();
        SetWindowSystem(std::move(headless));
        auto box = std::make_unique<RecordingBox>();
        boxes = box.get();
        SetMessageBoxService(std::move(box));
        SetUserFileFolder(userDir);
        noSound = true;
        singleInstance = false;
        width = 800;
        height = 600;
        windowedRequested = true;
        args.insert(args.begin(), "quarrow");
        commandLineAccepted = ReadCommandLine(static_cast<int>(args.size()), args.data());
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    bool IsPlayingDemo() const override { return playing; }

    bool playing = false;
    HeadlessWindowSystem* windows = nullptr;
    RecordingBox* boxes = nullptr;
    bool commandLineAccepted = false;
};

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(ScreensaverExitWatchTest, KeysButtonsLeavingAndTheFourthNewPlaceClose)
{
    ScreensaverExitWatch watch;
    const auto move = [&watch](int px, int py) {
        return watch.Feed(WindowMessage::Pointer(Kind::MouseMove, px, py));
    };
    // The first report only says where the pointer rests.
    EXPECT_FALSE(move(10, 10));
    EXPECT_FALSE(move(10, 10));
    EXPECT_FALSE(move(11, 10));
    EXPECT_FALSE(move(11, 12));
    EXPECT_FALSE(move(11, 12));
    EXPECT_FALSE(move(12, 12));
    EXPECT_EQ(watch.MoveCount(), 3);
    for (const Kind kind : {Kind::KeyUp, Kind::Char, Kind::LeftUp, Kind::Wheel, Kind::Timer}) {
        EXPECT_FALSE(watch.Feed(WindowMessage::Of(kind)));
    }
    // A window not yet active cannot be left.
    EXPECT_FALSE(watch.Feed(WindowMessage::Activation(false)));
    EXPECT_TRUE(move(10, 10));

    for (const Kind kind : {Kind::KeyDown, Kind::SystemKeyDown, Kind::LeftDown, Kind::RightDown,
                            Kind::MiddleDown, Kind::LeftDouble}) {
        EXPECT_TRUE(ScreensaverExitWatch().Feed(WindowMessage::Of(kind)));
    }
    ScreensaverExitWatch left;
    EXPECT_FALSE(left.Feed(WindowMessage::Activation(true)));
    EXPECT_TRUE(left.Feed(WindowMessage::Activation(false)));
}

namespace {

/// A log line "TEXT YYYY-MM-DD HH:MM:SS TICK" taken apart from its end.
struct LogLine
{
    std::string text;
    bool timeWellFormed = false;
    std::string tick;
};

LogLine SplitLogLine(const std::string& line)
{
    LogLine parts;
    const std::size_t tickAt = line.rfind(' ');
    // The date and time take 19 characters and a blank before them.
    if (tickAt == std::string::npos || tickAt < 20) {
        return parts;
    }
    parts.tick = line.substr(tickAt + 1);
    const std::string stamp = line.substr(tickAt - 19, 19);
    parts.text = line.substr(0, tickAt - 20);
    parts.timeWellFormed = true;
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        const char expected = std::string_view("0000-00-00 00:00:00")[i];
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        parts.timeWellFormed &= expected == '0' ? digit : stamp[i] == expected;
    }
    return parts;
}

} // namespace

TEST(ScreensaverModeTest, MessagesAreLoggedInTheUserFolderInsteadOfShown)
{
    TempFolder folder;
    const std::string userFolder = folder.path + "/home";
    const std::string logPath = userFolder + "/ScrError.txt";
    std::filesystem::create_directories(userFolder);
    std::ofstream(logPath) << "left from the run before\n";
    SaverApp app({"-screensaver"}, userFolder);
    ASSERT_TRUE(app.commandLineAccepted);
    ASSERT_TRUE(app.IsScreensaverMode());
    EXPECT_EQ(app.ShowMessageBox("Keep it?", "Question", kMessageBoxYesNo), kMessageBoxAnswerOk);
    app.ShowErrorBox("Broken");
    EXPECT_TRUE(app.boxes->texts.empty());
    const std::vector<std::string> lines = ReadLines(logPath);
    ASSERT_EQ(lines.size(), 2u);
    const LogLine first = SplitLogLine(lines[0]);
    EXPECT_EQ(first.text, "Keep it?");
    EXPECT_TRUE(first.timeWellFormed) << lines[0];
    // The tick count is the application's millisecond clock.
    EXPECT_EQ(first.tick, std::to_string(app.GetClock().NowMs()));
    const LogLine second = SplitLogLine(lines[1]);
    EXPECT_EQ(second.text, "Broken");
    EXPECT_TRUE(second.timeWellFormed) << lines[1];

    SaverApp normal({}, userFolder);
    EXPECT_EQ(normal.ShowMessageBox("Shown", "Title", kMessageBoxOk), kMessageBoxNo);
    EXPECT_EQ(normal.boxes->texts, std::vector<std::string>{"Shown"});
    EXPECT_EQ(ReadLines(logPath).size(), 2u);
    // The next run starts the file afresh.
    SaverApp nextRun({"-screensaver"}, userFolder);
    nextRun.ShowErrorBox("100%s");
    ASSERT_EQ(ReadLines(logPath).size(), 1u);
    EXPECT_EQ(ReadLines(logPath)[0].rfind("100%s ", 0), 0u);
}

TEST(ScreensaverModeTest, PointerHiddenAndTheFirstSignOfAUserEndsTheRun)
{
    TempFolder folder;
    SaverApp app({"-screensaver"}, folder.path);
    app.Init();
    ASSERT_TRUE(app.IsInitialized());
    EXPECT_TRUE(app.windows->lastSpec.fullScreen);
    app.SetCursor(CursorKind::Hand);
    app.windows->pointerInClient = true;
    app.HandleWindowMessage(WindowMessage::Of(Kind::Timer));
    while (app.ProcessDeferredMessage()) {
    }
    EXPECT_EQ(app.windows->cursor, CursorKind::Hidden);

    for (int step = 0; step < 4; ++step) {
        app.HandleWindowMessage(WindowMessage::Pointer(Kind::MouseMove, step, 5));
        app.HandleWindowMessage(WindowMessage::Pointer(Kind::MouseMove, step, 5));
    }
    EXPECT_FALSE(app.IsShuttingDown());
    // Closes at once, without waiting for the loop to reach the queued input.
    app.HandleWindowMessage(WindowMessage::Pointer(Kind::MouseMove, 9, 5));
    EXPECT_TRUE(app.IsShuttingDown());

    // A demo playing back takes no live input, but the screensaver still hears it.
    SaverApp keyed({"-screensaver"}, folder.path);
    keyed.Init();
    keyed.playing = true;
    keyed.SetCursor(CursorKind::Hand);
    EXPECT_EQ(keyed.windows->cursor, CursorKind::Hidden);
    keyed.HandleWindowMessage(WindowMessage::Of(Kind::Close));
    keyed.HandleWindowMessage(WindowMessage::Key(Kind::KeyDown, 'A'));
    EXPECT_TRUE(keyed.IsShuttingDown());

    EXPECT_TRUE(SaverApp({"-screensaver", "--windowed"}, folder.path).windowedRequested);
    SaverApp normal({}, folder.path);
    normal.Init();
    normal.HandleWindowMessage(WindowMessage::Key(Kind::KeyDown, 'A'));
    normal.HandleWindowMessage(WindowMessage::Of(Kind::LeftDown));
    EXPECT_FALSE(normal.IsShuttingDown());
}
