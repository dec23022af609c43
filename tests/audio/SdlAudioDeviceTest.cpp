#include "app/platform/SdlAudioDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace Zorva;

namespace {

class CountingRenderer : public AudioRenderer
{
public:
    void Render(int16_t* stereo, int frames) override
    {
        for (int i = 0; i < 2 * frames; ++i) {
            stereo[i] = 0;
        }
        framesRendered += frames;
    }
    std::atomic<long> framesRendered{0};
};

} // namespace

TEST(SdlAudioDeviceTest, DummyDriver_PullsFromTheRendererUntilStopped)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    CountingRenderer renderer;
    SdlAudioDevice device;
    ASSERT_TRUE(device.Start(renderer));
    EXPECT_EQ(device.SampleRate(), 44100);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (renderer.framesRendered == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(renderer.framesRendered.load(), 0);
    device.Lock();
    device.Unlock();
    device.Stop();
    const long after = renderer.framesRendered;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(renderer.framesRendered.load(), after);
    // Stopping twice, and locking a stopped device, are harmless.
    device.Stop();
    device.Lock();
    device.Unlock();
}
