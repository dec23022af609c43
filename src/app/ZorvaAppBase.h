#pragma once

#include "app/AudioOutputs.h"
#include "app/CommandLine.h"
#include "app/DisplayOutput.h"
#include "app/MessageBoxService.h"
#include "app/PlatformClock.h"
#include "graphics/FontServices.h"
#include "graphics/ImageRegistry.h"
#include "graphics/Rect.h"
#include "widgets/WidgetHost.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Zorva {

class MemoryImage;
class SettingsStore;
class Widget;
class WidgetManager;

/// The framework's application object: owns the widget manager, the screen image and the
/// platform seams, and runs the fixed-rate main loop. The game derives from it and
/// overrides the hooks, whose base versions do nothing.
///
/// Threads: the loop, the updates and drawing run on the main thread; RunLoadingWork runs
/// on the loading thread. Shutdown may be called from any thread.
class ZorvaAppBase : public WidgetHost, public ImageRegistry
{
public:
    /// The seams default to headless implementations (real clock, standard-error messages,
    /// silent audio, null display).
    explicit ZorvaAppBase(std::unique_ptr<PlatformClock> clock = nullptr);
    ~ZorvaAppBase() override;
    ZorvaAppBase(const ZorvaAppBase&) = delete;
    ZorvaAppBase& operator=(const ZorvaAppBase&) = delete;

    // WidgetHost
    void SetCursor(CursorKind cursor) override;
    /// Queues the widget for deletion once the loop returns to the current nesting depth.
    void DeferWidgetDelete(Widget* widget) override;
    int GetUpdateCount() const override { return updateCount; }
    bool Is3D() const override { return is3D; }

    // Lifecycle
    virtual void Init();
    virtual void Start();
    /// From another thread this only flags the request; the main thread acts at its next
    /// StepTiming.
    virtual void Shutdown();

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

    // Loading thread
    void StartLoadingThread();
    /// Blocks until a started loading thread has ended. A derived class whose
    /// RunLoadingWork uses its own members calls this in its destructor.
    void WaitForLoadingThread();
    virtual double GetLoadingProgress() const;

    // Hooks
    virtual void OnLoadingFinished() {}
    virtual void OnInitFinished() {}
    virtual void OnShutdownStarting() {}
    virtual void OnLoopFinished() {}
    virtual void RunLoadingWork() {}
    /// Seam for the window layer: dispatch pending window-system messages.
    virtual void ProcessWindowMessages() {}
    /// Seam for the window layer: handle one deferred message; false when the queue is empty.
    virtual bool ProcessDeferredMessage() { return false; }
    /// Seam for the window layer's idle (screensaver) rule.
    virtual bool IsIdle() const { return false; }

    // Messages
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags);
    virtual void ShowErrorBox(const std::string& text);
    /// Debug output: kept in the debug log, and on standard error when enabled.
    virtual void OutputDebug(const std::string& text);
    std::string GetDebugLog() const;

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

    // Command line
    /// Parses the program arguments (once) and applies them; false after an invalid
    /// switch, which was shown with ShowErrorBox and requests the exit with code 0.
    virtual bool ReadCommandLine(int argc, const char* const* argv);
    virtual bool ApplyCommandLine(const std::vector<CommandLineParam>& params);

    // Sound
    virtual void PlaySoundOnce(int id, int pan);
    virtual void PlaySoundOnce(int id);
    virtual void SilenceAllSounds();
    virtual double GetMusicVolume() const { return musicVolume; }
    virtual double GetSfxVolume() const { return sfxVolume; }
    virtual bool MuteActive() const { return muteCount > 0; }
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    virtual void AddMute(bool automatic);
    virtual void RemoveAddMute(bool automatic);

    // Images
    /// Loads an image file into a new display image; null when it cannot be read.
    virtual std::unique_ptr<MemoryImage> LoadImageToSurface(const std::string& file,
                                                            bool lookForAlphaImage);
    /// One shared image per (path, variant); `newlyLoaded` tells that this call read it.
    SharedImage GetSharedImage(const std::string& path, const std::string& variant = {});

    WidgetManager* GetWidgetManager() const { return widgetManager.get(); }

    // The registry of live images, kept under its own lock (images are also made on the
    // loading thread). Images that outlive the application forget it when it goes.
    void AddImage(MemoryImage* image) override;
    void RemoveImage(MemoryImage* image) override;
    void DropImageTexture(MemoryImage* image) override;
    std::size_t LiveImageCount() const;
    MemoryImage* GetScreenImage() const { return screenImage.get(); }

    // Fields, with their construction defaults.
    std::string companyTitle;
    std::string productName = "Product";
    std::string windowCaption = "ZorvaApp";
    std::string registryKey;
    std::string productVersion;
    /// When set, the settings file used instead of the one derived from `registryKey`.
    std::string settingsPath;
    int width = 640;
    int height = 480;
    int preferredX = -1;
    int preferredY = -1;
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    double savedMusicVolume = 0;
    double savedSfxVolume = 0;
    int updateInterval = 10;
    double updateSpeed = 1.0;
    bool windowedRequested = true;
    bool windowed = true;
    bool modeChangedForFullscreen = false;
    bool forcedFullscreen = false;
    bool forcedWindowed = false;
    bool singleInstance = true;
    bool noSound = false;
    bool useAltMusicPlayer = false;
    std::atomic<bool> shutdown{false};
    std::atomic<bool> breakInnerLoop{false};
    bool active = true;
    bool minimized = false;
    bool hasFocus = true;
    bool muteWhenInactive = true;
    int muteCount = 0;
    int autoMuteCount = 0;
    bool systemDialogOpen = false;
    bool hidden = false;
    bool initialized = false;
    bool mouseInWindow = false;
    int cursorNumber = 0;
    int updateCount = 0;
    int drawCount = 0;
    int sleepCount = 0;
    /// Calls of PresentFrame that reached the display.
    int presentCount = 0;
    int drawTimeTotal = 0;
    int presentTimeTotal = 0;
    double pendingTime = 0;
    int64_t lastTimeSample = 0;
    bool timeSampled = false;
    int loopState = 0;
    int updatesSinceDraw = 0;
    bool updatedSinceDraw = true;
    int nestingDepth = 0;
    int64_t lastDrawTime = 0;
    int64_t nextDrawAllowedTime = 0;
    int64_t lastInputTime = 0;
    std::atomic<bool> loadingThreadStarted{false};
    std::atomic<bool> loadingThreadDone{false};
    std::atomic<bool> loadingDoneHandled{false};
    std::atomic<bool> loadingThreadRunning{false};
    /// The game turns this off when it has nothing to load.
    bool loadingThreadEnabled = true;
    /// The number of loading tasks and how many are done; progress is their ratio.
    std::atomic<int> loadingTaskCount{0};
    std::atomic<int> loadingTasksCompleted{0};
    std::thread::id mainThreadId;
    std::atomic<bool> shutdownFromOtherThread{false};
    /// Demo playback has paused the loop (set by the demo layer).
    bool demoPaused = false;
    std::vector<std::pair<int, Widget*>> deferredDeletes;
    bool is3D = false;
    bool customCursors = false;
    bool waitForVSync = false;
    bool lastRunEndedCleanly = true;
    bool settingsRead = false;
    bool debugOutputEnabled = false;
    bool screensaverMode = false;
    CommandLineOptions commandLineOptions;
    bool commandLineRead = false;
    /// Set when the program is to end with this exit code (an invalid switch asks for 0).
    int exitCode = -1;

    std::unique_ptr<PlatformClock> clock;
    std::unique_ptr<MessageBoxService> messageBox;
    std::unique_ptr<SoundOutput> soundOutput;
    std::unique_ptr<MusicOutput> musicOutput;
    std::unique_ptr<DisplayOutput> displayOutput;

protected:
    struct ImageKey
    {
        std::string path;
        std::string variant;
        bool operator<(const ImageKey& other) const
        {
            return path != other.path ? path < other.path : variant < other.variant;
        }
    };

    SettingsStore* Settings();
    void ApplyVolumes();
    void WriteStatistics();
    bool IsMainThread() const { return std::this_thread::get_id() == mainThreadId; }

    std::unique_ptr<WidgetManager> widgetManager;
    std::unique_ptr<MemoryImage> screenImage;
    std::unique_ptr<SettingsStore> settingsStore;
    bool settingsOpened = false;
    std::thread loadingThread;
    int64_t constructionTime = 0;
    int64_t startTime = 0;
    bool drawing = false;
    /// Painted into the screen image but not yet presented (the throttle held it back).
    bool framePending = false;
    bool lastDrawEmpty = false;
    bool displayLost = false;
    bool shutdownDone = false;
    mutable std::mutex debugMutex;
    std::string debugLog;
    std::mutex imageCacheMutex;
    std::map<ImageKey, std::shared_ptr<MemoryImage>> imageCache;
    SharedImageLoader previousImageLoader;
    ImageRegistry* previousImageRegistry = nullptr;
    mutable std::mutex imageRegistryMutex;
    std::set<MemoryImage*> liveImages;
};

} // namespace Zorva
