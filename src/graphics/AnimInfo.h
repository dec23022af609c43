#pragma once

#include <cstdint>
#include <vector>

namespace Zorva {

/// The animation of a cell strip: frame delays, an optional frame map, the cycle time.
struct AnimInfo
{
    enum Type : int32_t
    {
        kNone = 0,
        kOnce = 1,
        kPingPong = 2,
        kLoop = 3,
    };

    int32_t type = kNone;
    int32_t frameDelay = 1;
    int32_t beginDelay = 0;
    std::vector<int32_t> perFrameDelays;
    std::vector<int32_t> frameMap;
    int32_t totalTime = 0;

    /// Completes the description for a strip of `numCells` cells: the ping-pong frame map,
    /// the frame count (the map's length, else the cells), the begin and end delays, the
    /// per-frame delays and the cycle time.
    void SetUp(int32_t numCells, int32_t beginDelayTicks, int32_t endDelayTicks);
};

} // namespace Zorva
