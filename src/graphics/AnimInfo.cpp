#include "graphics/AnimInfo.h"

#include <algorithm>
#include <limits>

namespace Zorva {

namespace {

/// Delays come from data files; a cycle longer than the counter can hold is capped.
int32_t ClampedTime(int64_t ticks)
{
    return static_cast<int32_t>(std::min<int64_t>(ticks, std::numeric_limits<int32_t>::max()));
}

} // namespace

void AnimInfo::SetUp(int32_t numCells, int32_t beginDelayTicks, int32_t endDelayTicks)
{
    if (numCells < 1) {
        numCells = 1;
    }
    if (frameDelay < 1) {
        frameDelay = 1;
    }
    if (type == kPingPong && numCells > 1) {
        frameMap.clear();
        for (int32_t i = 0; i < numCells; ++i) {
            frameMap.push_back(i);
        }
        for (int32_t i = numCells - 2; i >= 1; --i) {
            frameMap.push_back(i);
        }
    }
    const auto frameCount = frameMap.empty() ? static_cast<std::size_t>(numCells) : frameMap.size();
    beginDelay = beginDelayTicks;
    if (beginDelayTicks > 0) {
        if (perFrameDelays.empty()) {
            perFrameDelays.resize(1, 0);
        }
        perFrameDelays[0] = beginDelayTicks;
    }
    if (endDelayTicks > 0) {
        if (perFrameDelays.size() < frameCount) {
            perFrameDelays.resize(frameCount, 0);
        }
        perFrameDelays[frameCount - 1] = endDelayTicks;
    }
    if (!perFrameDelays.empty()) {
        // Unset delays (new entries and values below 1) take the common frame delay.
        perFrameDelays.resize(frameCount, 0);
        int64_t sum = 0;
        for (int32_t& delay : perFrameDelays) {
            if (delay < 1) {
                delay = frameDelay;
            }
            sum += delay;
        }
        totalTime = ClampedTime(sum);
    } else {
        totalTime = ClampedTime(static_cast<int64_t>(frameCount) * frameDelay);
    }
    if (!frameMap.empty()) {
        frameMap.resize(frameCount);
    }
}

} // namespace Zorva
