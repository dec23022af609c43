#include "app/platform/SdlAudioDevice.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace Zorva {

namespace {

constexpr Uint16 kBufferFrames = 1024;
constexpr int kBytesPerFrame = 4;

} // namespace

SdlAudioDevice::~SdlAudioDevice()
{
    Stop();
}

bool SdlAudioDevice::Start(AudioRenderer& target)
{
    Stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (std::getenv("QUARROW_DEBUG") != nullptr) {
            std::fprintf(stderr, "No audio: %s\n", SDL_GetError());
        }
        return false;
    }
    subsystemStarted = true;
    renderer = &target;
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlAudioDevice::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        if (std::getenv("QUARROW_DEBUG") != nullptr) {
            std::fprintf(stderr, "No audio device: %s\n", SDL_GetError());
        }
        Stop();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioDevice::Stop()
{
    if (device != 0) {
        // Closing waits for a running callback, so the renderer is never called afterwards.
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    if (subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
    }
    renderer = nullptr;
}

void SdlAudioDevice::Lock()
{
    if (device != 0) {
        SDL_LockAudioDevice(device);
    }
}

void SdlAudioDevice::Unlock()
{
    if (device != 0) {
        SDL_UnlockAudioDevice(device);
    }
}

void SdlAudioDevice::Callback(void* user, uint8_t* stream, int length)
{
    auto* self = static_cast<SdlAudioDevice*>(user);
    const int frames = length / kBytesPerFrame;
    if (self->renderer == nullptr || frames <= 0) {
        SDL_memset(stream, 0, static_cast<std::size_t>(length));
        return;
    }
    self->renderer->Render(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace Zorva
