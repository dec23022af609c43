#include "app/ZorvaAppBase.h"

#include "app/SettingsStore.h"
#include "audio/DSoundManager.h"
#include "graphics/Graphics.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Zorva;

namespace {

/// Records the fake time of every frame shown.
class RecordingDisplay : public DisplayOutput
{
public:
    explicit RecordingDisplay(PlatformClock* source) : clock(source) {}
    bool Present(MemoryImage&, const Rect&) override
    {
        times.push_back(clock->NowMs());
        return true;
    }
    int Initialize(bool, bool) override { return 0; }
    PlatformClock* clock;
    std::vector<int64_t> times;
};

class RecordingSound : public DSoundManager
{
public:
    void SetVolume(double volume) override { volumes.push_back(volume); }
    void SetMasterVolume(double volume) override { master = volume; }
    std::vector<double> volumes;
    double master = -1;
};

class RecordingMusic : public MusicInterface
{
public:
    void SetVolume(double volume) override { volumes.push_back(volume); }
    std::vector<double> volumes;
};

class RecordingMessageBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string&, int) override
    {
        texts.push_back(text);
        return 1;
    }
    std::vector<std::string> texts;
};

/// An application on the fake clock that logs the update count at every draw check.
class TestApp : public ZorvaAppBase
{
public:
    explicit TestApp(std::unique_ptr<FakeClock> fake = std::make_unique<FakeClock>())
        : ZorvaAppBase(std::move(fake))
    {
        fakeClock = static_cast<FakeClock*>(&GetClock());
    }
    ~TestApp() override { WaitForLoadingThread(); }
    using ZorvaAppBase::CountDeferredDeletes;
    using ZorvaAppBase::GetLoopTiming;
    using ZorvaAppBase::IsInnerLoopBroken;
    using ZorvaAppBase::IsShutdownRequestedElsewhere;
    WindowState& windowState = EditWindowState();

    bool DrawIfDue() override
    {
        drawChecks.push_back(GetUpdateCount());
        return ZorvaAppBase::DrawIfDue();
    }
    void ProcessWindowMessages() override { ++messageRounds; }
    void OnLoadingFinished() override { ++loadingFinishedCalls; }
    void RunLoadingWork() override
    {
        while (!releaseLoading) {
            std::this_thread::yield();
        }
    }

    FakeClock* fakeClock = nullptr;
    std::vector<int> drawChecks;
    int messageRounds = 0;
    int loadingFinishedCalls = 0;
    std::atomic<bool> releaseLoading{true};
};

/// Counts its paints; optionally asks to be repainted every `invalidateEvery` ticks.
class CountingWidget : public Widget
{
public:
    explicit CountingWidget(int every = 0, bool* deletedFlag = nullptr)
        : invalidateEvery(every), deleted(deletedFlag)
    {}
    ~CountingWidget() override
    {
        if (deleted != nullptr) {
            *deleted = true;
        }
    }
    void Tick() override
    {
        Widget::Tick();
        ++ticks;
        if (invalidateEvery > 0 && ticks % invalidateEvery == 0) {
            Invalidate();
        }
    }
    void Paint(Graphics& graphics) override
    {
        ++paints;
        graphics.SetColor(Color(255, 255, 255));
        graphics.FillRect(Rect(0, 0, width, height));
    }
    int invalidateEvery;
    bool* deleted;
    int ticks = 0;
    int paints = 0;
};

void Steps(ZorvaAppBase& app, int count)
{
    for (int i = 0; i < count; ++i) {
        bool updated = false;
        app.LoopStep(updated);
    }
}

std::string TempPath(const std::string& name)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("zorva_app_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

} // namespace

TEST(ZorvaAppBaseTest, Construction_DefaultsAndScreen)
{
    TestApp app;
    EXPECT_EQ(app.productName, "Product");
    EXPECT_EQ(app.windowCaption, "ZorvaApp");
    EXPECT_EQ(app.width, 640);
    EXPECT_EQ(app.height, 480);
    EXPECT_EQ(app.windowState.preferredX, -1);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.85);
    EXPECT_EQ(app.GetUpdateInterval(), 10);
    EXPECT_TRUE(app.GetLoopTiming().UpdatedSinceDraw());
    ASSERT_NE(app.GetScreenImage(), nullptr);
    EXPECT_EQ(app.GetScreenImage()->GetWidth(), 800);
    EXPECT_EQ(app.GetScreenImage()->GetHeight(), 600);
}

TEST(ZorvaAppBaseTest, DebugLog_KeepsItsLatestPartInALongRun)
{
    TestApp app;
    const std::string line = std::string(99, 'x') + "\n";
    for (std::size_t i = 0; i < 3 * AppDebugOutput::kMaxLogBytes / line.size(); ++i) {
        app.OutputDebug(line);
    }
    app.OutputDebug("the last line\n");
    const std::string log = app.GetDebugLog();
    EXPECT_LE(log.size(), AppDebugOutput::kMaxLogBytes);
    EXPECT_GE(log.size(), AppDebugOutput::kMaxLogBytes / 2);
    EXPECT_EQ(log.substr(log.size() - 14), "the last line\n");
}

TEST(ZorvaAppBaseTest, StepTiming_SpeedTwoGivesFiveMsStepsAndForcedDrawAfterTwenty)
{
    TestApp app;
    app.SetUpdateSpeed(2.0);
    Steps(app, 2); // messages, then the first time sample (and the first draw)
    ASSERT_EQ(app.drawChecks, std::vector<int>{0});
    app.fakeClock->Advance(200);
    while (app.drawChecks.size() < 3) {
        bool updated = false;
        ASSERT_TRUE(app.LoopStep(updated));
    }
    // 200 ms of debt at 5 ms a step: 40 updates, drawn after each run of 20.
    EXPECT_EQ(app.drawChecks, (std::vector<int>{0, 20, 40}));
    EXPECT_EQ(app.GetUpdateCount(), 40);
    EXPECT_EQ(app.fakeClock->sleepCalls.load(), 0);

    // Caught up: each further update waits for exactly one 5 ms step.
    const int64_t before = app.fakeClock->NowMs();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(app.RunUntilUpdate());
    }
    EXPECT_EQ(app.GetUpdateCount(), 50);
    EXPECT_EQ(app.fakeClock->NowMs() - before, 50);
    EXPECT_EQ(app.GetLoopStatistics().sleepCount, app.fakeClock->sleepCalls.load());
}

TEST(ZorvaAppBaseTest, StepTiming_SpeedZeroNeitherUpdatesNorDrawsAndSleeps)
{
    for (double speed : {0.0, -1.0}) {
        TestApp app;
        app.SetUpdateSpeed(speed);
        app.fakeClock->Advance(500);
        for (int i = 0; i < 100; ++i) {
            bool updated = false;
            ASSERT_TRUE(app.LoopStep(updated));
            EXPECT_FALSE(updated);
        }
        EXPECT_EQ(app.GetUpdateCount(), 0);
        EXPECT_TRUE(app.drawChecks.empty());
        // Every other step handles messages, every timing step sleeps one update interval.
        EXPECT_EQ(app.messageRounds, 50);
        EXPECT_EQ(app.fakeClock->sleepCalls.load(), 50);
        EXPECT_EQ(app.fakeClock->sleptTotal.load(), 500);
    }
}

TEST(ZorvaAppBaseTest, StepTiming_StallCatchesUpOnlyTwoHundredMs)
{
    TestApp app;
    Steps(app, 2);
    app.fakeClock->Advance(5000);
    for (int i = 0; i < 1000 && app.fakeClock->sleepCalls == 0; ++i) {
        Steps(app, 1);
    }
    EXPECT_EQ(app.GetUpdateCount(), 20);
    EXPECT_EQ(app.drawChecks, (std::vector<int>{0, 10, 20}));
    EXPECT_LT(app.GetLoopTiming().PendingTime(), 10.0);
}

TEST(ZorvaAppBaseTest, Rest_AStillScreenWaitsForSeveralUpdatesAndInputEndsTheRest)
{
    TestApp app;
    for (int i = 0; i < 2 * LoopRest::kQuietFramesBeforeRest; ++i) {
        ASSERT_TRUE(app.RunUntilUpdate());
    }
    const int64_t startMs = app.fakeClock->NowMs();
    const int startSleeps = app.fakeClock->sleepCalls;
    const int startRounds = app.messageRounds;
    for (int i = 0; i < 400; ++i) {
        ASSERT_TRUE(app.RunUntilUpdate());
    }
    // Still one update per 10 ms, but one wait and one look for input per four of them.
    EXPECT_NEAR(static_cast<double>(app.fakeClock->NowMs() - startMs), 4000.0, 40.0);
    EXPECT_LE(app.fakeClock->sleepCalls - startSleeps, 101);
    EXPECT_LE(app.messageRounds - startRounds, 101);

    app.HandleWindowMessage(WindowMessage::Of(WindowMessageKind::MouseMove));
    const int sleepsBeforeInput = app.fakeClock->sleepCalls;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(app.RunUntilUpdate());
    }
    EXPECT_GE(app.fakeClock->sleepCalls - sleepsBeforeInput, 9);
}

TEST(ZorvaAppBaseTest, Shutdown_FromOtherThreadTakesEffectAtNextStepTiming)
{
    TestApp app;
    std::thread other([&app] { app.Shutdown(); });
    other.join();
    EXPECT_FALSE(app.IsShuttingDown());
    EXPECT_TRUE(app.IsShutdownRequestedElsewhere());
    Steps(app, 1); // a message stage does not act on it
    EXPECT_FALSE(app.IsShuttingDown());
    app.StepTiming(true);
    EXPECT_TRUE(app.IsShuttingDown());
    EXPECT_TRUE(app.IsInnerLoopBroken());
    bool updated = false;
    EXPECT_FALSE(app.LoopStep(updated));
}

TEST(ZorvaAppBaseTest, LoadingProgress_ZeroBeforeCappedDuringOneAfterHandled)
{
    TestApp app;
    app.loadingTaskCount = 4;
    app.loadingTasksCompleted = 2;
    EXPECT_EQ(app.GetLoadingProgress(), 0.0);
    app.releaseLoading = false;
    app.StartLoadingThread();
    EXPECT_EQ(app.GetLoadingProgress(), 0.5);
    app.loadingTasksCompleted = 6;
    EXPECT_EQ(app.GetLoadingProgress(), 1.0);
    app.loadingTasksCompleted = 3;
    app.releaseLoading = true;
    app.WaitForLoadingThread();
    EXPECT_TRUE(app.GetLoadingThread().IsDone());
    // Done but not yet noticed by the main thread.
    EXPECT_EQ(app.GetLoadingProgress(), 0.75);
    EXPECT_TRUE(app.GetLoadingThread().IsRunning());
    EXPECT_TRUE(app.TryAdvanceUpdate());
    EXPECT_EQ(app.GetLoadingProgress(), 1.0);
    EXPECT_EQ(app.loadingFinishedCalls, 1);
    EXPECT_FALSE(app.GetLoadingThread().IsRunning());
    EXPECT_TRUE(app.TryAdvanceUpdate());
    EXPECT_EQ(app.loadingFinishedCalls, 1);
    EXPECT_NE(app.GetDebugLog().find("Resource Loading Time: "), std::string::npos);
}

TEST(ZorvaAppBaseTest, DrawIfDue_FramesAtLeastFiftyMsApartWhileLoading)
{
    TestApp app;
    auto display = std::make_unique<RecordingDisplay>(&app.GetClock());
    RecordingDisplay* frames = display.get();
    app.SetDisplayOutput(std::move(display));
    auto* widget = new CountingWidget(1);
    widget->Place(0, 0, 10, 10);
    app.GetWidgetManager()->AddWidget(widget);
    app.releaseLoading = false;
    app.StartLoadingThread();
    for (int i = 0; i < 100; ++i) {
        app.RunUntilUpdate();
    }
    ASSERT_GE(frames->times.size(), 3u);
    for (std::size_t i = 1; i < frames->times.size(); ++i) {
        EXPECT_GE(frames->times[i] - frames->times[i - 1], 50) << i;
    }
    app.releaseLoading = true;
    app.WaitForLoadingThread();
    app.RunUntilUpdate();
    ASSERT_TRUE(app.GetLoadingThread().IsHandled());
    const std::size_t loadedFrom = frames->times.size();
    for (int i = 0; i < 20; ++i) {
        app.RunUntilUpdate();
    }
    // Once loading is done (and the last throttle has passed) a frame follows every update.
    ASSERT_GE(frames->times.size(), loadedFrom + 15);
    EXPECT_EQ(frames->times.back() - frames->times[frames->times.size() - 2], 10);
    app.GetWidgetManager()->RemoveWidget(widget);
    delete widget;
}

namespace {

/// Queues a widget for deletion during update 1 and then runs a nested (modal) loop.
class NestingApp : public TestApp
{
public:
    void AdvanceOneUpdate() override
    {
        ZorvaAppBase::AdvanceOneUpdate();
        if (GetUpdateCount() == 1) {
            DeferWidgetDelete(victim);
            depthWhenQueued = GetNestingDepth();
            for (int i = 0; i < 3; ++i) {
                RunUntilUpdate();
            }
            deletedDuringNestedLoop = victimDeleted;
        }
    }
    Widget* victim = nullptr;
    bool victimDeleted = false;
    bool deletedDuringNestedLoop = true;
    int depthWhenQueued = 0;
};

} // namespace

TEST(ZorvaAppBaseTest, DeferredDeletes_WaitUntilLoopReturnsToTheirDepth)
{
    NestingApp app;
    auto* widget = new CountingWidget(0, &app.victimDeleted);
    widget->Place(0, 0, 5, 5);
    app.GetWidgetManager()->AddWidget(widget);
    app.victim = widget;
    app.RunUntilUpdate();
    EXPECT_EQ(app.depthWhenQueued, 1);
    EXPECT_EQ(app.GetUpdateCount(), 4);
    EXPECT_FALSE(app.deletedDuringNestedLoop);
    EXPECT_TRUE(app.victimDeleted);
    EXPECT_EQ(app.CountDeferredDeletes(), 0u);
    EXPECT_TRUE(app.GetWidgetManager()->GetChildren().empty());
}

TEST(ZorvaAppBaseTest, Settings_VolumesAsPercentAndInProgress)
{
    const std::string path = TempPath("volumes.conf");
    std::filesystem::remove(path);
    {
        SettingsStore store(path);
        ASSERT_TRUE(store.WriteInteger("MusicVolume", 50));
        ASSERT_TRUE(store.WriteInteger("SfxVolume", 20));
        ASSERT_TRUE(store.WriteInteger("ScreenMode", 1));
        ASSERT_TRUE(store.WriteInteger("PreferredX", 33));
        ASSERT_TRUE(store.WriteInteger("InProgress", 1));
        ASSERT_TRUE(store.WriteString("CustomCursors", "wrong type"));
    }
    {
        TestApp app;
        app.settingsPath = path;
        app.ReadSettings();
        EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.5);
        EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.2);
        EXPECT_FALSE(app.windowedRequested);
        EXPECT_EQ(app.windowState.preferredX, 33);
        EXPECT_EQ(app.windowState.preferredY, -1);
        EXPECT_FALSE(app.LastRunEndedCleanly());
        EXPECT_FALSE(app.customCursors); // a value of the wrong type is not read
        int inProgress = 0;
        EXPECT_TRUE(app.ReadInteger("InProgress", inProgress));
        EXPECT_EQ(inProgress, 1);
        app.SetMusicVolume(0.85);
        app.SetSfxVolume(0.07);
        app.windowedRequested = true;
        app.WriteSettings();
    }
    SettingsStore store(path);
    ASSERT_TRUE(store.Load());
    int32_t value = -1;
    ASSERT_TRUE(store.ReadInteger("MusicVolume", value));
    EXPECT_EQ(value, 85);
    ASSERT_TRUE(store.ReadInteger("SfxVolume", value));
    EXPECT_EQ(value, 7);
    ASSERT_TRUE(store.ReadInteger("ScreenMode", value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(store.ReadInteger("InProgress", value));
    EXPECT_EQ(value, 0);
    std::filesystem::remove(path);
}

TEST(ZorvaAppBaseTest, Settings_CommandLineScreenModeHoldsForOneRun)
{
    const std::string path = TempPath("screenmode.conf");
    std::filesystem::remove(path);
    {
        SettingsStore store(path);
        ASSERT_TRUE(store.WriteInteger("ScreenMode", 1));
    }
    const auto storedMode = [&path] {
        SettingsStore store(path);
        int32_t value = -1;
        EXPECT_TRUE(store.Load() && store.ReadInteger("ScreenMode", value));
        return value;
    };
    {
        // The stored full screen gives way to --windowed, and stays stored.
        TestApp app;
        app.settingsPath = path;
        const char* args[] = {"quarrow", "--windowed"};
        ASSERT_TRUE(app.ReadCommandLine(2, args));
        app.ReadSettings();
        EXPECT_TRUE(app.windowedRequested);
        app.WriteSettings();
    }
    EXPECT_EQ(storedMode(), 1);
    {
        // A switch made during the run is kept.
        TestApp app;
        app.settingsPath = path;
        const char* args[] = {"quarrow", "--windowed"};
        ASSERT_TRUE(app.ReadCommandLine(2, args));
        app.ReadSettings();
        app.windowedRequested = false;
        app.WriteSettings();
    }
    EXPECT_EQ(storedMode(), 1);
    {
        TestApp app;
        app.settingsPath = path;
        const char* args[] = {"quarrow", "--fullscreen"};
        ASSERT_TRUE(app.ReadCommandLine(2, args));
        app.ReadSettings();
        app.windowedRequested = true;
        app.WriteSettings();
    }
    EXPECT_EQ(storedMode(), 0);
    std::filesystem::remove(path);
}

TEST(ZorvaAppBaseTest, Mutes_UserMuteSurvivesAutomaticOneDoesNot)
{
    const std::string path = TempPath("mutes.conf");
    for (bool userMute : {true, false}) {
        std::filesystem::remove(path);
        {
            TestApp app;
            app.settingsPath = path;
            auto sound = std::make_unique<RecordingSound>();
            auto music = std::make_unique<RecordingMusic>();
            RecordingSound* sfx = sound.get();
            RecordingMusic* songs = music.get();
            app.SetSoundManager(std::move(sound));
            app.SetMusicInterface(std::move(music));
            if (userMute) {
                app.AddMute(false);
            }
            app.AddMute(true);
            EXPECT_TRUE(app.MuteActive());
            EXPECT_EQ(sfx->volumes.back(), 0.0);
            EXPECT_EQ(songs->volumes.back(), 0.0);
            app.WriteSettings();
            app.RemoveAddMute(true);
            EXPECT_EQ(app.MuteActive(), userMute);
            EXPECT_EQ(songs->volumes.back(), userMute ? 0.0 : 0.85);
            app.SetMasterVolume(0.3);
            EXPECT_DOUBLE_EQ(sfx->master, 0.3);
            EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.3);
        }
        TestApp restarted;
        restarted.settingsPath = path;
        restarted.ReadSettings();
        EXPECT_EQ(restarted.MuteActive(), userMute);
        EXPECT_EQ(restarted.GetMuteCount(), userMute ? 1 : 0);
    }
    // Removing more mutes than were added never goes below zero.
    TestApp app;
    app.RemoveAddMute(false);
    EXPECT_EQ(app.GetMuteCount(), 0);
    std::filesystem::remove(path);
}

TEST(ZorvaAppBaseTest, CommandLine_AppliedAndInvalidSwitchRefused)
{
    TestApp app;
    const char* args[] = {"quarrow", "-screensaver", "--windowed", "-demofile=my demo.dmo"};
    EXPECT_TRUE(app.ReadCommandLine(4, args));
    EXPECT_TRUE(app.IsScreensaverMode());
    EXPECT_FALSE(app.singleInstance);
    EXPECT_TRUE(app.windowedRequested);
    EXPECT_EQ(app.GetCommandLineOptions().demoFileName.value_or(""), "my demo.dmo");

    TestApp bad;
    auto box = std::make_unique<RecordingMessageBox>();
    RecordingMessageBox* shown = box.get();
    bad.SetMessageBoxService(std::move(box));
    EXPECT_FALSE(bad.ApplyCommandLine({{"-bogus", ""}}));
    ASSERT_EQ(shown->texts.size(), 1u);
    EXPECT_EQ(shown->texts[0], "Invalid Command Line Param: -bogus");
    EXPECT_EQ(bad.GetExitCode(), 2);

    // Started by name, the error points to the help.
    TestApp named;
    auto namedBox = std::make_unique<RecordingMessageBox>();
    RecordingMessageBox* namedShown = namedBox.get();
    named.SetMessageBoxService(std::move(namedBox));
    const char* unknown[] = {"/usr/games/quarrow", "--foo"};
    EXPECT_FALSE(named.ReadCommandLine(2, unknown));
    ASSERT_EQ(namedShown->texts.size(), 1u);
    EXPECT_EQ(namedShown->texts[0], "Invalid Command Line Param: --foo\n"
                                    "Run \"quarrow --help\" for the list of options.");
    EXPECT_EQ(named.GetExitCode(), 2);
    EXPECT_TRUE(bad.IsShuttingDown());
}

TEST(ZorvaAppBaseTest, SharedImages_OneImagePerPathAndVariant)
{
    const std::string path = TempPath("shared.png");
    auto picture = ImageLib::Image::Create(3, 2);
    ASSERT_NE(picture, nullptr);
    for (int i = 0; i < 6; ++i) {
        picture->bits[i] = 0xFF102030u + static_cast<uint32_t>(i);
    }
    ASSERT_TRUE(ImageLib::SavePNG(path, *picture));

    TestApp app;
    EXPECT_EQ(app.LoadImageToSurface(TempPath("missing.png"), false), nullptr);
    SharedImage first = app.GetSharedImage(path);
    ASSERT_NE(first.image, nullptr);
    EXPECT_TRUE(first.newlyLoaded);
    EXPECT_EQ(first.image->GetWidth(), 3);
    EXPECT_EQ(first.image->GetPixels()[5], 0xFF102035u);
    SharedImage again = app.GetSharedImage(path);
    EXPECT_EQ(again.image, first.image);
    EXPECT_FALSE(again.newlyLoaded);
    SharedImage variant = app.GetSharedImage(path, "grey");
    EXPECT_TRUE(variant.newlyLoaded);
    EXPECT_NE(variant.image, first.image);
    // The fonts' hook reaches the same cache.
    SharedImage viaFonts = Zorva::GetSharedImage(path);
    EXPECT_EQ(viaFonts.image, first.image);
    EXPECT_FALSE(viaFonts.newlyLoaded);
    EXPECT_EQ(app.GetSharedImage(TempPath("missing.png")).image, nullptr);
    std::filesystem::remove(path);
}

namespace {

/// A headless program on the real clock that stops itself after 300 updates.
class HeadlessApp : public ZorvaAppBase
{
public:
    HeadlessApp() { singleInstance = false; }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void AdvanceOneUpdate() override
    {
        ZorvaAppBase::AdvanceOneUpdate();
        if (GetUpdateCount() == 300) {
            Shutdown();
        }
    }
};

double StatisticValue(const std::string& log, const std::string& label)
{
    const std::size_t at = log.find(label);
    if (at == std::string::npos) {
        return -1;
    }
    return std::atof(log.c_str() + at + label.size());
}

} // namespace

TEST(ZorvaAppBaseTest, RealLoop_HeadlessRunsAboutOneHundredUpdatesPerSecond)
{
    HeadlessApp app;
    app.loadingThreadEnabled = false;
    auto* blinking = new CountingWidget(10);
    auto* still = new CountingWidget(0);
    auto* other = new CountingWidget(0);
    blinking->Place(0, 0, 20, 20);
    still->Place(100, 0, 20, 20);
    other->Place(200, 0, 20, 20);
    WidgetManager* manager = app.GetWidgetManager();
    manager->AddWidget(blinking);
    manager->AddWidget(still);
    manager->AddWidget(other);
    app.Init();
    app.Start();

    EXPECT_EQ(app.GetUpdateCount(), 300);
    EXPECT_EQ(blinking->ticks, 300);
    EXPECT_EQ(still->paints, 1);
    EXPECT_EQ(other->paints, 1);
    EXPECT_GE(blinking->paints, 10);
    EXPECT_LE(blinking->paints, 31);
    EXPECT_GT(app.GetLoopStatistics().sleepCount, 0);
    EXPECT_EQ(app.GetScreenImage()->GetPixels()[0], 0xFFFFFFFFu);
    EXPECT_EQ(app.GetScreenImage()->GetPixels()[50], 0u);

    const std::string log = app.GetDebugLog();
    EXPECT_EQ(StatisticValue(log, "Update Count  = "), 300);
    EXPECT_GE(StatisticValue(log, "Draw Count    = "), 1);
    const double perSecond = StatisticValue(log, "Updates/Sec   = ");
    EXPECT_GE(perSecond, 60);
    EXPECT_LE(perSecond, 140);
    for (Widget* widget : {blinking, still, other}) {
        manager->RemoveWidget(widget);
        delete widget;
    }
}

TEST(ZorvaAppBaseTest, ImageRegistry_CountsLiveImagesAndLetsSurvivorsGo)
{
    auto survivor = std::make_unique<std::unique_ptr<MemoryImage>>();
    {
        ZorvaAppBase app(std::make_unique<FakeClock>());
        const std::size_t before = app.LiveImageCount();
        {
            MemoryImage image;
            image.Create(4, 4);
            EXPECT_EQ(app.LiveImageCount(), before + 1);
        }
        EXPECT_EQ(app.LiveImageCount(), before);
        *survivor = std::make_unique<MemoryImage>();
        EXPECT_EQ((*survivor)->registry, app.GetImageRegistry());
    }
    // The application is gone; its images no longer point at it.
    EXPECT_EQ((*survivor)->registry, nullptr);
    survivor->reset();
}

namespace {

/// Logs every sleep, in order with the draws of a PaintTimer.
class SleepLogClock : public FakeClock
{
public:
    void SleepMs(int ms) override
    {
        log.push_back("sleep " + std::to_string(ms));
        FakeClock::SleepMs(ms);
    }
    std::vector<std::string> log;
};

/// Asks for a redraw every update; each paint takes `paintMs` of fake time.
class PaintTimer : public Widget
{
public:
    PaintTimer(SleepLogClock& logClock, int ms) : clock(logClock), paintMs(ms) {}
    void Tick() override
    {
        Widget::Tick();
        Invalidate();
    }
    void Paint(Graphics&) override
    {
        clock.log.push_back("draw");
        clock.Advance(paintMs);
    }
    SleepLogClock& clock;
    int paintMs;
};

/// The entries that directly follow each draw in the log.
std::vector<std::string> AfterDraws(const std::vector<std::string>& log)
{
    std::vector<std::string> next;
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        if (log[i] == "draw") {
            next.push_back(log[i + 1]);
        }
    }
    return next;
}

} // namespace

TEST(ZorvaAppBaseTest, LoadingShare_TwiceTheDrawTimeWhileLoadingAndNothingAfter)
{
    auto owned = std::make_unique<SleepLogClock>();
    SleepLogClock& clock = *owned;
    TestApp app(std::move(owned));
    PaintTimer timer(clock, 12);
    timer.Place(0, 0, 10, 10);
    app.GetWidgetManager()->AddWidget(&timer);
    app.releaseLoading = false;
    app.StartLoadingThread();
    for (int i = 0; i < 30; ++i) {
        app.RunUntilUpdate();
    }
    const std::vector<std::string> whileLoading = AfterDraws(clock.log);
    ASSERT_GE(whileLoading.size(), 3u);
    for (const std::string& entry : whileLoading) {
        EXPECT_EQ(entry, "sleep 24");
    }

    app.releaseLoading = true;
    app.WaitForLoadingThread();
    app.RunUntilUpdate();
    ASSERT_TRUE(app.GetLoadingThread().IsHandled());
    clock.log.clear();
    for (int i = 0; i < 30; ++i) {
        app.RunUntilUpdate();
    }
    const std::vector<std::string> loaded = AfterDraws(clock.log);
    ASSERT_GE(loaded.size(), 3u);
    for (const std::string& entry : loaded) {
        EXPECT_NE(entry, "sleep 24");
    }
    app.GetWidgetManager()->RemoveWidget(&timer);
}
