#include "app/DemoPlayer.h"
#include "app/ZorvaAppBase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace Zorva;

namespace {

class ControlledApp : public ZorvaAppBase
{
public:
    ControlledApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        singleInstance = false;
        loadingThreadEnabled = false;
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void Type(char control)
    {
        HandleWindowMessage(WindowMessage::Key(WindowMessageKind::Char, control));
    }
    void RunUpdates(int count)
    {
        for (int i = 0; i < count && !IsShuttingDown(); ++i) {
            RunUntilUpdate();
        }
    }
};

/// 300 updates with a marker at 100 and 200, then the window closes.
void RecordQuietRun(const std::string& demo)
{
    ControlledApp app;
    ASSERT_TRUE(app.ApplyCommandLine({{"-record", ""}, {"-demofile", demo}}));
    app.Init();
    app.RunUpdates(100);
    app.AddDemoMarker("One-Side Level 1");
    app.RunUpdates(100);
    app.AddDemoMarker("One-Side Level 2");
    app.RunUpdates(100);
    app.HandleWindowMessage(WindowMessage::Of(WindowMessageKind::Close));
    app.RunUpdates(10);
}

} // namespace

TEST(DemoControlsTest, TypedKeysSteerThePlayback)
{
    const auto home = std::filesystem::temp_directory_path() /
                      ("zorva_demo_controls_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    ::setenv("QUARROW_HOME", home.c_str(), 1);
    const std::string demo = (home / "quiet.dmo").string();
    RecordQuietRun(demo);

    ControlledApp app;
    ASSERT_TRUE(app.ApplyCommandLine({{"-play", ""}, {"-demofile", demo}}));
    app.Init();
    ASSERT_TRUE(app.IsInitialized());
    DemoPlayer& player = *app.GetDemoPlayer();
    EXPECT_EQ(player.Length(), 300);
    EXPECT_EQ(
        player.MarkerListLines(50, app.GetUpdateInterval()),
        (std::vector<std::string>{"One-Side Level 1 (00:00:02)", "One-Side Level 2 (00:00:01)"}));
    app.RunUpdates(10);

    app.Type('+');
    EXPECT_DOUBLE_EQ(app.GetUpdateSpeed(), 1.5);
    app.Type('-');
    app.Type('-');
    EXPECT_DOUBLE_EQ(app.GetUpdateSpeed(), 1.0 / 1.5);
    app.Type('=');
    EXPECT_DOUBLE_EQ(app.GetUpdateSpeed(), 1.0);

    app.Type('P');
    bool updated = false;
    for (int step = 0; step < 20; ++step) {
        app.LoopStep(updated);
    }
    EXPECT_EQ(app.GetUpdateCount(), 10);
    app.Type('p');
    app.RunUpdates(1);
    EXPECT_EQ(app.GetUpdateCount(), 11);

    // Runs to the next level start, then on at the normal pace.
    app.Type('M');
    EXPECT_EQ(player.jumpTarget, 100);
    app.RunUpdates(89);
    EXPECT_TRUE(player.fastForwarding);
    app.RunUpdates(1);
    EXPECT_EQ(app.GetUpdateCount(), 101);
    EXPECT_FALSE(player.fastForwarding);

    app.Type('N');
    EXPECT_EQ(player.jumpTarget, 102);
    EXPECT_TRUE(player.singleStep);
    // Five seconds before the end of a three-second demo is its start.
    app.Type('9');
    EXPECT_EQ(player.jumpTarget, 0);
    app.Type('0');
    EXPECT_EQ(player.jumpTarget, 300);
    app.RunUpdates(1000);
    EXPECT_TRUE(app.IsShuttingDown());
    EXPECT_EQ(app.GetUpdateCount(), 300);
    EXPECT_EQ(app.GetDemoOutOfStepCount(), 0);
    std::filesystem::remove_all(home);
}
