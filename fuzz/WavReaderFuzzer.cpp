// Reads arbitrary bytes as a WAV file, with the cache's source check both passing and failing.

#include "audio/WavReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool current = size > 0 && (data[size - 1] & 1) != 0;
    const auto sound = Zorva::ReadWav(data, size, [current](const std::string& name, int64_t) {
        return current && name.size() <= 255;
    });
    if (sound && sound->FrameCount() > 0) {
        // The last whole frame lies inside the data.
        volatile uint8_t last =
            sound->data[static_cast<std::size_t>(sound->FrameCount() * sound->BlockAlign() - 1)];
        (void)last;
    }
    return 0;
}
