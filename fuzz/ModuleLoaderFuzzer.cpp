// Loads arbitrary bytes as a tracker module or a WAV song and renders a little of it.

#include "audio/OpenMptMusicInterface.h"
#include "audio/SongPlayer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool asWav = size > 0 && data[0] == 'R';
    auto song =
        Zorva::OpenSongPlayer(asWav ? "wav" : "xm", std::vector<uint8_t>(data, data + size), 44100);
    if (song) {
        std::vector<float> frames(2 * 1024);
        song->SetLooping(false);
        for (int block = 0; block < 4; ++block) {
            if (song->Render(frames.data(), 1024) < 1024) {
                break;
            }
        }
        song->Seek(1);
        song->Render(frames.data(), 256);
    }
    return 0;
}
