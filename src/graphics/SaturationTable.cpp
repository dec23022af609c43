#include "graphics/SaturationTable.h"

#include <array>

namespace Zorva {

const uint8_t* SaturationTable()
{
    static const std::array<uint8_t, 512> table = [] {
        std::array<uint8_t, 512> values{};
        for (int i = 0; i < 512; ++i) {
            values[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i < 255 ? i : 255);
        }
        return values;
    }();
    return table.data();
}

} // namespace Zorva
