#include "audio/MusicInterface.h"
#include "audio/Mixer.h"
#include "audio/OpenMptMusicInterface.h"

#include "AudioTestFiles.h"
#include "TestAudioSink.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

/// A music player on a test sink, in a temporary folder holding "music/dc.wav": a steady
/// 16000 at the output rate, so every output sample shows the song's gain exactly.
struct PlayerOnSink
{
    PlayerOnSink()
    {
        std::filesystem::create_directory("music");
        WriteBytes("music/dc.wav", WavOf(ConstantSound(16000, 441)));
        auto owned = std::make_unique<TestAudioSink>();
        sink = owned.get();
        mixer = Mixer::Create(std::move(owned));
        music = std::make_unique<OpenMptMusicInterface>(mixer);
    }
    /// The left sample of the next output frame.
    int Level() { return At(sink->Pull(1), 0, 0); }
    void Updates(int count)
    {
        for (int i = 0; i < count; ++i) {
            music->Update();
        }
    }

    ScopedTempFolder folder;
    TestAudioSink* sink = nullptr;
    std::shared_ptr<Mixer> mixer;
    std::unique_ptr<OpenMptMusicInterface> music;
};

int PeakOf(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t sample : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

} // namespace

TEST(MusicInterfaceTest, SilentPlayer_DoesNothing)
{
    MusicInterface silent;
    EXPECT_FALSE(silent.LoadMusic(0, "anything.mo3"));
    silent.PlayMusic(0, 0, false);
    silent.FadeIn(0, 0, 0.1, false);
    silent.Update();
    EXPECT_FALSE(silent.IsPlaying(0));
}

TEST(MusicInterfaceTest, Fades_FollowTheUpdateRules)
{
    PlayerOnSink setup;
    ASSERT_TRUE(setup.music->LoadMusic(1, "music/dc.wav"));
    EXPECT_DOUBLE_EQ(setup.music->GetSongVolume(1), 0.0);

    // A fade-in at 0.01 from silence reaches the cap after 100 updates and then rests.
    setup.music->FadeIn(1, 0, 0.01, false);
    EXPECT_TRUE(setup.music->IsPlaying(1));
    EXPECT_EQ(setup.Level(), 0);
    setup.Updates(50);
    EXPECT_EQ(setup.Level(), 8000);
    setup.Updates(49);
    EXPECT_LT(setup.music->GetSongVolume(1), 1.0);
    setup.Updates(1);
    EXPECT_DOUBLE_EQ(setup.music->GetSongVolume(1), 1.0);
    EXPECT_EQ(setup.Level(), 16000);
    setup.Updates(5);
    EXPECT_DOUBLE_EQ(setup.music->GetSongVolume(1), 1.0);

    // A lower cap lowers the volume at once; playing starts at the cap.
    setup.music->SetSongMaxVolume(1, 0.5);
    EXPECT_EQ(setup.Level(), 8000);
    setup.music->SetSongMaxVolume(1, 0.75);
    EXPECT_EQ(setup.Level(), 8000);
    setup.music->PlayMusic(1, 0, false);
    EXPECT_EQ(setup.Level(), 12000);

    // Without stop-when-done the song runs on silently; with it, it stops.
    setup.music->FadeOut(1, false, 0.25);
    setup.Updates(3);
    EXPECT_EQ(setup.Level(), 0);
    EXPECT_TRUE(setup.music->IsPlaying(1));
    setup.music->PlayMusic(1, 0, false);
    setup.music->FadeOut(1, true, 0.075);
    setup.Updates(9);
    EXPECT_TRUE(setup.music->IsPlaying(1));
    setup.Updates(1);
    EXPECT_FALSE(setup.music->IsPlaying(1));
    EXPECT_DOUBLE_EQ(setup.music->GetSongVolume(1), 0.0);

    // Fading out a silent song changes nothing, not even a fade-in that just began.
    setup.music->FadeIn(1, 0, 0.1, false);
    setup.music->FadeOut(1, true, 0.5);
    setup.Updates(1);
    EXPECT_NEAR(setup.music->GetSongVolume(1), 0.1, 1e-12);
    EXPECT_TRUE(setup.music->IsPlaying(1));

    // The music level scales every song, in whole percent.
    setup.music->SetSongVolume(1, 1.0);
    setup.music->SetVolume(0.255);
    EXPECT_EQ(setup.Level(), 4000);
}

TEST(MusicInterfaceTest, FadeOutAll_StopsEverySongAndUnknownIdsAreIgnored)
{
    PlayerOnSink setup;
    ASSERT_TRUE(setup.music->LoadMusic(0, "music/dc.wav"));
    ASSERT_TRUE(setup.music->LoadMusic(3, "music/dc.wav"));
    setup.music->PlayMusic(0, 0, false);
    setup.music->PlayMusic(3, 0, false);
    EXPECT_EQ(setup.Level(), 32000);
    setup.music->FadeOutAll(true, 0.5);
    setup.Updates(2);
    EXPECT_FALSE(setup.music->IsPlaying(0));
    EXPECT_FALSE(setup.music->IsPlaying(3));

    setup.music->PlayMusic(9, 0, false);
    setup.music->FadeIn(9, 0, 0.1, false);
    setup.music->SetSongVolume(9, 1.0);
    EXPECT_FALSE(setup.music->IsPlaying(9));
    EXPECT_DOUBLE_EQ(setup.music->GetSongVolume(9), -1.0);
    EXPECT_EQ(setup.Level(), 0);
}

TEST(MusicInterfaceTest, Streams_LoopOrEndPauseAndUnload)
{
    PlayerOnSink setup;
    ASSERT_TRUE(setup.music->LoadMusic(2, "music/dc.wav"));
    setup.music->PlayMusic(2, 0, true);
    setup.sink->Pull(440);
    EXPECT_TRUE(setup.music->IsPlaying(2));
    EXPECT_EQ(setup.Level(), 16000);
    EXPECT_EQ(setup.Level(), 0);
    EXPECT_FALSE(setup.music->IsPlaying(2));

    setup.music->PlayMusic(2, 0, false);
    setup.sink->Pull(2000);
    EXPECT_TRUE(setup.music->IsPlaying(2));
    EXPECT_EQ(setup.Level(), 16000);
    setup.music->PauseMusic(2);
    EXPECT_FALSE(setup.music->IsPlaying(2));
    EXPECT_EQ(setup.Level(), 0);
    setup.music->ResumeAllMusic();
    EXPECT_EQ(setup.Level(), 16000);
    setup.music->StopAllMusic();
    EXPECT_EQ(setup.Level(), 0);
    setup.music->ResumeMusic(2);
    EXPECT_FALSE(setup.music->IsPlaying(2));

    // A stream at half the output rate is interpolated between its frames.
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) {
        ramp.push_back(static_cast<int16_t>(i * 100));
    }
    WriteBytes("music/ramp.wav", WavOf(SoundOf(ramp, 22050)));
    ASSERT_TRUE(setup.music->LoadMusic(2, "music/ramp.wav"));
    setup.music->PlayMusic(2, 0, true);
    const auto out = setup.sink->Pull(4);
    EXPECT_EQ(At(out, 1, 0), 50);
    EXPECT_EQ(At(out, 3, 1), 150);

    setup.music->UnloadMusic(2);
    EXPECT_FALSE(setup.music->IsPlaying(2));
    EXPECT_EQ(setup.Level(), 0);
    ASSERT_TRUE(setup.music->LoadMusic(4, "music/dc.wav"));
    setup.music->PlayMusic(4, 0, false);
    setup.music->UnloadAllMusic();
    EXPECT_FALSE(setup.music->IsPlaying(4));
    EXPECT_EQ(setup.Level(), 0);
}

TEST(MusicInterfaceTest, Modules_PlayLoopAndEndAndMissingFilesFallBack)
{
    PlayerOnSink setup;
    WriteBytes("music/song.mod", TinyMod(true));
    // The named ".mo3" is missing; the same stem with ".mod" is found.
    ASSERT_TRUE(setup.music->LoadMusic(0, "music/song.mo3"));
    setup.music->PlayMusic(0, 0, true);
    EXPECT_GT(PeakOf(setup.sink->Pull(600)), 100);
    setup.sink->Pull(44100);
    EXPECT_FALSE(setup.music->IsPlaying(0));

    setup.music->PlayMusic(0, 0, false);
    setup.sink->Pull(44100);
    EXPECT_TRUE(setup.music->IsPlaying(0));
    EXPECT_GT(PeakOf(setup.sink->Pull(600)), 100);

    // Amplification scales modules: 0 silences, 0.5 plays as written.
    setup.music->SetMusicAmplify(0, 0.0);
    EXPECT_EQ(PeakOf(setup.sink->Pull(600)), 0);
    setup.music->SetMusicAmplify(0, 0.5);
    EXPECT_GT(PeakOf(setup.sink->Pull(600)), 100);

    WriteBytes("music/a.s3m", {1});
    WriteBytes("music/a.ogg", {2});
    WriteBytes("music/a.mod", {3});
    EXPECT_EQ(ResolveSongFile("music/a.mo3"), "music/a.s3m");
    EXPECT_EQ(ResolveSongFile("music/a"), "music/a.s3m");
    EXPECT_EQ(ResolveSongFile("music/a.ogg"), "music/a.ogg");
    EXPECT_EQ(ResolveSongFile("music/b.mo3"), "");

    // Files that are no songs fail to load and leave the loaded song alone.
    WriteBytes("music/bad.xm", Bytes(300, 0x41));
    WriteBytes("music/bad.mp3", Bytes(300, 0xFF));
    WriteBytes("music/bad.ogg", Bytes(300, 0x4F));
    EXPECT_FALSE(setup.music->LoadMusic(0, "music/bad.xm"));
    EXPECT_FALSE(setup.music->LoadMusic(0, "music/bad.mp3"));
    EXPECT_FALSE(setup.music->LoadMusic(0, "music/bad.ogg"));
    EXPECT_FALSE(setup.music->LoadMusic(0, "music/none.mo3"));
    EXPECT_TRUE(setup.music->IsPlaying(0));

    // Ogg Vorbis songs stream.
    WriteBytes("music/tune.ogg", OggSine(2, 44100, 3000));
    ASSERT_TRUE(setup.music->LoadMusic(5, "music/tune.ogg"));
    setup.music->StopMusic(0);
    setup.music->PlayMusic(5, 0, true);
    EXPECT_GT(PeakOf(setup.sink->Pull(2000)), 4000);
    setup.sink->Pull(2000);
    EXPECT_FALSE(setup.music->IsPlaying(5));
}
