#pragma once

#include <cstdint>

namespace Zorva {

/// Division rounding towards minus infinity (C++ division rounds towards zero), so that
/// coordinates left of or above an origin map to the cell that holds them.
constexpr int64_t FloorDiv(int64_t numerator, int64_t denominator)
{
    int64_t quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) {
        --quotient;
    }
    return quotient;
}

/// Division rounding towards plus infinity.
constexpr int64_t CeilDiv(int64_t numerator, int64_t denominator)
{
    return -FloorDiv(-numerator, denominator);
}

} // namespace Zorva
