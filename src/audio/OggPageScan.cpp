#include "audio/OggPageScan.h"

#include <array>
#include <cstring>

namespace Zorva {

namespace {

constexpr std::size_t kHeaderBytes = 27;
constexpr uint8_t kFirstPageFlag = 0x02;

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 0x80000000u) != 0 ? (value << 1) ^ 0x04C11DB7u : value << 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t ReadLe32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

/// The page's checksum, computed with its own checksum field as zeros.
uint32_t PageCrc(const uint8_t* page, std::size_t length)
{
    uint32_t crc = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = i >= 22 && i < 26 ? 0 : page[i];
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) & 0xFF) ^ byte];
    }
    return crc;
}

/// The length of a whole, intact page at `at`, or 0 when there is none there.
std::size_t IntactPageLength(const uint8_t* at, std::size_t left)
{
    if (left < kHeaderBytes || std::memcmp(at, "OggS", 4) != 0) {
        return 0;
    }
    const std::size_t segments = at[26];
    if (left < kHeaderBytes + segments) {
        return 0;
    }
    std::size_t length = kHeaderBytes + segments;
    for (std::size_t i = 0; i < segments; ++i) {
        length += at[kHeaderBytes + i];
    }
    if (length > left || PageCrc(at, length) != ReadLe32(at + 22)) {
        return 0;
    }
    return length;
}

} // namespace

bool IsSingleOggStream(const uint8_t* bytes, std::size_t size)
{
    bool seenFirstPage = false;
    uint32_t serial = 0;
    std::size_t position = 0;
    while (position < size) {
        const std::size_t length = IntactPageLength(bytes + position, size - position);
        if (length == 0) {
            ++position;
            continue;
        }
        const uint8_t* page = bytes + position;
        const bool opensStream = (page[5] & kFirstPageFlag) != 0;
        if (!seenFirstPage) {
            if (!opensStream) {
                return false;
            }
            seenFirstPage = true;
            serial = ReadLe32(page + 14);
        } else if (opensStream || ReadLe32(page + 14) != serial) {
            return false;
        }
        position += length;
    }
    return seenFirstPage;
}

} // namespace Zorva
