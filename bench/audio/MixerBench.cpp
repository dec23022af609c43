// One second of output as the sound device asks for it: 32 playing effects at different
// pitches plus a looping module. The "core_share" counter is the part of one core it takes.

#include "audio/DSoundManager.h"
#include "audio/Mixer.h"
#include "audio/OpenMptMusicInterface.h"

#include "AudioTestFiles.h"
#include "TestAudioSink.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

constexpr int kOutputRate = 44100;
constexpr int kDeviceBlock = 1024;

SoundBuffer Tone(int rate)
{
    std::vector<int16_t> samples(static_cast<std::size_t>(rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(3000 * std::sin(static_cast<double>(i) * 0.07));
    }
    return SoundOf(samples, rate);
}

void BM_MixOneSecond(benchmark::State& state, bool withModule)
{
    ScopedTempFolder folder;
    WriteBytes("tone.wav", WavOf(Tone(22050)));
    WriteBytes("song.mod", TinyMod(false));
    auto owned = std::make_unique<TestAudioSink>(kOutputRate);
    TestAudioSink* sink = owned.get();
    auto mixer = Mixer::Create(std::move(owned));
    DSoundManager sounds(mixer);
    OpenMptMusicInterface music(mixer);
    if (!sounds.LoadSound(0, "tone") || !music.LoadMusic(0, "song.mod")) {
        state.SkipWithError("test sounds did not load");
        return;
    }
    for (int i = 0; i < SoundManager::kMaxInstances; ++i) {
        SoundInstance* instance = sounds.NewInstance(0);
        instance->AdjustPitch(i % 13 - 6);
        instance->SetPan(i * 300 - 4800);
        instance->SetVolume(0.3);
        instance->Play(true, false);
    }
    if (withModule) {
        music.PlayMusic(0, 0, false);
    }
    for (auto _ : state) {
        for (int done = 0; done < kOutputRate; done += kDeviceBlock) {
            auto block = sink->Pull(std::min(kDeviceBlock, kOutputRate - done));
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.counters["core_share"] = benchmark::Counter(
        1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(BM_MixOneSecond, effects_and_module, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MixOneSecond, effects_only, false)->Unit(benchmark::kMillisecond);
