#include "app/LoopTiming.h"

#include <algorithm>
#include <cmath>

namespace Zorva {

namespace {

constexpr int kMinDrawMs = 15;
constexpr int kLoadingDrawGapMs = 35;
constexpr int64_t kForcedPresentMs = 1000;

} // namespace

double LoopTiming::StepMs(int updateInterval, double updateSpeed)
{
    return updateInterval / updateSpeed;
}

int LoopTiming::ForcedDrawAfter(double updateSpeed)
{
    return static_cast<int>(std::ceil(updateSpeed * 10));
}

int64_t LoopTiming::LoadingShareMs(int64_t workedMs)
{
    return std::min<int64_t>(workedMs * 2, kMaxLoadingShareMs);
}

int64_t LoopTiming::LoadingShareMs(int64_t workedMs, int64_t sleptMs)
{
    return std::min<int64_t>(workedMs * 2 - sleptMs, kMaxLoadingShareMs);
}

void LoopTiming::Accumulate(int64_t now)
{
    if (timeSampled) {
        pendingTime += static_cast<double>(now - lastTimeSample);
    }
    timeSampled = true;
    lastTimeSample = now;
    pendingTime = std::min(pendingTime, kMaxPendingMs);
}

void LoopTiming::StartDrawClock(int64_t now)
{
    lastDrawTime = now;
    nextDrawAllowedTime = now;
}

bool LoopTiming::PresentDue(int64_t now) const
{
    const bool wanted = framePending || now - lastDrawTime >= kForcedPresentMs;
    return wanted && now >= nextDrawAllowedTime;
}

void LoopTiming::NotePresented(int64_t now, int drawMs, bool loading)
{
    lastDrawTime = now;
    lastPresentTime = now;
    framePending = false;
    nextDrawAllowedTime = now;
    if (loading) {
        nextDrawAllowedTime = now + std::max(drawMs, kMinDrawMs) + kLoadingDrawGapMs;
    }
    lastDrawEmpty = false;
}

} // namespace Zorva
