#include "app/ChangedRegion.h"
#include "app/HandCursors.h"
#include "app/HeadlessWindowSystem.h"
#include "app/ScreenScaler.h"
#include "app/WindowPlacement.h"
#include "app/ZorvaAppBase.h"
#include "audio/DSoundManager.h"
#include "system/Latin1Text.h"

#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace Zorva;
using Kind = WindowMessageKind;

namespace {

/// Scripted display results (0 once the script is used up) and the modes asked for.
class ScriptedDisplay : public DisplayOutput
{
public:
    bool Present(MemoryImage&, const Rect&) override { return true; }
    int Initialize(bool windowed, bool) override
    {
        modes.push_back(windowed);
        return next < results.size() ? results[next++] : 0;
    }
    std::string ErrorText() const override { return "step"; }
    std::vector<int> results;
    std::size_t next = 0;
    std::vector<bool> modes;
};

class RecordingBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string&, int) override
    {
        texts.push_back(text);
        return kMessageBoxAnswerOk;
    }
    std::vector<std::string> texts;
};

class VolumeProbe : public DSoundManager
{
public:
    void SetVolume(double volume) override { last = volume; }
    double last = -1;
};

/// An application on the fake clock and the headless window system, reachable by the test.
class WindowApp : public ZorvaAppBase
{
public:
    WindowApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        fake = static_cast<FakeClock*>(&GetClock());
        auto headless = std::make_unique<HeadlessWindowSystem>();
        windows = headless.get();
        SetWindowSystem(std::move(headless));
        auto scripted = std::make_unique<ScriptedDisplay>();
        display = scripted.get();
        SetDisplayOutput(std::move(scripted));
        auto box = std::make_unique<RecordingBox>();
        boxes = box.get();
        SetMessageBoxService(std::move(box));
        auto probe = std::make_unique<VolumeProbe>();
        sound = probe.get();
        SetSoundManager(std::move(probe));
        // Keeps the probe: Init would otherwise put the real sound device in its place.
        noSound = true;
        singleInstance = false;
        width = 800;
        height = 600;
    }
    using ZorvaAppBase::GetDeferredMessages;
    WindowState& windowState = EditWindowState();
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void OnFocusGained() override { focusEvents.push_back("gained"); }
    void OnFocusLost() override { focusEvents.push_back("lost"); }
    void CloseRequested() override { ++closeRequests; }

    void Post(const WindowMessage& message) { HandleWindowMessage(message); }
    void Post(Kind kind) { HandleWindowMessage(WindowMessage::Of(kind)); }
    void DrainQueue()
    {
        while (ProcessDeferredMessage()) {
        }
    }

    FakeClock* fake = nullptr;
    HeadlessWindowSystem* windows = nullptr;
    ScriptedDisplay* display = nullptr;
    RecordingBox* boxes = nullptr;
    VolumeProbe* sound = nullptr;
    std::vector<std::string> focusEvents;
    int closeRequests = 0;
};

/// Writes down every input it gets, in order.
class InputLog : public Widget
{
public:
    bool AcceptsFocus() override { return true; }
    void OnPointerEnter() override { log.push_back("enter"); }
    void OnPointerLeave() override { log.push_back("leave"); }
    void OnPointerMove(int px, int py) override { Note("move", px, py); }
    void OnPointerDrag(int px, int py) override { Note("drag", px, py); }
    void OnPointerDown(int px, int py, int code) override { Note("down", px, py, code); }
    void OnPointerUp(int px, int py, int code) override { Note("up", px, py, code); }
    void OnWheel(int delta) override { log.push_back("wheel " + std::to_string(delta)); }
    void OnKeyDown(int key) override { log.push_back("key " + std::to_string(key)); }
    void OnChar(char c) override { log.push_back("char " + std::to_string(c)); }
    void OnFocusIn() override
    {
        Widget::OnFocusIn();
        log.push_back("focus in");
    }
    void OnFocusOut() override
    {
        Widget::OnFocusOut();
        log.push_back("focus out");
    }

    void Note(const char* what, int px, int py, int code = 0)
    {
        std::string entry = std::string(what) + " " + std::to_string(px) + "," + std::to_string(py);
        if (code != 0) {
            entry += " " + std::to_string(code);
        }
        log.push_back(entry);
    }
    std::vector<std::string> log;
};

WindowMessage At(Kind kind, int x, int y)
{
    return WindowMessage::Pointer(kind, x, y);
}

std::vector<Kind> QueuedKinds(const WindowApp& app)
{
    std::vector<Kind> kinds;
    for (const WindowMessage& message : app.GetDeferredMessages()) {
        kinds.push_back(message.kind);
    }
    return kinds;
}

} // namespace

TEST(WindowPlacementTest, ClampsFourPixelsInsideAndCentresAtTheGoldenShare)
{
    const Rect work(0, 0, 1024, 768);
    const WindowFrame frame{3, 20, 3, 3};
    // -1 centres: outer 806 x 623, x = (1024 - 806) / 2, y = 0.382 * (768 - 623) = 55.39.
    EXPECT_EQ(PlaceMainWindow(work, frame, 800, 600, -1, -1), Rect(109 + 3, 55 + 20, 800, 600));
    // A panel at the top moves the work area; the arithmetic follows it.
    EXPECT_EQ(PlaceMainWindow(Rect(0, 32, 1024, 736), WindowFrame{}, 800, 600, -1, 0),
              Rect(112, 32 + 51, 800, 600));
    // Partly off to the right and the bottom: the frame ends 4 pixels before the edge.
    EXPECT_EQ(PlaceMainWindow(work, frame, 800, 600, 500, 400),
              Rect(1024 - 806 - 4 + 3, 768 - 623 - 4 + 20, 800, 600));
    // Off to the left and the top, on a work area that does not start at 0.
    EXPECT_EQ(PlaceMainWindow(Rect(-1280, 100, 1280, 1024), frame, 800, 600, -2000, -50),
              Rect(-1280 + 4 + 3, 104 + 20, 800, 600));
    // Well inside: kept as it was.
    EXPECT_EQ(PlaceMainWindow(work, frame, 800, 600, 50, 60), Rect(53, 80, 800, 600));
    // Larger than the work area: the top-left margin wins, never a negative overhang there.
    EXPECT_EQ(PlaceMainWindow(Rect(0, 0, 640, 480), frame, 800, 600, 10, 10),
              Rect(4 + 3, 4 + 20, 800, 600));
}

TEST(WindowPlacementTest, RememberedSizeFitsTheWorkArea)
{
    using Zorva::ClientSize;
    using Zorva::RememberedClientSize;
    const Rect work(0, 0, 1024, 768);
    const WindowFrame frame{3, 20, 3, 3};
    // None remembered: the screen's own size.
    EXPECT_EQ(RememberedClientSize(work, frame, 800, 600, 0, 0), (ClientSize{800, 600}));
    EXPECT_EQ(RememberedClientSize(work, frame, 800, 600, -1, 500), (ClientSize{800, 600}));
    EXPECT_EQ(RememberedClientSize(work, frame, 800, 600, 640, 480), (ClientSize{640, 480}));
    // Too large for the work area with frame and margins; too small to use.
    EXPECT_EQ(RememberedClientSize(work, frame, 800, 600, 3000, 2000),
              (ClientSize{1024 - 6 - 8, 768 - 23 - 8}));
    EXPECT_EQ(RememberedClientSize(work, frame, 800, 600, 10, 10), (ClientSize{200, 150}));
    EXPECT_EQ(RememberedClientSize(Rect(0, 0, 100, 100), frame, 800, 600, 640, 480),
              (ClientSize{200, 150}));
}

TEST(ScreenScalerTest, LetterboxesKeepingTheAspectAndMapsThePointerBack)
{
    struct Case
    {
        int windowWidth, windowHeight;
        Rect destination;
    };
    const Case cases[] = {
        {800, 600, Rect(0, 0, 800, 600)},    {1600, 1200, Rect(0, 0, 1600, 1200)},
        {1024, 600, Rect(112, 0, 800, 600)}, {800, 900, Rect(0, 150, 800, 600)},
        {400, 300, Rect(0, 0, 400, 300)},    {1366, 768, Rect(171, 0, 1024, 768)},
        {1000, 500, Rect(166, 0, 667, 500)},
    };
    for (const Case& c : cases) {
        ScreenScaler scaler;
        scaler.Configure(800, 600, c.windowWidth, c.windowHeight);
        const Rect d = scaler.Destination();
        EXPECT_EQ(d, c.destination) << c.windowWidth << "x" << c.windowHeight;
        int x = 0;
        int y = 0;
        // The image's corners map to the screen's corner pixels (shrunk: to the last one
        // that window pixel covers).
        scaler.WindowToScreen(d.x, d.y, x, y);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        scaler.WindowToScreen(d.x + d.width - 1, d.y + d.height - 1, x, y);
        const int slack = d.width >= 800 ? 0 : 800 / d.width;
        EXPECT_LE(x, 799);
        EXPECT_GE(x, 799 - slack) << c.windowWidth;
        EXPECT_LE(y, 599);
        EXPECT_GE(y, 599 - slack) << c.windowHeight;
        // The bars lie outside the screen on either side.
        scaler.WindowToScreen(d.x - 1, d.y - 1, x, y);
        EXPECT_LT(x, 0);
        EXPECT_LT(y, 0);
        scaler.WindowToScreen(d.x + d.width, d.y + d.height, x, y);
        EXPECT_GE(x, 800);
        EXPECT_GE(y, 600);
    }
    ScreenScaler doubled;
    doubled.Configure(800, 600, 1600, 1200);
    int x = 0;
    int y = 0;
    doubled.WindowToScreen(801, 601, x, y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
    // Whole multiples are drawn crisp, everything in between smoothed.
    for (const auto& [windowWidth, windowHeight, whole] : {std::tuple{800, 600, true},
                                                           {1600, 1200, true},
                                                           {2400, 1900, true},
                                                           {1024, 768, false},
                                                           {1600, 1199, false},
                                                           {400, 300, false},
                                                           {1366, 768, false}}) {
        ScreenScaler scaler;
        scaler.Configure(800, 600, windowWidth, windowHeight);
        EXPECT_EQ(scaler.IsWholeMultiple(), whole) << windowWidth << "x" << windowHeight;
    }
    // A minimised (zero-sized) window shows nothing and keeps positions as they are.
    ScreenScaler empty;
    empty.Configure(800, 600, 0, 0);
    EXPECT_TRUE(empty.Destination().IsEmpty());
    EXPECT_FALSE(empty.IsWholeMultiple());
    empty.WindowToScreen(5, 7, x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7);
}

TEST(DeferredQueueTest, TimerAfterTimerAndEverythingAfterCloseAreDropped)
{
    WindowApp app;
    app.Post(Kind::Timer);
    app.Post(Kind::Timer);
    app.Post(At(Kind::MouseMove, 1, 1));
    app.Post(Kind::Timer);
    app.Post(Kind::Timer);
    EXPECT_EQ(QueuedKinds(app), (std::vector<Kind>{Kind::Timer, Kind::MouseMove, Kind::Timer}));
    app.Post(Kind::Close);
    app.Post(WindowMessage::Key(Kind::KeyDown, 'A'));
    app.Post(Kind::Timer);
    app.Post(Kind::Close);
    EXPECT_EQ(app.closeRequests, 1);
    EXPECT_EQ(QueuedKinds(app).back(), Kind::Close);
    EXPECT_EQ(app.GetDeferredMessages().Size(), 4u);

    // One message per call; the last call reports the queue empty.
    EXPECT_TRUE(app.ProcessDeferredMessage());
    EXPECT_TRUE(app.ProcessDeferredMessage());
    EXPECT_TRUE(app.ProcessDeferredMessage());
    EXPECT_FALSE(app.IsShuttingDown());
    EXPECT_FALSE(app.ProcessDeferredMessage());
    EXPECT_TRUE(app.IsShuttingDown());
    EXPECT_FALSE(app.ProcessDeferredMessage());
}

TEST(DeferredQueueTest, PressAndReleaseAtOneSpotGiveMovePressMoveRelease)
{
    WindowApp app;
    app.windows->pointerInClient = true;
    InputLog widget;
    widget.Place(100, 100, 50, 50);
    WidgetManager* manager = app.GetWidgetManager();
    manager->AddWidget(&widget);

    app.Post(At(Kind::LeftDown, 110, 120));
    app.Post(At(Kind::LeftUp, 110, 120));
    app.DrainQueue();
    EXPECT_EQ(widget.log, (std::vector<std::string>{"enter", "move 10,20", "down 10,20 1",
                                                    "drag 10,20", "up 10,20 1"}));
    EXPECT_TRUE(app.windowState.mouseInWindow);
    EXPECT_FALSE(app.windows->captured);

    // Capture lasts while any button is held; click codes follow the button and the count.
    widget.log.clear();
    app.Post(At(Kind::RightDouble, 111, 120));
    app.Post(At(Kind::MiddleDown, 111, 120));
    app.ProcessDeferredMessage();
    EXPECT_TRUE(app.windows->captured);
    app.ProcessDeferredMessage();
    app.Post(At(Kind::RightUp, 111, 120));
    app.ProcessDeferredMessage();
    EXPECT_TRUE(app.windows->captured);
    app.Post(At(Kind::MiddleUp, 111, 120));
    app.ProcessDeferredMessage();
    EXPECT_FALSE(app.windows->captured);
    // While a button is held, the move of each message is a drag.
    EXPECT_EQ(widget.log,
              (std::vector<std::string>{"move 11,20", "down 11,20 -2", "drag 11,20", "down 11,20 3",
                                        "drag 11,20", "up 11,20 -1", "drag 11,20", "up 11,20 3"}));

    // The wheel turns in whole notches; leaving the window (seen on a timer) is an exit.
    widget.log.clear();
    WindowMessage wheel = At(Kind::Wheel, 111, 120);
    wheel.wheelDelta = -240;
    app.Post(wheel);
    app.ProcessDeferredMessage();
    app.windows->pointerInClient = false;
    app.Post(Kind::Timer);
    app.ProcessDeferredMessage();
    EXPECT_EQ(widget.log, (std::vector<std::string>{"wheel -2", "leave"}));
    EXPECT_FALSE(app.windowState.mouseInWindow);
    manager->RemoveWidget(&widget);
}

TEST(DeferredQueueTest, ModifiersAltEnterAndTheDebugKeys)
{
    WindowApp app;
    app.Init();
    ASSERT_TRUE(app.IsInitialized());
    const int windowsBefore = app.windows->windowsCreated;
    InputLog widget;
    WidgetManager* manager = app.GetWidgetManager();
    manager->AddWidget(&widget);
    manager->SetFocus(&widget);
    manager->OnAppFocusIn();

    app.Post(WindowMessage::Key(Kind::SystemKeyDown, kVirtualKeyAlt));
    EXPECT_TRUE(app.windowState.altDown);
    WindowMessage enter = WindowMessage::Key(Kind::SystemKeyDown, kVirtualKeyEnter);
    app.Post(enter);
    EXPECT_FALSE(app.windowedRequested);
    EXPECT_FALSE(app.windowState.windowed);
    EXPECT_TRUE(app.windows->lastSpec.fullScreen);
    EXPECT_EQ(app.windows->lastSpec.clientRect, app.windows->desktop);
    EXPECT_FALSE(app.windowState.altDown);
    // The switch itself is not queued; a held Enter does not switch back and forth.
    EXPECT_EQ(QueuedKinds(app), (std::vector<Kind>{Kind::SystemKeyDown}));
    enter.repeat = true;
    app.Post(enter);
    EXPECT_FALSE(app.windowedRequested);
    enter.repeat = false;
    app.Post(enter);
    EXPECT_TRUE(app.windowState.windowed);
    EXPECT_EQ(app.windows->windowsCreated, windowsBefore + 2);
    // After a failure forced a mode, Alt+Enter does nothing.
    app.windowState.forcedWindowed = true;
    app.Post(enter);
    EXPECT_TRUE(app.windowState.windowed);
    EXPECT_EQ(app.windows->windowsCreated, windowsBefore + 2);
    app.DrainQueue();

    // Ctrl+Alt+D switches the debug keys; the widgets still see the key.
    widget.log.clear();
    app.Post(WindowMessage::Key(Kind::KeyDown, kVirtualKeyControl));
    app.Post(WindowMessage::Key(Kind::KeyDown, kVirtualKeyAlt));
    app.Post(WindowMessage::Key(Kind::KeyDown, 'D'));
    app.Post(WindowMessage::Key(Kind::Char, 4));
    EXPECT_TRUE(app.windowState.ctrlDown);
    app.DrainQueue();
    EXPECT_TRUE(app.debugKeysEnabled);
    EXPECT_EQ(widget.log, (std::vector<std::string>{"key 17", "key 18", "key 68", "char 4"}));
    app.Post(WindowMessage::Key(Kind::KeyUp, kVirtualKeyControl));
    app.Post(WindowMessage::Key(Kind::KeyDown, 'D'));
    app.DrainQueue();
    EXPECT_FALSE(app.windowState.ctrlDown);
    EXPECT_TRUE(app.debugKeysEnabled);
    manager->RemoveWidget(&widget);
}

TEST(FocusTest, LosingFocusMutesAutomaticallyAndGainingItUnmutes)
{
    WindowApp app;
    app.Init();
    InputLog widget;
    widget.Place(0, 0, 100, 100);
    WidgetManager* manager = app.GetWidgetManager();
    manager->AddWidget(&widget);
    manager->SetFocus(&widget);
    manager->OnAppFocusIn();
    app.Post(At(Kind::LeftDown, 5, 5));
    app.DrainQueue();
    ASSERT_EQ(manager->downWidget, &widget);
    EXPECT_GT(app.sound->last, 0.0);

    app.Post(WindowMessage::Activation(false));
    EXPECT_FALSE(app.windowState.active);
    EXPECT_TRUE(app.windowState.hasFocus);
    app.DrainQueue();
    EXPECT_FALSE(app.windowState.hasFocus);
    EXPECT_TRUE(app.MuteActive());
    EXPECT_EQ(app.sound->last, 0.0);
    EXPECT_FALSE(manager->appHasFocus);
    EXPECT_EQ(manager->downWidget, nullptr);
    EXPECT_FALSE(app.windows->captured);

    // Minimised while inactive, then restored and activated: every automatic mute is gone.
    app.Post(WindowMessage::Sized(WindowSizeState::Minimized));
    app.DrainQueue();
    EXPECT_EQ(app.GetAutoMuteCount(), 2);
    app.Post(WindowMessage::Sized(WindowSizeState::Restored));
    app.Post(WindowMessage::Activation(true));
    app.DrainQueue();
    EXPECT_TRUE(app.windowState.hasFocus);
    EXPECT_FALSE(app.MuteActive());
    EXPECT_EQ(app.sound->last, app.GetSfxVolume());
    EXPECT_TRUE(manager->appHasFocus);
    EXPECT_EQ(app.focusEvents, (std::vector<std::string>{"lost", "gained"}));

    // A resized window's size is kept for the next run; a maximised one's is not.
    WindowMessage resized = WindowMessage::Sized(WindowSizeState::Restored);
    resized.clientWidth = 1000;
    resized.clientHeight = 700;
    app.Post(resized);
    resized.sizeState = WindowSizeState::Maximized;
    resized.clientWidth = 1920;
    app.Post(resized);
    app.DrainQueue();
    EXPECT_EQ(app.windowState.preferredWidth, 1000);
    EXPECT_EQ(app.windowState.preferredHeight, 700);

    // The player's own mute outlives the automatic one.
    app.AddMute(false);
    app.Post(WindowMessage::Activation(false));
    app.Post(WindowMessage::Activation(true));
    app.DrainQueue();
    EXPECT_TRUE(app.MuteActive());
    EXPECT_EQ(app.GetAutoMuteCount(), 0);
    EXPECT_EQ(app.GetMuteCount(), 1);

    // Without automatic muting, focus changes leave the volume alone.
    app.RemoveAddMute(false);
    app.muteWhenInactive = false;
    app.Post(WindowMessage::Activation(false));
    app.DrainQueue();
    EXPECT_FALSE(app.MuteActive());
    manager->RemoveWidget(&widget);
}

TEST(WebAddressTest, WatchConfirmsAfterLosingFocusAndFailsWhileKeepingIt)
{
    WindowApp app;
    app.windows->openUrlSucceeds = true;
    EXPECT_TRUE(app.OpenWebAddress("https://example.org/a", false));
    EXPECT_TRUE(app.OpenWebAddress("https://example.org/a", false));
    EXPECT_EQ(app.windows->urlsOpened.size(), 1u);
    const auto timer = [&app](int64_t ms) {
        app.fake->Advance(ms);
        app.Post(Kind::Timer);
        app.DrainQueue();
    };
    // Inactive without the activate message's own confirmation: the timer decides at 8001.
    app.windowState.lastInputTime = app.fake->NowMs();
    app.windowState.active = false;
    timer(8000);
    EXPECT_TRUE(app.IsWebOpenPending());
    timer(1);
    EXPECT_FALSE(app.IsWebOpenPending());

    // Keeping the focus: failed at 12001, but not while the player is still busy.
    app.windowState.active = true;
    EXPECT_TRUE(app.OpenWebAddress("https://example.org/b", false));
    app.windowState.lastInputTime = app.fake->NowMs();
    timer(10000);
    app.Post(WindowMessage::Key(Kind::KeyDown, 'X'));
    app.DrainQueue();
    timer(2001);
    EXPECT_TRUE(app.IsWebOpenPending());
    timer(5000);
    EXPECT_FALSE(app.IsWebOpenPending());
    EXPECT_FALSE(app.IsShuttingDown());

    // Deactivation right after the request confirms it; the request may end the program.
    EXPECT_TRUE(app.OpenWebAddress("https://example.org/c", true));
    app.Post(WindowMessage::Activation(false));
    app.DrainQueue();
    EXPECT_FALSE(app.IsWebOpenPending());
    EXPECT_TRUE(app.IsShuttingDown());

    // A refused request fails at once.
    WindowApp refused;
    EXPECT_FALSE(refused.OpenWebAddress("https://example.org/d", true));
    EXPECT_FALSE(refused.IsWebOpenPending());
    EXPECT_FALSE(refused.IsShuttingDown());
}

TEST(MainWindowTest, PlacementTimerAndScreenModeFallbacks)
{
    {
        WindowApp app;
        app.windows->frame = WindowFrame{2, 10, 2, 2};
        app.windowState.preferredX = 900;
        app.windowState.preferredY = 20;
        app.Init();
        ASSERT_TRUE(app.IsInitialized());
        EXPECT_FALSE(app.windows->lastSpec.fullScreen);
        EXPECT_EQ(app.windows->lastSpec.clientRect, Rect(1024 - 804 - 4 + 2, 20 + 10, 800, 600));
        EXPECT_EQ(app.windows->lastSpec.screenWidth, 800);
        EXPECT_EQ(app.windows->timerPeriod, app.GetUpdateInterval());
        // Moves in a normal window become the preferred frame position.
        app.Post(At(Kind::Move, 302, 210));
        WindowMessage maximised = At(Kind::Move, 0, 0);
        maximised.shownNormally = false;
        app.Post(maximised);
        app.DrainQueue();
        EXPECT_EQ(app.windowState.preferredX, 300);
        EXPECT_EQ(app.windowState.preferredY, 200);
    }
    {
        // A window that fills the desktop is full screen from the start.
        WindowApp app;
        app.windows->desktop = Rect(0, 0, 800, 600);
        app.Init();
        EXPECT_FALSE(app.windowState.windowed);
        EXPECT_EQ(app.display->modes, (std::vector<bool>{false}));
    }
    {
        // The desktop depth refuses the window: full screen is forced, Alt+Enter then stays.
        WindowApp app;
        app.display->results = {6};
        app.Init();
        EXPECT_TRUE(app.IsInitialized());
        EXPECT_TRUE(app.windowState.forcedFullscreen);
        EXPECT_EQ(app.display->modes, (std::vector<bool>{true, false}));
        app.Post(WindowMessage::Key(Kind::SystemKeyDown, kVirtualKeyEnter));
        EXPECT_FALSE(app.windowState.windowed);
    }
    {
        // Full screen refused: a window is forced.
        WindowApp app;
        app.windowedRequested = false;
        app.display->results = {4};
        app.Init();
        EXPECT_TRUE(app.windowState.forcedWindowed);
        EXPECT_TRUE(app.windowState.windowed);
        EXPECT_TRUE(app.boxes->texts.empty());
    }
    {
        // Neither mode: one clear message instead of switching for ever.
        WindowApp app;
        app.display->results = {6, 4};
        app.Init();
        EXPECT_FALSE(app.IsInitialized());
        EXPECT_EQ(app.GetExitCode(), 1);
        ASSERT_EQ(app.boxes->texts.size(), 1u);
        EXPECT_EQ(app.boxes->texts[0],
                  "Failed to initialize DirectDraw: RESULT_EXCLUSIVE_FAIL step");
    }
    {
        WindowApp app;
        app.windowState.forcedWindowed = true;
        app.display->results = {6};
        app.Init();
        ASSERT_EQ(app.boxes->texts.size(), 1u);
        EXPECT_EQ(app.boxes->texts[0], "Please set your desktop color depth to 16 bit.");
        EXPECT_EQ(app.GetExitCode(), 1);
    }
    {
        // No window at all in full screen falls back to a window; none windowed is fatal.
        WindowApp app;
        app.windowedRequested = false;
        app.windows->createSucceeds = false;
        app.windows->errorText = "no display";
        app.Init();
        EXPECT_TRUE(app.windowState.forcedWindowed);
        EXPECT_EQ(app.GetExitCode(), 1);
        ASSERT_EQ(app.boxes->texts.size(), 1u);
        EXPECT_EQ(app.boxes->texts[0],
                  "Failed to initialize DirectDraw: RESULT_DD_CREATE_FAIL no display");
    }
}

TEST(MainWindowTest, CursorFollowsTheNumberOnlyInsideTheWindow)
{
    WindowApp app;
    app.SetCursor(CursorKind::Hand);
    EXPECT_EQ(app.windows->cursor, CursorKind::Arrow);
    app.windows->pointerInClient = true;
    app.Post(Kind::Timer);
    app.DrainQueue();
    EXPECT_EQ(app.windows->cursor, CursorKind::Hand);
    app.SetCursor(CursorKind::SizeFalling);
    EXPECT_EQ(app.windows->cursor, CursorKind::SizeFalling);
    app.windowState.cursorNumber = 42;
    app.RefreshCursor();
    EXPECT_EQ(app.windows->cursor, CursorKind::Arrow);
    app.SetClipboard("caf\xe9");
    EXPECT_EQ(app.windows->clipboard, "caf\xe9");
    EXPECT_EQ(app.GetClipboard(), "caf\xe9");
}

TEST(TextConversionTest, Latin1AndUtf8)
{
    const std::string latin1 = "A\xe9\xff\x7f";
    EXPECT_EQ(Utf8FromLatin1(latin1), "A\xc3\xa9\xc3\xbf\x7f");
    EXPECT_EQ(Latin1FromUtf8(Utf8FromLatin1(latin1)), latin1);
    // Beyond 255, malformed and cut-off sequences are dropped; what follows survives.
    EXPECT_EQ(Latin1FromUtf8("\xe2\x82\xac"
                             "a"),
              "a");
    EXPECT_EQ(Latin1FromUtf8("\xf0\x9f\x98\x80"
                             "b"),
              "b");
    EXPECT_EQ(Latin1FromUtf8("\x80\xc3"
                             "c"),
              "c");
    EXPECT_EQ(Latin1FromUtf8("\xc0\xa9\xe0\x80\xa9\xed\xa0\x80"
                             "d"),
              "d");
    EXPECT_EQ(Latin1FromUtf8("e\xc3"), "e");
    EXPECT_EQ(Latin1FromUtf8("\xf4\x90\x80\x80\xf8\x88\x80\x80\x80"), "");
}

TEST(ChangedRegionTest, BoundsEveryChangedPixel)
{
    std::vector<uint32_t> before(8 * 5, 0x11);
    std::vector<uint32_t> after = before;
    EXPECT_TRUE(FindChangedRect(before.data(), after.data(), 8, 5).IsEmpty());
    after[1 * 8 + 6] = 0x22;
    EXPECT_EQ(FindChangedRect(before.data(), after.data(), 8, 5), Rect(6, 1, 1, 1));
    after[3 * 8 + 2] = 0x22;
    after[4 * 8 + 7] = 0x22;
    EXPECT_EQ(FindChangedRect(before.data(), after.data(), 8, 5), Rect(2, 1, 6, 4));
    after[0] = 0;
    EXPECT_EQ(FindChangedRect(before.data(), after.data(), 8, 5), Rect(0, 0, 8, 5));
}

TEST(HandCursorsTest, ThirtyTwoSquareWithTheHotSpotOnTheShape)
{
    for (const CursorPixels& cursor : {HandCursorPixels(), DraggingHandCursorPixels()}) {
        ASSERT_EQ(cursor.width, 32);
        ASSERT_EQ(cursor.height, 32);
        ASSERT_EQ(cursor.argb.size(), 32u * 32u);
        EXPECT_EQ(cursor.argb[static_cast<std::size_t>(cursor.hotY * 32 + cursor.hotX)] >> 24,
                  0xFFu);
        EXPECT_EQ(cursor.argb[0], 0u);
        EXPECT_EQ(cursor.argb.back(), 0u);
    }
    EXPECT_EQ(HandCursorPixels().hotX, 11);
    EXPECT_EQ(HandCursorPixels().hotY, 4);
    EXPECT_EQ(DraggingHandCursorPixels().hotX, 15);
    EXPECT_EQ(DraggingHandCursorPixels().hotY, 10);
}
