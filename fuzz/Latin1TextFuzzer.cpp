// Decodes arbitrary bytes as UTF-8 text from the desktop (clipboard, text input) and checks
// that 8-bit text survives the way back and forth.

#include "system/Latin1Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = Zorva::Latin1FromUtf8(bytes);
    if (decoded.size() > bytes.size()) {
        std::abort();
    }
    if (Zorva::Latin1FromUtf8(Zorva::Utf8FromLatin1(bytes)) != bytes) {
        std::abort();
    }
    if (Zorva::Latin1FromUtf8(Zorva::Utf8FromLatin1(decoded)) != decoded) {
        std::abort();
    }
    return 0;
}
