#include "app/SingleInstanceLock.h"
#include "app/ZorvaAppBase.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Zorva;

namespace {

/// A display whose results are scripted: each Initialize takes the next result (0 when
/// the script is used up), and Present fails while `lost` is set.
class ScriptedDisplay : public DisplayOutput
{
public:
    bool Present(MemoryImage&, const Rect&) override
    {
        ++presents;
        return !lost;
    }
    int Initialize(bool windowed, bool accelerated) override
    {
        calls.push_back({windowed, accelerated});
        if (next < results.size()) {
            return results[next++];
        }
        lost = false;
        return 0;
    }
    std::string ErrorText() const override { return "CreateSurface Windowed Primary"; }

    struct Call
    {
        bool windowed;
        bool accelerated;
    };
    std::vector<int> results;
    std::size_t next = 0;
    std::vector<Call> calls;
    bool lost = false;
    int presents = 0;
};

class AnsweringMessageBox : public MessageBoxService
{
public:
    explicit AnsweringMessageBox(int reply) : answer(reply) {}
    int Show(const std::string& text, const std::string& title, int) override
    {
        shown.push_back(title + "|" + text);
        if (outliving != nullptr) {
            outliving->push_back(title);
        }
        return answer;
    }
    int answer;
    std::vector<std::string> shown;
    /// Also records the titles here, for boxes shown while the application is destroyed.
    std::vector<std::string>* outliving = nullptr;
};

class StartupApp : public ZorvaAppBase
{
public:
    StartupApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        auto scripted = std::make_unique<ScriptedDisplay>();
        display = scripted.get();
        SetDisplayOutput(std::move(scripted));
        auto answering = std::make_unique<AnsweringMessageBox>(kMessageBoxNo);
        box = answering.get();
        SetMessageBoxService(std::move(answering));
    }
    using ZorvaAppBase::GetLoopTiming;
    using ZorvaAppBase::is3DChangedThisRun;
    using ZorvaAppBase::screensaverMode;
    using ZorvaAppBase::test3DPassedCleanly;
    WindowState& windowState = EditWindowState();
    bool OverrideWorkingDir(const std::string&) override { return keepWorkingDir; }
    void RefreshCursor() override { ++cursorRefreshes; }

    ScriptedDisplay* display = nullptr;
    AnsweringMessageBox* box = nullptr;
    bool keepWorkingDir = true;
    int cursorRefreshes = 0;
};

class PaintCounter : public Widget
{
public:
    void Paint(Graphics&) override { ++paints; }
    int paints = 0;
};

std::filesystem::path ProcessFolder()
{
    return std::filesystem::temp_directory_path() / ("zorva_startup_" + std::to_string(::getpid()));
}

/// A fresh folder of this process, set as the user folder (and settings place).
std::string FreshHome(const std::string& name)
{
    const auto dir = ProcessFolder() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ::setenv("QUARROW_HOME", dir.c_str(), 1);
    return dir.string();
}

/// Removes the process's folders when the test program ends.
class TemporaryFolders : public ::testing::Environment
{
public:
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(ProcessFolder(), error);
    }
};

const auto* const kTemporaryFolders = ::testing::AddGlobalTestEnvironment(new TemporaryFolders);

} // namespace

TEST(SingleInstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    const std::string home = FreshHome("lock");
    const std::string path = home + "/.lock";
    SingleInstanceLock first;
    SingleInstanceLock second;
    EXPECT_EQ(first.Acquire(path), SingleInstanceLock::Result::Acquired);
    EXPECT_EQ(second.Acquire(path), SingleInstanceLock::Result::HeldElsewhere);
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_EQ(second.Acquire(path), SingleInstanceLock::Result::Acquired);
    SingleInstanceLock nowhere;
    EXPECT_EQ(nowhere.Acquire(home + "/no/such/folder/.lock"),
              SingleInstanceLock::Result::Unavailable);
}

TEST(AppStartupTest, SecondInstanceEndsWithExitCodeZeroAndScreensaverSkipsTheLock)
{
    FreshHome("instances");
    StartupApp first;
    first.Init();
    ASSERT_TRUE(first.IsInitialized());
    StartupApp second;
    testing::internal::CaptureStderr();
    second.Init();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(second.IsInitialized());
    EXPECT_TRUE(second.IsShuttingDown());
    EXPECT_EQ(second.GetExitCode(), 0);
    EXPECT_NE(said.find("Product is already running."), std::string::npos);
    EXPECT_TRUE(second.display->calls.empty());

    StartupApp screensaver;
    screensaver.screensaverMode = true;
    screensaver.Init();
    EXPECT_TRUE(screensaver.IsInitialized());
}

TEST(AppStartupTest, InitChangesIntoTheDataFolderUnlessOverridden)
{
    FreshHome("workdir");
    const auto data = std::filesystem::temp_directory_path() /
                      ("zorva_startup_data_" + std::to_string(::getpid()));
    std::filesystem::create_directories(data);
    ::setenv("QUARROW_DATA", data.c_str(), 1);
    const auto before = std::filesystem::current_path();
    {
        StartupApp kept;
        kept.singleInstance = false;
        kept.Init();
        EXPECT_EQ(std::filesystem::current_path(), before);
    }
    StartupApp app;
    app.singleInstance = false;
    app.keepWorkingDir = false;
    app.Init();
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(data));
    std::filesystem::current_path(before);
    ::unsetenv("QUARROW_DATA");
    std::filesystem::remove_all(data);
}

TEST(AppStartupTest, DisplayFailuresFallBackToSoftwareOrEndTheProgram)
{
    FreshHome("display");
    StartupApp accelerated;
    accelerated.singleInstance = false;
    accelerated.is3D = true;
    accelerated.display->results = {7};
    accelerated.Init();
    EXPECT_TRUE(accelerated.IsInitialized());
    EXPECT_FALSE(accelerated.is3D);
    ASSERT_EQ(accelerated.display->calls.size(), 2u);
    EXPECT_TRUE(accelerated.display->calls[0].accelerated);
    EXPECT_FALSE(accelerated.display->calls[1].accelerated);

    StartupApp broken;
    broken.singleInstance = false;
    broken.display->results = {3};
    broken.Init();
    EXPECT_FALSE(broken.IsInitialized());
    EXPECT_EQ(broken.GetExitCode(), 1);
    ASSERT_EQ(broken.box->shown.size(), 1u);
    EXPECT_EQ(broken.box->shown[0], "FATAL ERROR|Failed to initialize DirectDraw: "
                                    "RESULT_SURFACE_FAIL CreateSurface Windowed Primary");
}

TEST(AppStartupTest, LostDisplayIsRecreatedAndEverythingRepainted)
{
    FreshHome("lost");
    StartupApp app;
    app.singleInstance = false;
    app.Init();
    auto* widget = new PaintCounter;
    widget->Place(0, 0, 10, 10);
    app.GetWidgetManager()->AddWidget(widget);
    app.DrawIfDue();
    EXPECT_EQ(widget->paints, 1);

    // The display fails, and its first re-creation fails too: nothing is drawn meanwhile.
    app.display->lost = true;
    app.display->results = {1};
    app.display->next = 0;
    app.display->calls.clear();
    widget->Invalidate();
    app.DrawIfDue();
    EXPECT_EQ(app.display->calls.size(), 1u);
    const int paintsWhileLost = widget->paints;
    app.DrawIfDue();
    EXPECT_EQ(widget->paints, paintsWhileLost);
    EXPECT_EQ(app.display->calls.size(), 2u);
    // The second re-creation worked: the next draw repaints the whole tree.
    app.DrawIfDue();
    EXPECT_EQ(widget->paints, paintsWhileLost + 1);
    app.GetWidgetManager()->RemoveWidget(widget);
    delete widget;
}

TEST(AppStartupTest, CursorRequestsBecomeCursorNumbers)
{
    StartupApp app;
    app.SetCursor(CursorKind::Hand);
    app.SetCursor(CursorKind::Hand);
    EXPECT_EQ(app.windowState.cursorNumber, 1);
    EXPECT_EQ(app.cursorRefreshes, 1);
    app.SetCursor(CursorKind::TextBeam);
    EXPECT_EQ(app.windowState.cursorNumber, 3);
    EXPECT_EQ(CursorForNumber(12), CursorKind::GameDrawn);
    EXPECT_EQ(CursorForNumber(13), CursorKind::Arrow);
    EXPECT_EQ(CursorForNumber(-1), CursorKind::Arrow);
}

TEST(AppStartupTest, AccelerationTurnedOnDuringTheRunIsConfirmedAtExit)
{
    const std::string home = FreshHome("confirm");
    for (const int answer : {kMessageBoxYes, kMessageBoxNo}) {
        std::filesystem::remove(home + "/settings.conf");
        std::vector<std::string> titles;
        {
            StartupApp app;
            app.singleInstance = false;
            app.registryKey = "Test\\Confirm";
            app.companyTitle = "Ostravel";
            app.box->answer = answer;
            app.box->outliving = &titles;
            app.test3DPassedCleanly = false;
            app.Init();
            app.ChangeScreenMode(true, true, false);
            EXPECT_TRUE(app.is3DChangedThisRun);
            EXPECT_TRUE(app.is3D);
        }
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_EQ(titles[0], "Ostravel Hardware Acceleration Confirmation");
        StartupApp reader;
        reader.registryKey = "Test\\Confirm";
        bool stored = false;
        const bool found = reader.ReadBoolean("Is3D", stored);
        EXPECT_EQ(found, answer == kMessageBoxYes) << answer;
        EXPECT_TRUE(!found || stored);
    }

    // Without a change during the run the current flag is stored without a question.
    std::filesystem::remove(home + "/settings.conf");
    {
        StartupApp app;
        app.singleInstance = false;
        app.registryKey = "Test\\Confirm";
        app.Init();
    }
    StartupApp reader;
    reader.registryKey = "Test\\Confirm";
    bool stored = true;
    EXPECT_TRUE(reader.ReadBoolean("Is3D", stored));
    EXPECT_FALSE(stored);
}
