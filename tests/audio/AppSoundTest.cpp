#include "app/ZorvaAppBase.h"

#include "audio/DSoundManager.h"
#include "audio/Mixer.h"
#include "audio/OpenMptMusicInterface.h"

#include "AudioTestFiles.h"
#include "TestAudioSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

/// An application whose sound device is a test sink.
class SinkApp : public ZorvaAppBase
{
public:
    SinkApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        singleInstance = false;
        loadingThreadEnabled = false;
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    std::unique_ptr<SoundManager> MakeSoundManager() override
    {
        auto owned = std::make_unique<TestAudioSink>();
        sink = owned.get();
        audioMixer = Mixer::Create(std::move(owned));
        return std::make_unique<DSoundManager>(audioMixer);
    }
    TestAudioSink* sink = nullptr;
};

} // namespace

TEST(AppSoundTest, VolumesMutesAndPlaySoundOnceReachTheMix)
{
    ScopedTempFolder folder;
    setenv("QUARROW_HOME", folder.Path().c_str(), 1);
    std::filesystem::create_directory("music");
    WriteBytes("click.wav", WavOf(ConstantSound(20000, 2000)));
    WriteBytes("music/dc.wav", WavOf(ConstantSound(10000, 2000)));
    SinkApp app;
    app.settingsPath = folder.Path() + "/settings.conf";
    app.SetSfxVolume(1.0);
    app.SetMusicVolume(0.5);
    app.Init();
    ASSERT_NE(app.sink, nullptr);
    ASSERT_TRUE(app.GetSoundManager()->HasDevice());
    // The base player makes the music player on the same mixer.
    ASSERT_TRUE(app.GetMusicInterface()->LoadMusic(0, "music/dc.wav"));
    app.GetMusicInterface()->PlayMusic(0, 0, false);
    EXPECT_EQ(At(app.sink->Pull(1), 0, 0), 5000);

    ASSERT_TRUE(app.GetSoundManager()->LoadSound(3, "click"));
    app.PlaySoundOnce(3, -2000);
    auto out = app.sink->Pull(1);
    EXPECT_EQ(At(out, 0, 0), 25000);
    EXPECT_EQ(At(out, 0, 1), 5000 + 2000);

    // A mute silences effects and music; the per-update call runs the music's fades.
    app.AddMute(true);
    EXPECT_EQ(At(app.sink->Pull(1), 0, 0), 0);
    app.RemoveAddMute(true);
    app.GetMusicInterface()->FadeOut(0, true, 0.5);
    app.AdvanceOneUpdate();
    app.SilenceAllSounds();
    EXPECT_EQ(At(app.sink->Pull(1), 0, 0), 2500);
    app.SetMasterVolume(0.0);
    EXPECT_EQ(At(app.sink->Pull(1), 0, 0), 0);
    unsetenv("QUARROW_HOME");
}

TEST(AppSoundTest, NoSound_KeepsTheSilentPlayers)
{
    ScopedTempFolder folder;
    setenv("QUARROW_HOME", folder.Path().c_str(), 1);
    class QuietApp : public ZorvaAppBase
    {
    public:
        QuietApp() : ZorvaAppBase(std::make_unique<FakeClock>())
        {
            singleInstance = false;
            noSound = true;
        }
        using ZorvaAppBase::audioMixer;
        bool OverrideWorkingDir(const std::string&) override { return true; }
    } app;
    app.settingsPath = folder.Path() + "/settings.conf";
    app.Init();
    EXPECT_FALSE(app.GetSoundManager()->HasDevice());
    EXPECT_EQ(app.audioMixer, nullptr);
    EXPECT_FALSE(app.GetMusicInterface()->LoadMusic(0, "x.ogg"));
    app.PlaySoundOnce(0);
    unsetenv("QUARROW_HOME");
}
