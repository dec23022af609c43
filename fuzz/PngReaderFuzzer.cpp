// Decodes arbitrary bytes as a PNG file.
// The chunk checksums are made right first, so the fuzzer reaches past libpng's CRC checks
// into the chunks and the image data (bad checksums are covered by the unit tests).

#include "DecodedImageCheck.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void FixChunkChecksums(std::vector<uint8_t>* bytes)
{
    size_t position = 8;
    while (position < bytes->size() && bytes->size() - position >= 12) {
        uint8_t* chunk = bytes->data() + position;
        const size_t length = size_t{chunk[0]} << 24 | size_t{chunk[1]} << 16 |
                              size_t{chunk[2]} << 8 | size_t{chunk[3]};
        if (length > bytes->size() - position - 12) {
            return;
        }
        const uLong crc = crc32(crc32(0, nullptr, 0), chunk + 4, static_cast<uInt>(length + 4));
        uint8_t* out = chunk + 8 + length;
        out[0] = static_cast<uint8_t>(crc >> 24);
        out[1] = static_cast<uint8_t>(crc >> 16);
        out[2] = static_cast<uint8_t>(crc >> 8);
        out[3] = static_cast<uint8_t>(crc);
        position += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 8) {
        FixChunkChecksums(&bytes);
    }
    return TouchDecodedImage(Zorva::ImageLib::DecodePNG(bytes.data(), bytes.size()).get());
}
