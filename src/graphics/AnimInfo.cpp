#include "graphics/AnimInfo.h"

namespace Zorva {

void AnimInfo::SetUp(int32_t frameCount, int32_t beginDelayTicks, int32_t endDelayTicks)
{
    if (frameCount <= 0) {
        frameCount = 1;
    }
    if (frameDelay <= 0) {
        frameDelay = 1;
    }
    if (type == kPingPong && frameCount > 1) {
        frameMap.clear();
        for (int32_t i = 0; i < frameCount; ++i) {
            frameMap.push_back(i);
        }
        for (int32_t i = frameCount - 2; i >= 1; --i) {
            frameMap.push_back(i);
        }
        frameCount = static_cast<int32_t>(frameMap.size());
    }
    beginDelay = beginDelayTicks;
    if (beginDelayTicks > 0) {
        if (perFrameDelays.empty()) {
            perFrameDelays.assign(static_cast<std::size_t>(frameCount), frameDelay);
        }
        perFrameDelays[0] = beginDelayTicks;
    }
    if (endDelayTicks > 0) {
        if (perFrameDelays.empty()) {
            perFrameDelays.assign(static_cast<std::size_t>(frameCount), frameDelay);
        }
        perFrameDelays.resize(static_cast<std::size_t>(frameCount), frameDelay);
        perFrameDelays[static_cast<std::size_t>(frameCount - 1)] = endDelayTicks;
    }
    if (!perFrameDelays.empty()) {
        perFrameDelays.resize(static_cast<std::size_t>(frameCount), frameDelay);
        totalTime = 0;
        for (int32_t& delay : perFrameDelays) {
            if (delay < 1) {
                delay = frameDelay;
            }
            totalTime += delay;
        }
    } else {
        totalTime = frameCount * frameDelay;
    }
}

} // namespace Zorva
