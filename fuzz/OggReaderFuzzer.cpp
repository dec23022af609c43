// Decodes arbitrary bytes as an Ogg Vorbis sound effect, and plays them as a streamed song.

#include "audio/OggReader.h"
#include "audio/StreamPlayer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto sound = Zorva::ReadOgg(data, size);
    if (sound && !sound->data.empty()) {
        volatile uint8_t last = sound->data.back();
        (void)last;
    }
    auto song = Zorva::StreamPlayer::Open("ogg", std::vector<uint8_t>(data, data + size), 44100);
    if (song) {
        std::vector<float> frames(2 * 1024);
        song->SetLooping(true);
        for (int block = 0; block < 4; ++block) {
            song->Render(frames.data(), 1024);
        }
        song->Seek(4000);
        song->Render(frames.data(), 1024);
    }
    return 0;
}
