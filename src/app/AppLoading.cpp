#include "app/AppLoading.h"

#include <algorithm>

namespace Zorva {

void AppLoading::WaitForLoadingThread()
{
    loading.Wait();
}

double AppLoading::GetLoadingProgress() const
{
    if (loading.IsHandled()) {
        return 1.0;
    }
    const int tasks = loadingTaskCount;
    if (!loading.IsStarted() || tasks <= 0) {
        return 0.0;
    }
    return std::min(static_cast<double>(loadingTasksCompleted) / tasks, 1.0);
}

} // namespace Zorva
