#pragma once

#include "app/LoadingThread.h"

#include <atomic>

namespace Zorva {

/// The application's loading side: whether the game loads on a thread of its own, that
/// thread, and the progress its work reports.
class AppLoading
{
public:
    AppLoading() = default;
    virtual ~AppLoading() = default;
    AppLoading(const AppLoading&) = delete;
    AppLoading& operator=(const AppLoading&) = delete;

    /// Blocks until a started loading thread has ended. A derived class whose
    /// RunLoadingWork uses its own members calls this in its destructor.
    void WaitForLoadingThread();
    /// The share of the tasks done, 1 once the main thread has handled the end of loading.
    virtual double GetLoadingProgress() const;
    const LoadingThread& GetLoadingThread() const { return loading; }

    /// The game turns this off when it has nothing to load.
    bool loadingThreadEnabled = true;
    /// The number of loading tasks and how many are done (written by the loading work);
    /// progress is their ratio.
    std::atomic<int> loadingTaskCount{0};
    std::atomic<int> loadingTasksCompleted{0};

protected:
    LoadingThread loading;
};

} // namespace Zorva
