#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace Zorva {

/// The loop's time source: a monotonic millisecond clock and a sleep. Injected so that the
/// loop's pacing can be tested without waiting.
class PlatformClock
{
public:
    virtual ~PlatformClock() = default;
    virtual int64_t NowMs() = 0;
    virtual void SleepMs(int ms) = 0;
};

/// The real clock: steady_clock and sleep_for.
class SteadyClock : public PlatformClock
{
public:
    int64_t NowMs() override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void SleepMs(int ms) override
    {
        if (ms > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }
};

/// A clock that only moves when told to or when slept on, so tests control time exactly.
/// Safe to read from several threads.
class FakeClock : public PlatformClock
{
public:
    int64_t NowMs() override { return now.load(); }
    void SleepMs(int ms) override
    {
        ++sleepCalls;
        if (ms > 0) {
            sleptTotal += ms;
            now += ms;
        }
    }
    void Advance(int64_t ms) { now += ms; }

    std::atomic<int64_t> now{1000};
    std::atomic<int> sleepCalls{0};
    std::atomic<int64_t> sleptTotal{0};
};

} // namespace Zorva
