#include "audio/Mixer.h"

#include "AudioTestFiles.h"
#include "TestAudioSink.h"

#include <gtest/gtest.h>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

struct MixerOnSink
{
    MixerOnSink()
    {
        auto owned = std::make_unique<TestAudioSink>();
        sink = owned.get();
        mixer = Mixer::Create(std::move(owned));
    }
    TestAudioSink* sink = nullptr;
    std::shared_ptr<Mixer> mixer;
};

void StartVoice(Mixer& mixer, MixerVoice& voice, const SoundBuffer& sample, double step,
                bool looping)
{
    MixerLock lock(mixer);
    voice.sample = &sample;
    voice.step = step;
    voice.looping = looping;
    voice.playing = true;
    mixer.AddVoice(&voice);
}

class ConstantSource : public MixerSource
{
public:
    void Mix(float* stereo, int frames) override
    {
        for (int i = 0; i < 2 * frames; ++i) {
            stereo[i] += 0.25f;
        }
    }
};

} // namespace

TEST(MixerTest, Voice_InterpolatesBetweenFramesAndStopsAtTheEnd)
{
    MixerOnSink setup;
    ASSERT_TRUE(setup.mixer);
    const SoundBuffer ramp = SoundOf({0, 1000, 2000, 3000});
    MixerVoice voice;
    StartVoice(*setup.mixer, voice, ramp, 0.5, false);
    const auto out = setup.sink->Pull(10);
    const int expected[] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(At(out, i, 0), expected[i]) << "frame " << i;
        EXPECT_EQ(At(out, i, 1), expected[i]) << "frame " << i;
    }
    EXPECT_FALSE(voice.playing);

    // A looping voice wraps, interpolating from the last frame back to the first.
    MixerVoice looping;
    const SoundBuffer pair = SoundOf({100, 300});
    StartVoice(*setup.mixer, looping, pair, 0.5, true);
    const auto wrapped = setup.sink->Pull(6);
    const int cycle[] = {100, 200, 300, 200, 100, 200};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(At(wrapped, i, 0), cycle[i]) << "frame " << i;
    }
    EXPECT_TRUE(looping.playing);
    MixerLock lock(*setup.mixer);
    setup.mixer->RemoveVoice(&voice);
    setup.mixer->RemoveVoice(&looping);
}

TEST(MixerTest, Output_SumsVoicesAndSourcesClipsAndAppliesTheOutputGain)
{
    MixerOnSink setup;
    ASSERT_TRUE(setup.mixer);
    const SoundBuffer loud = ConstantSound(30000, 8);
    MixerVoice first;
    MixerVoice second;
    StartVoice(*setup.mixer, first, loud, 1.0, true);
    StartVoice(*setup.mixer, second, loud, 1.0, true);
    auto out = setup.sink->Pull(2);
    EXPECT_EQ(At(out, 0, 0), 32767);
    EXPECT_EQ(At(out, 1, 1), 32767);

    {
        MixerLock lock(*setup.mixer);
        second.playing = false;
        setup.mixer->SetOutputGain(0.5f);
    }
    out = setup.sink->Pull(1);
    EXPECT_EQ(At(out, 0, 0), 15000);

    // Unsigned 8-bit stereo: 255 is just under full scale, 0 is full negative.
    SoundBuffer bytes;
    bytes.channels = 2;
    bytes.bitsPerSample = 8;
    bytes.sampleRate = 44100;
    bytes.data = {255, 0};
    {
        MixerLock lock(*setup.mixer);
        first.playing = false;
        setup.mixer->SetOutputGain(1.0f);
    }
    MixerVoice narrow;
    StartVoice(*setup.mixer, narrow, bytes, 1.0, true);
    out = setup.sink->Pull(1);
    EXPECT_EQ(At(out, 0, 0), 32512);
    EXPECT_EQ(At(out, 0, 1), -32768);

    // The music's source adds on top, and the sum clips.
    ConstantSource source;
    {
        MixerLock lock(*setup.mixer);
        setup.mixer->AddSource(&source);
    }
    out = setup.sink->Pull(1);
    EXPECT_EQ(At(out, 0, 0), 32767);
    EXPECT_EQ(At(out, 0, 1), -32768 + 8192);
    MixerLock lock(*setup.mixer);
    setup.mixer->RemoveSource(&source);
    setup.mixer->RemoveVoice(&first);
    setup.mixer->RemoveVoice(&second);
    setup.mixer->RemoveVoice(&narrow);
}

TEST(MixerTest, Create_FailsWithoutAWorkingOutput)
{
    EXPECT_EQ(Mixer::Create(nullptr), nullptr);
    auto refusing = std::make_unique<TestAudioSink>();
    refusing->startSucceeds = false;
    EXPECT_EQ(Mixer::Create(std::move(refusing)), nullptr);
}
