#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace Zorva {

/// The application's loading thread and its handshake with the main thread. The flags are
/// plain atomics: the loading thread sets `done` when its work has returned, and the main
/// thread notices that at its next update and marks it handled.
class LoadingThread
{
public:
    LoadingThread() = default;
    /// Waits for a started thread.
    ~LoadingThread();
    LoadingThread(const LoadingThread&) = delete;
    LoadingThread& operator=(const LoadingThread&) = delete;

    /// Runs `work` on a new thread; only the first call starts one.
    void Start(std::function<void()> work);
    /// Blocks until a started thread has ended.
    void Wait();
    /// The main thread has acted on the end of the work.
    void MarkHandled();

    bool IsStarted() const { return started; }
    /// Started and not yet handled by the main thread.
    bool IsRunning() const { return running; }
    bool IsDone() const { return done; }
    bool IsHandled() const { return handled; }
    /// Nothing is loading any more: never started, or its end was handled.
    bool IsSettled() const { return handled || !started; }

private:
    std::atomic<bool> started{false};
    std::atomic<bool> done{false};
    std::atomic<bool> handled{false};
    std::atomic<bool> running{false};
    std::thread thread;
};

} // namespace Zorva
