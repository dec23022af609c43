// Reads arbitrary bytes as a Sun ".au" file.

#include "audio/AuReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto sound = Zorva::ReadAu(data, size);
    if (sound && !sound->data.empty()) {
        volatile uint8_t last = sound->data.back();
        (void)last;
    }
    return 0;
}
