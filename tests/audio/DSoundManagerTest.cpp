#include "audio/DSoundManager.h"

#include "audio/AudioFiles.h"
#include "audio/Mixer.h"
#include "audio/SoundFileLoader.h"
#include "audio/VolumeMapping.h"

#include "AudioTestFiles.h"
#include "TestAudioSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

/// A manager on a test sink, in a temporary working folder holding "sounds/".
struct ManagerOnSink
{
    ManagerOnSink()
    {
        std::filesystem::create_directory("sounds");
        auto owned = std::make_unique<TestAudioSink>();
        sink = owned.get();
        mixer = Mixer::Create(std::move(owned));
        manager = std::make_unique<DSoundManager>(mixer, folder.Path() + "/cached");
    }
    ScopedTempFolder folder;
    TestAudioSink* sink = nullptr;
    std::shared_ptr<Mixer> mixer;
    std::unique_ptr<DSoundManager> manager;
};

int16_t Scaled(int16_t value, double gain)
{
    return static_cast<int16_t>(std::lrint(value * gain));
}

void SetModificationTime(const std::string& path, int64_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

} // namespace

TEST(DSoundManagerTest, Instance_MixedAtItsVolumeAndPanThroughTheDevice)
{
    ManagerOnSink setup;
    WriteBytes("sounds/tone.wav", WavOf(ConstantSound(16000, 4000)));
    ASSERT_TRUE(setup.manager->LoadSound(7, "sounds/tone"));
    SoundInstance* instance = setup.manager->NewInstance(7);
    ASSERT_NE(instance, nullptr);
    instance->SetVolume(0.5);
    instance->SetPan(-1000);
    ASSERT_TRUE(instance->Play(false, false));
    EXPECT_TRUE(instance->IsPlaying());

    // Volume 0.5 is -605 hundredths of a decibel; pan -1000 takes 10 dB off the right.
    const double gain = std::pow(10.0, -605 / 2000.0);
    auto out = setup.sink->Pull(3);
    EXPECT_EQ(At(out, 0, 0), Scaled(16000, gain));
    EXPECT_EQ(At(out, 2, 0), Scaled(16000, gain));
    EXPECT_NEAR(At(out, 0, 1), 16000 * gain * std::pow(10.0, -0.5), 1.0);

    // The base pan adds to the pan; the manager's level scales every instance at once; the
    // output gain scales the whole mix.
    instance->SetBasePan(3000);
    setup.manager->SetVolume(0.5);
    out = setup.sink->Pull(1);
    const double quieter = std::pow(10.0, VolumeToHundredths(0.25) / 2000.0);
    EXPECT_NEAR(At(out, 0, 0), 16000 * quieter * std::pow(10.0, -1.0), 1.0);
    EXPECT_NEAR(At(out, 0, 1), 16000 * quieter, 1.0);
    setup.manager->SetVolume(1.0);
    instance->SetBasePan(0);
    instance->SetPan(0);
    instance->SetVolume(1.0);
    setup.manager->SetMasterVolume(0.5);
    EXPECT_NEAR(setup.manager->GetMasterVolume(), 32767.0 / 65535.0, 1e-12);
    out = setup.sink->Pull(1);
    EXPECT_NEAR(At(out, 0, 0), 16000 * 32767.0 / 65535.0, 1.0);
}

TEST(DSoundManagerTest, Instance_PitchResamplesAndStopRewinds)
{
    ManagerOnSink setup;
    std::vector<int16_t> ramp;
    for (int i = 0; i < 64; ++i) {
        ramp.push_back(static_cast<int16_t>(i * 100));
    }
    WriteBytes("sounds/ramp.wav", WavOf(SoundOf(ramp, 22050)));
    ASSERT_TRUE(setup.manager->LoadSound(1, "sounds/ramp"));
    SoundInstance* instance = setup.manager->NewInstance(1);
    ASSERT_NE(instance, nullptr);
    // A 22050 Hz sample steps half a frame per output frame; +12 semitones a whole one.
    instance->Play(false, false);
    auto out = setup.sink->Pull(4);
    EXPECT_EQ(At(out, 1, 0), 50);
    EXPECT_EQ(At(out, 3, 0), 150);
    instance->Stop();
    EXPECT_FALSE(instance->IsPlaying());
    instance->AdjustPitch(12);
    instance->Play(false, false);
    out = setup.sink->Pull(3);
    EXPECT_EQ(At(out, 0, 0), 0);
    EXPECT_EQ(At(out, 2, 0), 200);
    // Played out, it stops by itself.
    setup.sink->Pull(100);
    EXPECT_FALSE(instance->IsPlaying());

    // Releasing the sound while an instance plays keeps the instance's copy alive.
    instance->Play(true, false);
    setup.manager->ReleaseSound(1);
    EXPECT_EQ(setup.manager->GetFileName(1), "");
    out = setup.sink->Pull(3);
    EXPECT_EQ(At(out, 2, 0), 200);
    EXPECT_EQ(setup.manager->NewInstance(1), nullptr);
}

TEST(DSoundManagerTest, Instances_ThirtyThirdRefusedUnlessOneWasReleased)
{
    ManagerOnSink setup;
    WriteBytes("sounds/blip.wav", WavOf(ConstantSound(1000, 10)));
    ASSERT_TRUE(setup.manager->LoadSound(0, "sounds/blip"));
    std::vector<SoundInstance*> held;
    for (int i = 0; i < 31; ++i) {
        held.push_back(setup.manager->NewInstance(0));
        ASSERT_NE(held.back(), nullptr);
        held.back()->Play(true, false);
    }
    SoundInstance* once = setup.manager->NewInstance(0);
    ASSERT_NE(once, nullptr);
    once->Play(false, true);
    EXPECT_EQ(setup.manager->NewInstance(0), nullptr);

    // The instance played once frees its slot when it has played out.
    setup.sink->Pull(20);
    SoundInstance* reused = setup.manager->NewInstance(0);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(setup.manager->NewInstance(0), nullptr);

    // A released instance frees its slot; a stopped one does not.
    held[5]->Stop();
    EXPECT_EQ(setup.manager->NewInstance(0), nullptr);
    held[6]->Release();
    EXPECT_NE(setup.manager->NewInstance(0), nullptr);

    // StopAll keeps the wish to auto-release: such instances free their slots afterwards.
    setup.manager->DeleteInstances();
    SoundInstance* looping = setup.manager->NewInstance(0);
    SoundInstance* autoReleased = setup.manager->NewInstance(0);
    looping->Play(true, false);
    autoReleased->Play(true, true);
    setup.manager->StopAll();
    EXPECT_FALSE(looping->IsPlaying());
    EXPECT_FALSE(looping->IsReleased());
    EXPECT_TRUE(autoReleased->IsReleased());
    const auto out = setup.sink->Pull(1);
    EXPECT_EQ(At(out, 0, 0), 0);

    EXPECT_EQ(setup.manager->NewInstance(256), nullptr);
    EXPECT_EQ(setup.manager->NewInstance(-1), nullptr);
}

TEST(DSoundManagerTest, LoadSound_SameNameSameIdElseTheHighestFree)
{
    ManagerOnSink setup;
    WriteBytes("sounds/a.wav", WavOf(ConstantSound(1, 4)));
    WriteBytes("sounds/b.wav", WavOf(ConstantSound(20000, 6)));
    WriteBytes("sounds/c.wav", WavOf(ConstantSound(3, 2)));
    EXPECT_EQ(setup.manager->LoadSound("sounds/a"), 255);
    EXPECT_EQ(setup.manager->LoadSound("sounds/a"), 255);
    EXPECT_EQ(setup.manager->LoadSound("sounds/b"), 254);
    EXPECT_EQ(setup.manager->GetDataSize(254), 12u);
    // A failed load leaves its id free, not holding a name without a sample.
    EXPECT_EQ(setup.manager->LoadSound("sounds/missing"), -1);
    EXPECT_EQ(setup.manager->GetFileName(253), "");
    EXPECT_EQ(setup.manager->LoadSound("sounds/missing"), -1);
    EXPECT_FALSE(setup.manager->LoadSound(10, "sounds/missing"));
    EXPECT_EQ(setup.manager->NewInstance(10), nullptr);

    EXPECT_FALSE(setup.manager->LoadSound(256, "sounds/a"));
    EXPECT_FALSE(setup.manager->LoadSound(-1, "sounds/a"));
    EXPECT_FALSE(setup.manager->SetBaseVolume(256, 0.5));
    EXPECT_FALSE(setup.manager->SetBasePan(256, 10));
    EXPECT_TRUE(setup.manager->SetBaseVolume(255, 0.5));

    // The base volume reaches new instances.
    setup.manager->SetBaseVolume(254, 0.5);
    SoundInstance* halved = setup.manager->NewInstance(254);
    ASSERT_NE(halved, nullptr);
    halved->Play(true, false);
    EXPECT_EQ(At(setup.sink->Pull(1), 0, 0), Scaled(20000, std::pow(10.0, -605 / 2000.0)));

    // No id is free once all 256 hold sounds.
    for (int id = 0; id < 254; ++id) {
        ASSERT_TRUE(setup.manager->LoadSound(id, "sounds/a"));
    }
    EXPECT_EQ(setup.manager->LoadSound("sounds/b"), 254);
    EXPECT_EQ(setup.manager->LoadSound("sounds/c"), -1);
    setup.manager->ReleaseSound(100);
    EXPECT_EQ(setup.manager->LoadSound("sounds/c"), 100);
}

TEST(DSoundManagerTest, NoDevice_EverythingSucceedsSilently)
{
    DSoundManager manager;
    EXPECT_FALSE(manager.HasDevice());
    EXPECT_TRUE(manager.LoadSound(3, "no/such/file"));
    EXPECT_EQ(manager.LoadSound("no/such/file"), 255);
    SoundInstance* instance = manager.NewInstance(3);
    ASSERT_NE(instance, nullptr);
    instance->AdjustPitch(5);
    instance->SetVolume(0.3);
    EXPECT_DOUBLE_EQ(instance->GetVolume(), 0.3);
    EXPECT_TRUE(instance->Play(false, true));
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsReleased());
    manager.SetMasterVolume(0.25);
    EXPECT_NEAR(manager.GetMasterVolume(), 0.25, 1e-4);
    manager.StopAll();
    manager.Flush();
}

TEST(DSoundManagerTest, Cache_DecodedSoundsAreCachedAndRebuiltWhenStale)
{
    ManagerOnSink setup;
    WriteBytes("sounds/beep.au", AuFile(2, 8000, 1, {0x10, 0x20}));
    SetModificationTime("sounds/beep.au", 1000000);
    ASSERT_TRUE(setup.manager->LoadSound(0, "sounds/beep"));
    const std::string cachePath = setup.folder.Path() + "/cached/sounds/beep.wav";
    ASSERT_TRUE(std::filesystem::exists(cachePath));
    const SoundFileLoader loader(setup.folder.Path() + "/cached");
    EXPECT_EQ(loader.Load("sounds/beep")->data, (Bytes{0x90, 0xA0}));

    // Same time, different bytes: the cache is current and is what loads.
    WriteBytes("sounds/beep.au", AuFile(2, 8000, 1, {0x30, 0x40}));
    SetModificationTime("sounds/beep.au", 1000000);
    EXPECT_EQ(loader.Load("sounds/beep")->data, (Bytes{0x90, 0xA0}));

    // A changed time makes it stale: the source is decoded again and the cache rewritten.
    SetModificationTime("sounds/beep.au", 2000000);
    EXPECT_EQ(loader.Load("sounds/beep")->data, (Bytes{0xB0, 0xC0}));
    std::filesystem::remove("sounds/beep.au");
    // The rebuilt cache names a source that is gone now, so it is stale as well.
    EXPECT_FALSE(loader.Load("sounds/beep"));

    // Ogg files are cached too; ".wav" files are preferred and never cached.
    WriteBytes("sounds/tune.ogg", OggSine(1, 22050, 500));
    WriteBytes("sounds/tune.wav", WavOf(ConstantSound(5, 3)));
    EXPECT_EQ(loader.Load("sounds/tune")->data.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(setup.folder.Path() + "/cached/sounds/tune.wav"));
    std::filesystem::remove("sounds/tune.wav");
    EXPECT_EQ(loader.Load("sounds/tune")->data.size(), 1000u);
    EXPECT_TRUE(std::filesystem::exists(setup.folder.Path() + "/cached/sounds/tune.wav"));
}

TEST(DSoundManagerTest, Cache_OnlyForRelativeNamesAndNeverRequired)
{
    ScopedTempFolder folder;
    const SoundFileLoader loader(folder.Path() + "/cached");
    EXPECT_EQ(loader.CachePathFor("sounds/x"), folder.Path() + "/cached/sounds/x.wav");
    EXPECT_EQ(loader.CachePathFor("sounds\\x"), folder.Path() + "/cached/sounds/x.wav");
    EXPECT_EQ(loader.CachePathFor("/abs/x"), "");
    EXPECT_EQ(loader.CachePathFor("C:x"), "");
    EXPECT_EQ(loader.CachePathFor("ab"), "");
    EXPECT_EQ(loader.CachePathFor("../../etc/x"), "");
    EXPECT_EQ(loader.CachePathFor("a/../x"), "");
    EXPECT_EQ(loader.CachePathFor("a/..b/x"), folder.Path() + "/cached/a/..b/x.wav");

    // A cache folder that cannot be made is simply not used.
    WriteBytes("blocked", {1});
    const SoundFileLoader blocked(folder.Path() + "/blocked");
    std::filesystem::create_directory("sounds");
    WriteBytes("sounds/y.au", AuFile(1, 8000, 1, {0xFF}));
    const auto loaded = blocked.Load("sounds/y");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->data.size(), 2u);
    EXPECT_FALSE(blocked.Load("sounds/none"));
}
