#pragma once

#include "app/AppAudio.h"
#include "app/AppDebugOutput.h"
#include "app/AppDialogs.h"
#include "app/AppHooks.h"
#include "app/AppLoading.h"
#include "app/AppSetup.h"
#include "app/AppWindow.h"
#include "app/AppWindowHost.h"
#include "app/CommandLine.h"
#include "app/CursorSprite.h"
#include "app/DeferredWidgetDeletes.h"
#include "app/DemoEvent.h"
#include "app/DemoHooks.h"
#include "app/FpsOverlay.h"
#include "app/ImageCache.h"
#include "app/LiveImageSet.h"
#include "app/LoopRest.h"
#include "app/LoopStatistics.h"
#include "app/LoopTiming.h"
#include "app/PlatformClock.h"
#include "app/ScreensaverErrorLog.h"
#include "app/SettingsAccess.h"
#include "app/SingleInstanceLock.h"
#include "app/UserFileAccess.h"
#include "graphics/FontServices.h"
#include "resources/ResourceHost.h"
#include "widgets/WidgetHost.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Zorva {

class Buffer;
class DemoPlayer;
class DemoRecorder;
class MemoryImage;
class ResourceManager;
class Widget;
class WidgetManager;

/// The framework's application object: owns the widget manager, the screen image and the
/// platform seams, and runs the fixed-rate main loop. The game derives from it, sets the
/// AppSetup fields before Init and overrides the hooks (AppHooks). Dialogs come from
/// AppDialogs, sound from AppAudio, loading from AppLoading, the settings file from
/// SettingsAccess, the player's files from UserFileAccess; the window, its display and input are
/// AppWindow's, which reaches back through AppWindowHost.
///
/// Threads: the loop, the updates and drawing run on the main thread; RunLoadingWork runs
/// on the loading thread. Shutdown may be called from any thread.
class ZorvaAppBase : public AppDialogs,
                     public AppSetup,
                     public WidgetHost,
                     public ResourceHost,
                     public AppHooks,
                     public DemoHooks,
                     public AppAudio,
                     public AppLoading,
                     public AppDebugOutput,
                     public SettingsAccess,
                     public UserFileAccess,
                     public AppWindowHost
{
public:
    /// The seams default to headless implementations (real clock, standard-error messages,
    /// silent audio, null display).
    explicit ZorvaAppBase(std::unique_ptr<PlatformClock> clock = nullptr);
    ~ZorvaAppBase() override;
    ZorvaAppBase(const ZorvaAppBase&) = delete;
    ZorvaAppBase& operator=(const ZorvaAppBase&) = delete;

    // WidgetHost
    /// Records the cursor number and lets the window layer show it.
    void SetCursor(CursorKind cursor) override;
    void DeferWidgetDelete(Widget* widget) override;
    int GetUpdateCount() const override { return updateCount; }
    bool Is3D() const override { return is3D; }
    /// The clipboard; a recording notes what was read, a replay hands it back.
    std::string GetClipboard() const override;
    void SetClipboard(const std::string& text) override;

    // Lifecycle
    virtual void Init();
    virtual void Start();
    /// From another thread this only flags the request; the main thread acts at its next
    /// StepTiming.
    void Shutdown() override;
    bool IsInitialized() const override { return initialized; }
    bool IsShuttingDown() const { return shutdown; }
    /// The code the program is to end with; below 0 when none was asked for.
    int GetExitCode() const { return exitCode; }

    // The loop
    virtual void RunMainLoop();
    /// One stage of the four-stage cycle; false when the step must end (break or no sleep).
    virtual bool LoopStep(bool& updated);
    virtual bool StepTiming(bool allowSleep);
    virtual bool TryAdvanceUpdate();
    virtual void AdvanceOneUpdate();
    virtual bool DrawIfDue();
    /// Runs loop steps until one performed an update (true) or a step ended early (false).
    virtual bool RunUntilUpdate();
    /// Deletes the queued widgets recorded at or below the current nesting depth.
    void ProcessDeferredDeletes();
    /// One update stands for `updateInterval / updateSpeed` ms; a speed of 0 or less pauses.
    int GetUpdateInterval() const { return updateInterval; }
    double GetUpdateSpeed() const { return updateSpeed; }
    void SetUpdateSpeed(double speed) { updateSpeed = speed; }
    const LoopStatistics& GetLoopStatistics() const { return statistics; }

    /// Runs RunLoadingWork on the loading thread.
    void StartLoadingThread();

    // The window layer's seams (AppWindowHost); the base versions are headless.
    void CreateMainWindow() override;
    void ChangeScreenMode(bool wantWindowed, bool accelerated, bool force) override;
    void ChangeScreenMode(bool wantWindowed) { ChangeScreenMode(wantWindowed, is3D, false); }
    void ReapplyScreenMode() { ChangeScreenMode(windowedRequested, is3D, true); }
    void RefreshCursor() override;
    void ReleaseImageSurfaces() override;
    void RestoreImageSurfaces() override;
    void PresentFrame(const Rect& rect) override;
    void OnWebOpenFailed(const std::string& url) override;
    void OnWebOpenConfirmed(const std::string& url) override;
    /// Hands the pending window-system events to HandleWindowMessage.
    virtual void ProcessWindowMessages();
    void HandleWindowMessage(const WindowMessage& message);
    /// Handles one deferred message; false when the queue is empty afterwards.
    virtual bool ProcessDeferredMessage();
    /// Seam for the window layer's idle (screensaver) rule.
    virtual bool IsIdle() const { return false; }
    /// The mode in force, focus, pointer and modifiers.
    const WindowState& GetWindowState() const { return window.State(); }
    /// Switches hardware acceleration; `reinitialise` re-creates the display at once.
    void Set3D(bool on, bool reinitialise);
    /// Opens the address in the browser and watches whether that seemed to work.
    virtual bool OpenWebAddress(const std::string& url, bool shutdownAfter);
    bool IsWebOpenPending() const { return window.WebOpen().IsPending(); }
    /// In screensaver mode no box opens: the text is logged and the answer is OK.
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags);
    virtual void ShowErrorBox(const std::string& text);
    /// Appends the text, the local time and the tick count to "ScrError.txt" in the user
    /// folder; the first line of a run starts the file afresh.
    virtual void LogScreenSaverError(const std::string& text);

    /// The sound manager and music player for this run; null keeps the silent ones. The
    /// base versions play on the SDL sound device, and stay silent with `noSound` or
    /// without a device.
    virtual std::unique_ptr<SoundManager> MakeSoundManager();
    virtual std::unique_ptr<MusicInterface> MakeMusicPlayer();
    /// Draws the frame-rate overlay into the screen image while it is shown.
    virtual void DrawFpsOverlay();
    FpsOverlay& GetFpsOverlay() { return fps; }

    // Settings and command line
    virtual void ReadSettings();
    virtual void WriteSettings();
    /// The previous run did not reach the end of the loop.
    bool LastRunEndedCleanly() const { return lastRunEndedCleanly; }
    /// Parses the program arguments (once) and applies them; false after an invalid
    /// switch, which was shown with ShowErrorBox and requests the exit with code 2.
    virtual bool ReadCommandLine(int argc, const char* const* argv);
    virtual bool ApplyCommandLine(const std::vector<CommandLineParam>& params);
    const CommandLineOptions& GetCommandLineOptions() const { return commandLineOptions; }
    /// Shows a command-line error with the pointer to "--help" and ends with code 2.
    void EndWithCommandLineError(const std::string& error);
    bool IsScreensaverMode() const override { return screensaverMode; }

    // Demos: "-record" notes what enters from outside, "-play" replays it (DemoHooks).
    bool IsPlayingDemo() const override { return demoPlayer != nullptr; }
    bool IsRecordingDemo() const override { return demoRecorder != nullptr; }
    /// Sets a named place in the demo being recorded; nothing otherwise.
    void AddDemoMarker(const std::string& name);
    /// Recorded outcomes the replay did not match; non-zero means the replay differs.
    int GetDemoOutOfStepCount() const;
    DemoPlayer* GetDemoPlayer() const { return demoPlayer.get(); }
    /// The position to draw the recorded pointer at while a demo plays back.
    std::optional<std::pair<int, int>> DemoPointerPosition() const override;

    // The player's files: recorded while recording; replayed, and never written, in playback.
    bool ReadUserFile(const std::string& name, Buffer& buffer, std::size_t maxBytes) override;
    bool WriteUserFile(const std::string& name, const Buffer& buffer) override;
    bool UserFileExists(const std::string& name) override;
    bool DeleteUserFile(const std::string& name) override;
    bool RenameUserFile(const std::string& from, const std::string& to) override;

    // ResourceHost
    bool LoadSoundResource(int id, const std::string& path, double volume, int pan) override;
    std::unique_ptr<MemoryImage> LoadImageToSurface(const std::string& file,
                                                    bool lookForAlphaImage) override;
    SharedImage GetSharedImage(const std::string& path, const std::string& variant = {}) override;

    // DialogHost
    bool RunModalStep() override { return RunUntilUpdate(); }

    WidgetManager* GetWidgetManager() const override { return widgetManager.get(); }
    ResourceManager* GetResourceManager() const { return resourceManager.get(); }
    MemoryImage* GetScreenImage() const override { return screenImage.get(); }

    /// The images alive now; they are registered while the application lives, and those
    /// that outlive it forget it when it goes.
    std::size_t LiveImageCount() const;
    const ImageRegistry* GetImageRegistry() const { return &liveImages; }

    // The platform seams, replaced before Init (the platform layer puts SDL in).
    PlatformClock& GetClock() const { return *clock; }
    WindowSystem* GetWindowSystem() const { return window.GetWindowSystem(); }
    DisplayOutput* GetDisplayOutput() const { return window.GetDisplayOutput(); }
    void SetMessageBoxService(std::unique_ptr<MessageBoxService> service);
    /// The display may hold on to the old window: drop the display first.
    void SetWindowSystem(std::unique_ptr<WindowSystem> system);
    void SetDisplayOutput(std::unique_ptr<DisplayOutput> output);

    // The debug keys; the rest of what a game sets is AppSetup's.
    bool debugKeysEnabled = false;
    /// Played when the debug keys are switched; -1 plays nothing.
    int debugKeysSoundId = -1;

protected:
    // Settings pass the demo too; while playing back, nothing reaches the store.
    bool ReadSettingValue(const std::string& name, SettingType type,
                          std::vector<uint8_t>& bytes) override;
    bool WriteSettingValue(const std::string& name, SettingType type,
                           const std::vector<uint8_t>& bytes) override;
    bool DeleteSettingValue(const std::string& name) override;
    /// File problems go to the debug log as well as to standard error.
    void ReportFileProblem(const std::string& text) override;
    /// For derived window and demo layers (and their tests).
    WindowState& EditWindowState() { return window.State(); }
    /// Set by the command line; single instance and the screensaver rule follow it.
    bool screensaverMode = false;
    /// Hardware acceleration at exit: changed during this run, the display's self-test
    /// passed without a flaw, a frame failed to begin.
    bool is3DChangedThisRun = false;
    bool test3DPassedCleanly = true;
    bool frameBeginFailed = false;

    const LoopTiming& GetLoopTiming() const { return timing; }
    const DeferredMessageQueue& GetDeferredMessages() const { return window.DeferredMessages(); }
    int GetNestingDepth() const { return deferredDeletes.Depth(); }
    std::size_t CountDeferredDeletes() const { return deferredDeletes.Count(); }
    bool IsShutdownRequestedElsewhere() const { return shutdownFromOtherThread; }
    bool IsInnerLoopBroken() const { return breakInnerLoop; }

private:
    // DemoHooks
    void InjectDueDemoEvents() override;
    bool RunDemoTimingStep() override;
    bool DemoPausesLoop() const override;
    bool DemoAllowsUpdate() override;
    bool DemoReportsLoadingDone() const override;
    void OnDemoLoadingHandled() override;
    void RecordWindowMessage(const WindowMessage& message) override;
    void RecordPointerInside(bool inside) override;
    bool TakesLiveInput() const override;
    void OnPlaybackControl(char control) override;
    void OnLiveClose() override;
    /// Opens the demo to play or prepares the one to record; false when the program ends.
    bool OpenDemo();
    std::string ChooseDemoFile();
    /// The demo's seed when playing, else the clock's (noted when recording).
    uint32_t ChooseRandomSeed();
    void FinishDemo();
    /// A display was made: recording notes it; playback takes the display record.
    void NoteDisplayForDemo();
    void ApplyDemoEvent(const DemoEvent& event);
    void EndDemoFastForward();
    void RecordDemoEvent(DemoEvent event);
    bool ReplaysOutcomes() const;
    bool RecordsOutcomes() const;
    bool TakeRecordedSuccess(DemoEventKind kind);
    void RecordSuccess(DemoEventKind kind, bool success);
    void MirrorReplayWrite(const std::string& name, const Buffer& buffer);
    /// The "S" control: silences, or gives back the volumes it took.
    void ToggleDemoSound();
    /// The "Jump To Time" and "Marker List" dialogs; playback pauses while they are open.
    void OpenDemoJumpDialog();
    void OpenDemoMarkerList();
    /// Pauses playback and lets live input through for a dialog about to open; false when
    /// one is open already.
    bool BeginDemoDialog();
    /// Closes the dialog and resumes playback as it was before the dialog opened.
    void EndDemoDialog(int dialogId);
    void RestoreVolumesAfterPlayback();
    void WriteStatistics();
    /// Acquires the single-instance lock; false when another copy runs (exit code 0).
    bool ClaimSingleInstance();
    void ChangeToDataFolder();
    void WaitForVerticalSync();
    /// Sleeps `ms` as part of the current loop step and remembers it, so the loading share
    /// after the step counts only the time the main thread worked.
    void SleepInStep(int ms);
    /// As SleepInStep, but wakes when input arrives.
    void WaitForInputInStep(int ms);
    /// No demo records or plays and nothing loads: the loop may rest on a still screen.
    bool MayRest() const;
    /// At exit: keep or drop hardware acceleration turned on during the run.
    void ConfirmHardwareAcceleration();
    bool IsMainThread() const { return std::this_thread::get_id() == mainThreadId; }
    Rect DialogArea() const override { return Rect(0, 0, width, height); }
    // AppWindowHost
    void AdoptScreenImage(std::unique_ptr<MemoryImage> image) override;
    bool IsWindowedRequested() const override { return windowedRequested; }
    void FallBackToSoftware() override { is3D = false; }
    void EndWithDisplayError(const std::string& text) override;
    bool AllowsScreenSaver() const override;
    void ToggleDebugKeys() override;
    bool AreDebugKeysOn() const override { return debugKeysEnabled; }

    int updateInterval = 10;
    double updateSpeed = 1.0;
    std::atomic<bool> shutdown{false};
    std::atomic<bool> breakInnerLoop{false};
    std::atomic<bool> shutdownFromOtherThread{false};
    bool shutdownDone = false;
    bool initialized = false;
    bool lastRunEndedCleanly = true;
    bool settingsRead = false;
    CommandLineOptions commandLineOptions;
    bool commandLineRead = false;
    /// The name the program was started by, for the pointer to "--help" after an error.
    std::string programName;
    /// The stored screen mode while the command line overrides it for this run.
    std::optional<bool> storedWindowed;
    int exitCode = -1;
    int updateCount = 0;
    std::unique_ptr<PlatformClock> clock;
    AppWindow window;
    LoopStatistics statistics;
    LoopTiming timing;
    LoopRest rest;
    DeferredWidgetDeletes deferredDeletes;
    std::unique_ptr<WidgetManager> widgetManager;
    std::unique_ptr<ResourceManager> resourceManager;
    std::unique_ptr<MemoryImage> screenImage;
    std::thread::id mainThreadId;
    int64_t constructionTime = 0;
    /// What the running StepTiming call has slept so far.
    int64_t stepSleptMs = 0;
    int64_t startTime = 0;
    bool drawing = false;
    FpsOverlay fps;
    /// The recorded pointer, drawn into a frame only while it is shown.
    CursorSprite demoPointer;
    ScreensaverErrorLog screensaverLog;
    SingleInstanceLock instanceLock;
    ImageCache imageCache;
    SharedImageLoader previousImageLoader;
    LiveImageSet liveImages;
    std::unique_ptr<DemoRecorder> demoRecorder;
    std::unique_ptr<DemoPlayer> demoPlayer;
    /// The window was closed during playback: settings are real again.
    bool playbackStopped = false;
    /// The display record has been written or read; outcomes before it are not recorded.
    bool demoStreamStarted = false;
    std::pair<int, int> recordedPointer{0, 0};
    int64_t lastFastForwardDraw = 0;
    /// A playback dialog is open and takes live input.
    bool demoDialogOpen = false;
    /// What the open playback dialog must give back: the viewer's pause, and the keys and
    /// input time the replayed run saw, which live typing in the dialog changes.
    bool pausedBeforeDemoDialog = false;
    std::array<bool, 255> keysBeforeDemoDialog{};
    int lastInputBeforeDemoDialog = 0;
    /// Volumes the "S" control took away.
    double savedMusicVolume = 0;
    double savedSfxVolume = 0;
    std::filesystem::path launchFolder;
};

} // namespace Zorva
