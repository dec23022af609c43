#include "app/ZorvaAppBase.h"

#include "app/DemoPlayer.h"
#include "app/DemoRecorder.h"
#include "app/ScreenSize.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "system/AppFiles.h"
#include "system/MTRand.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

// The build may pass the version in; otherwise the project's own version is used.
#ifndef QUARROW_PRODUCT_VERSION_TEXT
#define QUARROW_PRODUCT_VERSION_TEXT "1.1"
#endif

namespace Zorva {

namespace {

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Format(const char* format, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

ZorvaAppBase::ZorvaAppBase(std::unique_ptr<PlatformClock> injectedClock)
    : clock(injectedClock ? std::move(injectedClock) : std::make_unique<SteadyClock>()),
      window(*this, *this, *this, *this, *clock)
{
    liveImages.Install();
    mainThreadId = std::this_thread::get_id();
    constructionTime = clock->NowMs();
    timing.StartDrawClock(constructionTime);
    window.State().lastInputTime = constructionTime;
    productVersion = QUARROW_PRODUCT_VERSION_TEXT;
    debugOutputEnabled = std::getenv("QUARROW_DEBUG") != nullptr;
    widgetManager = std::make_unique<WidgetManager>(this);
    resourceManager = std::make_unique<ResourceManager>(this);
    screenImage = std::make_unique<MemoryImage>();
    screenImage->Create(kDefaultScreenWidth, kDefaultScreenHeight);
    widgetManager->SetScreenImage(screenImage.get());
    widgetManager->Resize(kDefaultScreenWidth, kDefaultScreenHeight);
    previousImageLoader =
        SetSharedImageLoader([this](const std::string& path) { return GetSharedImage(path); });
}

ZorvaAppBase::~ZorvaAppBase()
{
    Shutdown();
    if (settingsRead) {
        ConfirmHardwareAcceleration();
    }
    FinishDemo();
    WaitForLoadingThread();
    SetSharedImageLoader(previousImageLoader);
    DeleteRemainingDialogs();
    ProcessDeferredDeletes();
    deferredDeletes.ResetDepth();
    ProcessDeferredDeletes();
    widgetManager.reset();
    resourceManager.reset();
    liveImages.Uninstall();
}

void ZorvaAppBase::DeferWidgetDelete(Widget* widget)
{
    deferredDeletes.Queue(widget);
}

void ZorvaAppBase::ProcessDeferredDeletes()
{
    // Taken out first: a destructor may queue more widgets.
    for (Widget* widget : deferredDeletes.TakeDue()) {
        if (widgetManager) {
            widgetManager->DisownWidget(widget);
        }
        delete widget;
    }
}

void ZorvaAppBase::Init()
{
    mainThreadId = std::this_thread::get_id();
    if (shutdown) {
        return;
    }
    if (screensaverMode) {
        singleInstance = false;
    }
    if (singleInstance && !ClaimSingleInstance()) {
        return;
    }
    // Relative demo names are the launch folder's, so the demo is found before the change.
    if (!OpenDemo()) {
        return;
    }
    const std::string dataFolder = DataFolder();
    if (!OverrideWorkingDir(dataFolder)) {
        ChangeToDataFolder();
    }
    Rand().SRand(ChooseRandomSeed());
    ReadSettings();
    OnBeforeWindowCreated();
    // The screen image has the game's client size.
    if (screenImage->GetWidth() != width || screenImage->GetHeight() != height) {
        screenImage->Create(width, height);
    }
    widgetManager->Resize(width, height);
    windowedRequested = window.ChooseInitialScreenMode(windowedRequested, width, height);
    CreateMainWindow();
    if (shutdown) {
        return;
    }
    if (auto made = MakeSoundManager()) {
        SetSoundManager(std::move(made));
    }
    SetSfxVolume(GetSfxVolume());
    if (auto made = MakeMusicPlayer()) {
        SetMusicInterface(std::move(made));
    }
    SetMusicVolume(GetMusicVolume());
    OnInitFinished();
    initialized = true;
}

bool ZorvaAppBase::ClaimSingleInstance()
{
    const std::string folder = UserFolder();
    if (!EnsureFolder(folder)) {
        OutputDebug("No user folder; running without the single-instance lock\r\n");
        return true;
    }
    switch (instanceLock.Acquire(folder + "/.lock")) {
    case SingleInstanceLock::Result::Acquired:
        return true;
    case SingleInstanceLock::Result::Unavailable:
        OutputDebug("The lock file cannot be opened; running unguarded\r\n");
        return true;
    case SingleInstanceLock::Result::HeldElsewhere:
        break;
    }
    std::fprintf(stderr, "%s is already running.\n", productName.c_str());
    exitCode = 0;
    shutdown = true;
    return false;
}

void ZorvaAppBase::ChangeToDataFolder()
{
    // Every relative data path is read from the data folder.
    const std::string folder = DataFolder();
    if (::chdir(folder.c_str()) != 0) {
        OutputDebug("Cannot change into the data folder " + folder + "\r\n");
    }
}

void ZorvaAppBase::ReleaseImageSurfaces()
{
    liveImages.DropTextures();
}

void ZorvaAppBase::RestoreImageSurfaces()
{
    // Software images draw from their own pixels, so there is nothing to re-create; the
    // accelerated display makes its textures again on first use.
}

void ZorvaAppBase::Start()
{
    if (shutdown) {
        return;
    }
    if (loadingThreadEnabled) {
        StartLoadingThread();
    }
    startTime = clock->NowMs();
    timing.NoteLoopStart(startTime);
    window.State().lastInputTime = startTime;
    window.ShowMainWindowForLoop();
    RunMainLoop();
    window.NoteLoopEnded();
    ProcessDeferredDeletes();
    WaitForLoadingThread();
    WriteStatistics();
    OnLoopFinished();
    WriteSettings();
}

void ZorvaAppBase::WriteStatistics()
{
    const int64_t runMs = clock->NowMs() - startTime;
    const double seconds = static_cast<double>(runMs) / 1000.0;
    OutputDebug(Format("Seconds       = %g\r\n", seconds));
    OutputDebug(Format("Sleep Count   = %d\r\n", statistics.sleepCount));
    OutputDebug(Format("Update Count  = %d\r\n", updateCount));
    OutputDebug(Format("Draw Count    = %d\r\n", statistics.drawCount));
    OutputDebug(Format("Draw Time     = %d\r\n", statistics.drawTimeTotal));
    OutputDebug(Format("Screen Blt    = %d\r\n", statistics.presentTimeTotal));
    if (statistics.drawTimeTotal + statistics.presentTimeTotal > 0) {
        OutputDebug(Format("Avg FPS       = %d\r\n",
                           statistics.drawCount * 1000 /
                               (statistics.drawTimeTotal + statistics.presentTimeTotal)));
    }
    if (seconds > 0) {
        OutputDebug(Format("Updates/Sec   = %g\r\n", updateCount / seconds));
    }
}

void ZorvaAppBase::Shutdown()
{
    if (!IsMainThread()) {
        shutdownFromOtherThread = true;
        return;
    }
    if (shutdownDone) {
        return;
    }
    shutdownDone = true;
    breakInnerLoop = true;
    shutdown = true;
    OnShutdownStarting();
    RestoreVolumesAfterPlayback();
    GetMusicInterface()->StopAllMusic();
    GetWindowSystem()->HideMainWindow();
    if (settingsRead) {
        WriteSettings();
    }
}

void ZorvaAppBase::RunMainLoop()
{
    while (!shutdown) {
        breakInnerLoop = false;
        RunUntilUpdate();
    }
}

bool ZorvaAppBase::RunUntilUpdate()
{
    for (;;) {
        bool updated = false;
        if (!LoopStep(updated)) {
            return false;
        }
        if (updated) {
            return true;
        }
    }
}

bool ZorvaAppBase::LoopStep(bool& updated)
{
    updated = false;
    if (breakInnerLoop) {
        return false;
    }
    if (timing.State() == LoopState::Done) {
        timing.SetState(LoopState::Messages);
    }
    deferredDeletes.Enter();
    bool result = true;
    if (timing.State() == LoopState::Messages) {
        if (!shutdown && rest.TakeInputLookDue()) {
            ProcessWindowMessages();
        }
        InjectDueDemoEvents();
        if (!ProcessDeferredMessage()) {
            timing.SetState(LoopState::UpdateDue);
        }
    } else {
        const int before = updateCount;
        result = StepTiming(true);
        updated = updateCount != before;
    }
    ProcessDeferredDeletes();
    deferredDeletes.Leave();
    return result;
}

bool ZorvaAppBase::StepTiming(bool allowSleep)
{
    const int64_t callStart = clock->NowMs();
    stepSleptMs = 0;
    if (shutdownFromOtherThread.exchange(false)) {
        Shutdown();
    }
    if (IsPlayingDemo() && RunDemoTimingStep()) {
        ProcessDeferredDeletes();
        return true;
    }
    // A paused loop still goes back to its messages, and sleeps instead of spinning. A paused
    // replay still shows what the viewer does: its dialogs, and their closing.
    if (DemoPausesLoop() || updateSpeed <= 0) {
        timing.SetState(LoopState::Done);
        if (DemoPausesLoop()) {
            DrawIfDue();
        }
        ProcessDeferredDeletes();
        if (allowSleep) {
            ++statistics.sleepCount;
            clock->SleepMs(updateInterval);
        }
        return true;
    }
    const double stepMs = LoopTiming::StepMs(updateInterval, updateSpeed);
    timing.Accumulate(clock->NowMs());

    bool drawOrSleep = false;
    if (timing.State() == LoopState::UpdateDue) {
        if (timing.UpdatesSinceDraw() >= LoopTiming::ForcedDrawAfter(updateSpeed) &&
            loading.IsSettled()) {
            drawOrSleep = true;
        } else if (timing.StepDue(stepMs)) {
            timing.CountUpdateStep();
            if (TryAdvanceUpdate()) {
                timing.SetState(LoopState::AfterUpdate);
            } else if (IsPlayingDemo()) {
                // The recording's input of this update comes first, in the messages stage;
                // waiting here for it would wait forever.
                timing.SetState(LoopState::Done);
            }
            timing.SetUpdatedSinceDraw(true);
        } else {
            drawOrSleep = true;
        }
    } else if (timing.State() == LoopState::AfterUpdate) {
        timing.SetState(LoopState::Done);
        ProcessDeferredDeletes();
        AdvanceFraction(1.0);
        timing.ConsumeStep(stepMs);
    }

    if (drawOrSleep) {
        timing.SetState(LoopState::Done);
        timing.StartDrawRun();
        if (timing.UpdatedSinceDraw()) {
            DrawIfDue();
        } else {
            const int ms = timing.MsUntilStep(stepMs);
            if (ms > 0) {
                if (!allowSleep) {
                    return false;
                }
                ++statistics.sleepCount;
                if (rest.IsResting() && MayRest()) {
                    WaitForInputInStep(std::max(ms, LoopRest::kWaitMs));
                    rest.NoteWaited();
                } else {
                    SleepInStep(ms);
                }
            }
        }
    }
    // After every step, a draw included: the loading thread gets about twice what the main
    // thread worked, less what this step already slept.
    if (loading.IsRunning()) {
        const int64_t worked = clock->NowMs() - callStart - stepSleptMs;
        const int64_t extra = LoopTiming::LoadingShareMs(worked, stepSleptMs);
        if (extra > 0) {
            if (!allowSleep) {
                return false;
            }
            clock->SleepMs(static_cast<int>(extra));
        }
    }
    ProcessDeferredDeletes();
    return true;
}

bool ZorvaAppBase::TryAdvanceUpdate()
{
    if (IsIdle()) {
        return false;
    }
    // Playback delivers what is due before every update, not only in the messages stage,
    // which the loop does not return to while it waits for the loading thread.
    InjectDueDemoEvents();
    if (loading.IsDone() && !loading.IsHandled() && DemoReportsLoadingDone()) {
        loading.MarkHandled();
        // Noted first: what the game reads when loading ends must follow it in a demo.
        OnDemoLoadingHandled();
        OnLoadingFinished();
    }
    if (!DemoAllowsUpdate()) {
        return false;
    }
    AdvanceOneUpdate();
    return true;
}

void ZorvaAppBase::AdvanceOneUpdate()
{
    ++updateCount;
    if (!window.State().minimized) {
        widgetManager->UpdateFrame();
    }
    GetMusicInterface()->Update();
    ProcessDeferredDeletes();
}

bool ZorvaAppBase::DrawIfDue()
{
    if (window.IsDisplayLost()) {
        PresentFrame(Rect(0, 0, screenImage->GetWidth(), screenImage->GetHeight()));
        timing.SetUpdatedSinceDraw(false);
        return false;
    }
    const int64_t drawStart = clock->NowMs();
    bool drew = false;
    if (!IsIdle()) {
        drawing = true;
        drew = widgetManager->DrawScreen();
        drawing = false;
    }
    if (drew) {
        timing.NoteFramePainted();
    }
    const int64_t now = clock->NowMs();
    const int drawMs = static_cast<int>(now - drawStart);
    rest.NoteFrame(drew);
    if (!timing.PresentDue(now)) {
        timing.SetUpdatedSinceDraw(false);
        timing.NoteNothingPresented();
        return false;
    }
    ++statistics.drawCount;
    statistics.drawTimeTotal += drawMs;
    if (fps.IsShown()) {
        DrawFpsOverlay();
    }
    if (waitForVSync && window.State().windowed) {
        WaitForVerticalSync();
    }
    const int64_t presentStart = clock->NowMs();
    PresentFrame(Rect(0, 0, screenImage->GetWidth(), screenImage->GetHeight()));
    const int64_t presentEnd = clock->NowMs();
    statistics.presentTimeTotal += static_cast<int>(presentEnd - presentStart);
    fps.CountFrame(presentEnd);
    timing.NotePresented(presentEnd, drawMs, loading.IsRunning());
    timing.SetUpdatedSinceDraw(false);
    return true;
}

void ZorvaAppBase::PresentFrame(const Rect& rect)
{
    if (drawing || shutdown || IsIdle()) {
        return;
    }
    ++statistics.presentCount;
    // The recorded pointer shows in this frame only: the screen image keeps the game's
    // picture, so later frames and comparisons of frames are not touched by it.
    const std::optional<std::pair<int, int>> pointer = DemoPointerPosition();
    if (pointer.has_value()) {
        demoPointer.DrawAt(*screenImage, pointer->first, pointer->second);
    }
    window.Present(*screenImage, rect);
    if (pointer.has_value()) {
        demoPointer.Restore(*screenImage);
    }
}

void ZorvaAppBase::WaitForVerticalSync()
{
    // Presents in a window stay one refresh period apart.
    const int period = 1000 / std::max(window.RefreshRate(), 1);
    const int64_t lastPresentTime = timing.LastPresentTime();
    const int64_t due = lastPresentTime + period;
    const int64_t now = clock->NowMs();
    if (lastPresentTime > 0 && due > now) {
        SleepInStep(static_cast<int>(due - now));
    }
}

void ZorvaAppBase::SleepInStep(int ms)
{
    const int64_t before = clock->NowMs();
    clock->SleepMs(ms);
    stepSleptMs += clock->NowMs() - before;
}

void ZorvaAppBase::WaitForInputInStep(int ms)
{
    const int64_t before = clock->NowMs();
    if (!GetWindowSystem()->WaitForInput(ms)) {
        clock->SleepMs(ms);
    }
    stepSleptMs += clock->NowMs() - before;
}

bool ZorvaAppBase::MayRest() const
{
    return !IsPlayingDemo() && !IsRecordingDemo() && !loading.IsRunning();
}

void ZorvaAppBase::DrawFpsOverlay()
{
    std::optional<int64_t> demoTime;
    if (IsPlayingDemo()) {
        demoTime = static_cast<int64_t>(updateCount) * updateInterval;
    }
    fps.Draw(*screenImage, widgetManager->lastX, widgetManager->lastY, demoTime);
}

void ZorvaAppBase::StartLoadingThread()
{
    loading.Start([this] {
        RunLoadingWork();
        OutputDebug(Format("Resource Loading Time: %d\r\n",
                           static_cast<int>(clock->NowMs() - constructionTime)));
    });
}

std::unique_ptr<MemoryImage> ZorvaAppBase::LoadImageToSurface(const std::string& file,
                                                              bool lookForAlphaImage)
{
    std::unique_ptr<ImageLib::Image> loaded = ImageLib::LoadImageFile(file, lookForAlphaImage);
    if (!loaded || !loaded->bits) {
        return nullptr;
    }
    auto image = std::make_unique<MemoryImage>();
    image->SetPixels(loaded->bits.get(), loaded->width, loaded->height, true);
    return image;
}

SharedImage ZorvaAppBase::GetSharedImage(const std::string& path, const std::string& variant)
{
    return imageCache.Get(
        path, variant, [this](const std::string& file) { return LoadImageToSurface(file, true); });
}

std::size_t ZorvaAppBase::LiveImageCount() const
{
    return liveImages.Count();
}

void ZorvaAppBase::ReportFileProblem(const std::string& text)
{
    OutputDebug(text + "\n");
    if (!debugOutputEnabled) {
        UserFileAccess::ReportFileProblem(text);
    }
}

} // namespace Zorva
