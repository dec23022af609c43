// Reads arbitrary bytes through every Get operation of Buffer, in an order the bytes choose.

#include "resources/Buffer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zorva::Buffer buffer;
    if (!buffer.AssignBytes(data, size)) {
        return 0;
    }
    uint64_t total = 0;
    uint8_t bytes[256];
    // Each round takes at least one bit while any is left, so the loop ends at the data's end.
    while (!buffer.AtEnd()) {
        switch (buffer.GetBits(3, false)) {
        case 0:
            total += buffer.GetByte();
            break;
        case 1: {
            const int count = buffer.GetBits(6, false);
            total += static_cast<uint32_t>(buffer.GetBits(count, buffer.GetBool()));
            break;
        }
        case 2:
            total += buffer.GetBool();
            break;
        case 3:
            total += static_cast<uint16_t>(buffer.GetInt16());
            break;
        case 4:
            total += static_cast<uint32_t>(buffer.GetInt32());
            break;
        case 5:
            total += buffer.GetString().size();
            break;
        case 6: {
            const uint8_t length = buffer.GetByte();
            buffer.GetBytes(length, bytes);
            total += bytes[0];
            break;
        }
        default:
            total += static_cast<uint32_t>(buffer.DataLength()) + buffer.AtEnd();
            break;
        }
    }
    return total == UINT64_MAX ? 1 : 0;
}
