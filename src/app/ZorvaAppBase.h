#pragma once

#include "app/CommandLine.h"
#include "app/DeferredMessageQueue.h"
#include "app/DialogTable.h"
#include "app/DisplayOutput.h"
#include "app/ImageCache.h"
#include "app/LiveImageSet.h"
#include "app/LoopStatistics.h"
#include "app/LoopTiming.h"
#include "app/MessageBoxService.h"
#include "app/PlatformClock.h"
#include "app/SingleInstanceLock.h"
#include "app/WindowMessage.h"
#include "app/WindowState.h"
#include "app/WindowSystem.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "graphics/FontServices.h"
#include "graphics/ImageRegistry.h"
#include "graphics/Rect.h"
#include "resources/ResourceHost.h"
#include "widgets/ButtonListener.h"
#include "widgets/Dialog.h"
#include "widgets/DialogHost.h"
#include "widgets/DialogListener.h"
#include "widgets/WidgetHost.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Zorva {

class Font;
class MemoryImage;
class ResourceManager;
class Mixer;
class SettingsStore;
class Widget;
class WidgetManager;

/// The framework's application object: owns the widget manager, the screen image and the
/// platform seams, and runs the fixed-rate main loop. The game derives from it, sets the
/// public fields before Init and overrides the hooks, whose base versions do nothing.
///
/// Threads: the loop, the updates and drawing run on the main thread; RunLoadingWork runs
/// on the loading thread. Shutdown may be called from any thread.
class ZorvaAppBase : public ButtonListener,
                     public DialogListener,
                     public WidgetHost,
                     public ImageRegistry,
                     public DialogHost,
                     public ResourceHost
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
    /// Queues the widget for deletion once the loop returns to the current nesting depth.
    void DeferWidgetDelete(Widget* widget) override;
    int GetUpdateCount() const override { return updateCount; }
    bool Is3D() const override { return is3D; }
    /// The system clipboard, through the window layer.
    std::string GetClipboard() const override;
    void SetClipboard(const std::string& text) override;

    // Lifecycle
    virtual void Init();
    virtual void Start();
    /// From another thread this only flags the request; the main thread acts at its next
    /// StepTiming.
    virtual void Shutdown();
    /// Init has run to its end.
    bool IsInitialized() const { return initialized; }
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
    virtual void AdvanceFraction(double) {}
    virtual bool DrawIfDue();
    virtual void PresentFrame(const Rect& rect);
    /// Runs loop steps until one performed an update (true) or a step ended early (false).
    virtual bool RunUntilUpdate();
    /// Deletes the queued widgets recorded at or below the current nesting depth.
    void ProcessDeferredDeletes();
    /// One update stands for `updateInterval / updateSpeed` ms; a speed of 0 or less pauses.
    int GetUpdateInterval() const { return updateInterval; }
    double GetUpdateSpeed() const { return updateSpeed; }
    void SetUpdateSpeed(double speed) { updateSpeed = speed; }
    const LoopStatistics& GetLoopStatistics() const { return statistics; }

    // Loading thread
    void StartLoadingThread();
    /// Blocks until a started loading thread has ended. A derived class whose
    /// RunLoadingWork uses its own members calls this in its destructor.
    void WaitForLoadingThread();
    virtual double GetLoadingProgress() const;
    bool IsLoadingThreadRunning() const { return loadingThreadRunning; }
    /// The loading work has returned; the main thread notices it at its next update.
    bool IsLoadingThreadDone() const { return loadingThreadDone; }
    bool IsLoadingHandled() const { return loadingDoneHandled; }

    // Hooks
    virtual void OnLoadingFinished() {}
    virtual void OnInitFinished() {}
    virtual void OnShutdownStarting() {}
    virtual void OnLoopFinished() {}
    virtual void RunLoadingWork() {}
    /// Called in Init after the settings are read, before the window is made.
    virtual void OnBeforeWindowCreated() {}
    /// Called before the display is (re)initialised.
    virtual void OnBeforeDisplayInit() {}
    /// Return true to keep the working directory; else Init changes into `dataFolder`.
    virtual bool OverrideWorkingDir(const std::string& dataFolder);

    // Seams for the window layer; the base versions are headless.
    /// Makes the main window and initialises the display for it.
    virtual void CreateMainWindow();
    /// Shows the cursor for the cursor number.
    virtual void RefreshCursor();
    /// The sound manager and music player for this run; null keeps the silent ones. The
    /// base versions play on the SDL sound device, and stay silent with `noSound` or
    /// without a device.
    virtual std::unique_ptr<SoundManager> MakeSoundManager();
    virtual std::unique_ptr<MusicInterface> MakeMusicPlayer();
    /// Every live image drops, then re-creates, its display surface (display resets).
    virtual void ReleaseImageSurfaces();
    virtual void RestoreImageSurfaces();
    /// Re-creates the display in the mode asked for; the window layer also remakes the
    /// window. `force` re-applies an unchanged mode.
    virtual void ChangeScreenMode(bool wantWindowed, bool accelerated, bool force);
    void ChangeScreenMode(bool wantWindowed) { ChangeScreenMode(wantWindowed, is3D, false); }
    void ReapplyScreenMode() { ChangeScreenMode(windowedRequested, is3D, true); }
    /// Hands the pending window-system events to HandleWindowMessage.
    virtual void ProcessWindowMessages();
    /// Handles one deferred message; false when the queue is empty afterwards.
    virtual bool ProcessDeferredMessage();
    /// Seam for the window layer's idle (screensaver) rule.
    virtual bool IsIdle() const { return false; }
    /// The mode in force after the window was made.
    bool IsWindowed() const { return windowState.windowed; }
    bool HasFocus() const { return windowState.hasFocus; }

    // Seams for demo recording and playback; the base versions neither record nor play.
    /// Message stage: lets playback inject the events that are due.
    virtual void InjectDueDemoEvents() {}
    /// Start of StepTiming: playback's jump and step rules.
    virtual void ApplyDemoTimingRules() {}
    /// Whether playback holds the loop still.
    virtual bool DemoPausesLoop() const { return false; }
    /// Whether playback lets the next update run now (loading state, next event).
    virtual bool DemoAllowsUpdate() const { return true; }
    /// Whether playback says loading has completed at this update.
    virtual bool DemoReportsLoadingDone() const { return true; }
    /// Called when loading completion was handled (recording writes its event).
    virtual void OnDemoLoadingHandled() {}
    virtual bool IsPlayingDemo() const { return false; }

    // Messages
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags);
    virtual void ShowErrorBox(const std::string& text);
    /// Debug output: kept in the debug log, and on standard error when enabled.
    virtual void OutputDebug(const std::string& text);
    std::string GetDebugLog() const;
    /// Draws the frame-rate overlay into the screen image (`showFps`).
    virtual void DrawFpsOverlay();

    // Settings
    virtual void ReadSettings();
    virtual void WriteSettings();
    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int value);
    bool WriteBoolean(const std::string& name, bool flag);
    bool WriteBytes(const std::string& name, const uint8_t* data, std::size_t length);
    bool ReadString(const std::string& name, std::string& out);
    bool ReadInteger(const std::string& name, int& out);
    bool ReadBoolean(const std::string& name, bool& out);
    bool ReadBytes(const std::string& name, std::vector<uint8_t>& out);
    bool DeleteValue(const std::string& name);
    /// The previous run did not reach the end of the loop.
    bool LastRunEndedCleanly() const { return lastRunEndedCleanly; }

    // Command line
    /// Parses the program arguments (once) and applies them; false after an invalid
    /// switch, which was shown with ShowErrorBox and requests the exit with code 0.
    virtual bool ReadCommandLine(int argc, const char* const* argv);
    virtual bool ApplyCommandLine(const std::vector<CommandLineParam>& params);
    const CommandLineOptions& GetCommandLineOptions() const { return commandLineOptions; }
    bool IsScreensaverMode() const { return screensaverMode; }

    // Sound
    virtual void PlaySoundOnce(int id, int pan);
    virtual void PlaySoundOnce(int id);
    virtual void SilenceAllSounds();
    virtual double GetMusicVolume() const { return musicVolume; }
    virtual double GetSfxVolume() const { return sfxVolume; }
    virtual bool MuteActive() const { return muteCount > 0; }
    /// Mutes in force, and how many of them the focus rule added.
    int GetMuteCount() const { return muteCount; }
    int GetAutoMuteCount() const { return autoMuteCount; }
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    virtual void AddMute(bool automatic);
    /// Loads a manifest sound into `id` with its base volume (below 0: unset) and pan.
    bool LoadSoundResource(int id, const std::string& path, double volume, int pan) override;
    virtual void RemoveAddMute(bool automatic);
    SoundManager* GetSoundManager() const { return soundOutput.get(); }
    MusicInterface* GetMusicInterface() const { return musicOutput.get(); }

    // Images
    /// Loads an image file into a new display image; null when it cannot be read.
    std::unique_ptr<MemoryImage> LoadImageToSurface(const std::string& file,
                                                    bool lookForAlphaImage) override;
    /// One shared image per (path, variant); `newlyLoaded` tells that this call read it.
    SharedImage GetSharedImage(const std::string& path, const std::string& variant = {}) override;

    // Dialogs. The application owns the dialogs it shows; a closed one is deleted once the
    // loop has left it. Buttons 1000 and 1001 of dialog d reach the application's button
    // events as d + 2000 and d + 3000.
    /// Closes the dialog of that id, then shows a new one made by CreateDialogObject.
    virtual Dialog* ShowNewDialog(int id, bool modal, const std::string& header,
                                  const std::string& lines, const std::string& footer,
                                  int buttonMode);
    virtual Dialog* FindDialog(int id) const;
    /// Shows the dialog under its own id.
    virtual Dialog* AttachDialog(std::unique_ptr<Dialog> dialog);
    /// Shows the dialog under `id`, closing one shown there before. A dialog without a size
    /// gets half the application's width, the height it asks for, and a place centred
    /// across and a fifth down. A modal one becomes the modal layer.
    virtual Dialog* AttachDialog(int id, std::unique_ptr<Dialog> dialog);
    /// Only the dialog itself: not another shown under its id since.
    bool CloseDialog(Dialog* dialog) override;
    /// False when none is shown under `id`. A dialog closed without a button reads 0.
    virtual bool CloseDialog(int id);
    virtual int CountDialogs() const;
    /// Makes the plain dialog that ShowNewDialog shows.
    virtual std::unique_ptr<Dialog> CreateDialogObject(int id, bool modal,
                                                       const std::string& header,
                                                       const std::string& lines,
                                                       const std::string& footer, int buttonMode);
    virtual void OnModalBegin() {}
    virtual void OnModalEnd() {}
    void OnDialogButtonPressed(int dialogId, int buttonId) override;
    void OnDialogButtonActivated(int dialogId, int buttonId) override;
    bool RunModalStep() override { return RunUntilUpdate(); }

    WidgetManager* GetWidgetManager() const { return widgetManager.get(); }
    ResourceManager* GetResourceManager() const { return resourceManager.get(); }
    MemoryImage* GetScreenImage() const { return screenImage.get(); }

    // The registry of live images, kept under its own lock (images are also made on the
    // loading thread). Images that outlive the application forget it when it goes.
    void AddImage(MemoryImage* image) override;
    void RemoveImage(MemoryImage* image) override;
    void DropImageTexture(MemoryImage* image) override;
    std::size_t LiveImageCount() const;

    // The platform seams, replaced before Init (the platform layer puts SDL in).
    PlatformClock& GetClock() const { return *clock; }
    WindowSystem* GetWindowSystem() const { return windowSystem.get(); }
    DisplayOutput* GetDisplayOutput() const { return displayOutput.get(); }
    void SetMessageBoxService(std::unique_ptr<MessageBoxService> service);
    void SetSoundManager(std::unique_ptr<SoundManager> manager);
    void SetMusicInterface(std::unique_ptr<MusicInterface> music);
    /// The display may hold on to the old window: drop the display first.
    void SetWindowSystem(std::unique_ptr<WindowSystem> system);
    void SetDisplayOutput(std::unique_ptr<DisplayOutput> output);

    // Window, input and focus (ZorvaAppBaseWindow.cpp).
    /// The window procedure: notes modifier state, handles Alt+Enter and queues the rest
    /// (no timer right after a timer, nothing after a close) for the loop.
    void HandleWindowMessage(const WindowMessage& message);
    /// Switches hardware acceleration; `reinitialise` re-creates the display at once.
    void Set3D(bool on, bool reinitialise);
    /// Opens the address in the browser and watches whether that seemed to work.
    virtual bool OpenWebAddress(const std::string& url, bool shutdownAfter);
    virtual void OnWebOpenFailed(const std::string& url);
    virtual void OnWebOpenConfirmed(const std::string& url);
    /// An address was asked for and the watch has not decided yet.
    bool IsWebOpenPending() const { return webOpenPending; }
    virtual void OnFocusGained() {}
    virtual void OnFocusLost() {}
    /// Called when the window is asked to close, before the close is queued.
    virtual void CloseRequested() {}
    /// Diagnostic keys while the debug keys are on; true takes the key.
    virtual bool HandleDebugKey(int) { return false; }
    /// Offered every key down before it is queued; true swallows it.
    virtual bool HandleDebugKeyEarly(int, bool, bool) { return false; }
    /// hasFocus = active and not minimised; on a change mutes or unmutes and tells the widgets.
    void ReevaluateFocus();

    // Set by the game, before Init unless noted.
    std::string companyTitle;
    std::string productName = "Product";
    std::string windowCaption = "ZorvaApp";
    std::string registryKey;
    std::string productVersion;
    /// When set, the settings file used instead of the one derived from `registryKey`.
    std::string settingsPath;
    int width = 640;
    int height = 480;
    bool windowedRequested = true;
    /// Hardware acceleration; the stored setting replaces it, and Set3D switches it later.
    bool is3D = false;
    bool singleInstance = true;
    bool noSound = false;
    bool useAltMusicPlayer = false;
    bool muteWhenInactive = true;
    /// The game turns this off when it has nothing to load.
    bool loadingThreadEnabled = true;
    /// The number of loading tasks and how many are done (written by the loading work);
    /// progress is their ratio.
    std::atomic<int> loadingTaskCount{0};
    std::atomic<int> loadingTasksCompleted{0};
    /// Debug output also goes to standard error (QUARROW_DEBUG or -verbose turn it on).
    bool debugOutputEnabled = false;
    bool debugKeysEnabled = false;
    /// Played when the debug keys are switched; -1 plays nothing.
    int debugKeysSoundId = -1;
    /// Display settings, read and written with the others.
    bool customCursors = false;
    bool waitForVSync = false;
    bool showFps = false;
    /// 0: frames per second; 1: the pointer position.
    int fpsMode = 0;

protected:
    /// The sound device's mixer, shared by the sound manager and the music player; null
    /// while silent. A derived MakeSoundManager that opens its own device sets it.
    std::shared_ptr<Mixer> audioMixer;
    /// The window layer's state; derived window and demo layers may act on it.
    WindowState windowState;
    /// Set by the command line; single instance and the screensaver rule follow it.
    bool screensaverMode = false;
    /// The 3D setting was changed during this run (asks to confirm it at exit).
    bool is3DChangedThisRun = false;
    /// The display's 3D self-test passed without a flaw.
    bool test3DPassedCleanly = true;
    /// The accelerated display failed to begin a frame during this run.
    bool frameBeginFailed = false;

    const LoopTiming& GetLoopTiming() const { return timing; }
    const DeferredMessageQueue& GetDeferredMessages() const { return deferredMessages; }
    int GetNestingDepth() const { return nestingDepth; }
    std::size_t CountDeferredDeletes() const { return deferredDeletes.size(); }
    bool IsShutdownRequestedElsewhere() const { return shutdownFromOtherThread; }
    bool IsInnerLoopBroken() const { return breakInnerLoop; }

private:
    SettingsStore* Settings();
    void ApplyVolumes();
    void WriteStatistics();
    /// Acquires the single-instance lock; false when another copy runs (exit code 0).
    bool ClaimSingleInstance();
    void ChangeToDataFolder();
    /// Re-creates a lost display when the window can show it; true when it is back.
    bool ReinitializeDisplay();
    void WaitForVerticalSync();
    void CountFrameForFps(int64_t presentTime);
    /// At exit: keep or drop hardware acceleration turned on during the run.
    void ConfirmHardwareAcceleration();
    bool IsMainThread() const { return std::this_thread::get_id() == mainThreadId; }
    /// At exit: every dialog still shown leaves the widget manager and is deleted.
    void DeleteRemainingDialogs();
    // Window layer helpers (ZorvaAppBaseWindow.cpp).
    /// Init: a window as large as the desktop is full screen instead.
    void ChooseInitialScreenMode();
    /// Start: shows the window and gives the application the focus.
    void ShowMainWindowForLoop();
    /// OnBeforeDisplayInit, surfaces released, display initialised; the result code.
    int InitializeDisplay();
    /// Reacts to a display result; false when the window was remade or the program ends.
    bool SettleDisplayResult(int result);
    void EndWithDisplayError(const std::string& text);
    void HandleTimerMessage();
    void HandleKeyDownMessage(int key);
    void HandleMouseMessage(const WindowMessage& message);
    void HandleMoveMessage(const WindowMessage& message);
    void HandleSizeMessage(const WindowMessage& message);
    void HandleActivateMessage(const WindowMessage& message);
    void WatchWebOpen();
    void CheckPointerInside();
    /// Forgets the modifier state after a key the window layer took for itself.
    void ClearKeyState();
    void AddAutomaticMute();
    void RemoveAutomaticMute();

    int updateInterval = 10;
    double updateSpeed = 1.0;
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    /// The volumes demo playback restores when it ends.
    double savedMusicVolume = 0;
    double savedSfxVolume = 0;
    int muteCount = 0;
    int autoMuteCount = 0;
    std::atomic<bool> shutdown{false};
    std::atomic<bool> breakInnerLoop{false};
    std::atomic<bool> shutdownFromOtherThread{false};
    bool shutdownDone = false;
    bool initialized = false;
    bool lastRunEndedCleanly = true;
    bool settingsRead = false;
    bool settingsOpened = false;
    CommandLineOptions commandLineOptions;
    bool commandLineRead = false;
    /// Set when the program is to end with this exit code (an invalid switch asks for 0).
    int exitCode = -1;
    int updateCount = 0;
    std::unique_ptr<PlatformClock> clock;
    std::unique_ptr<MessageBoxService> messageBox;
    std::unique_ptr<SoundManager> soundOutput;
    std::unique_ptr<MusicInterface> musicOutput;
    /// Declared before the display, which may hold on to the window until it goes.
    std::unique_ptr<WindowSystem> windowSystem;
    std::unique_ptr<DisplayOutput> displayOutput;
    LoopStatistics statistics;
    LoopTiming timing;
    /// Depth of re-entrant loop steps (modal loops), and the widgets to delete once the loop
    /// is back at the depth they were queued at.
    int nestingDepth = 0;
    std::vector<std::pair<int, Widget*>> deferredDeletes;
    DeferredMessageQueue deferredMessages;
    DialogTable dialogs;
    std::unique_ptr<WidgetManager> widgetManager;
    std::unique_ptr<ResourceManager> resourceManager;
    std::unique_ptr<MemoryImage> screenImage;
    std::unique_ptr<SettingsStore> settingsStore;
    std::atomic<bool> loadingThreadStarted{false};
    std::atomic<bool> loadingThreadDone{false};
    std::atomic<bool> loadingDoneHandled{false};
    std::atomic<bool> loadingThreadRunning{false};
    std::thread loadingThread;
    std::thread::id mainThreadId;
    int64_t constructionTime = 0;
    int64_t startTime = 0;
    /// Set while Start runs the main loop: paint messages present the frame then.
    bool loopRunning = false;
    bool drawing = false;
    bool displayMade = false;
    bool displayLost = false;
    int64_t lastReinitAttempt = 0;
    int refreshRate = 60;
    /// Frames presented in the current second and in the last whole one.
    int framesThisSecond = 0;
    int framesLastSecond = 0;
    int64_t fpsSecondStart = 0;
    std::unique_ptr<Font> fpsFont;
    bool webOpenPending = false;
    bool shutdownAfterWebOpen = false;
    std::string pendingWebAddress;
    int64_t webOpenTime = 0;
    SingleInstanceLock instanceLock;
    mutable std::mutex debugMutex;
    std::string debugLog;
    ImageCache imageCache;
    SharedImageLoader previousImageLoader;
    ImageRegistry* previousImageRegistry = nullptr;
    LiveImageSet liveImages;
};

} // namespace Zorva
