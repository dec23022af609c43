#include "app/HeadlessWindowSystem.h"

namespace Zorva {

bool HeadlessWindowSystem::CreateMainWindow(const MainWindowSpec& spec)
{
    hasWindow = false;
    if (!createSucceeds) {
        return false;
    }
    hasWindow = true;
    ++windowsCreated;
    lastSpec = spec;
    shown = false;
    return true;
}

void HeadlessWindowSystem::ShowMainWindow(bool activate)
{
    shown = true;
    lastShowActivated = activate;
}

void HeadlessWindowSystem::PumpMessages(const MessageSink& sink)
{
    // The sink may queue more; only what was pending at the start goes out now.
    std::deque<WindowMessage> due;
    due.swap(pending);
    for (const WindowMessage& message : due) {
        sink(message);
    }
}

bool HeadlessWindowSystem::OpenUrl(const std::string& url)
{
    urlsOpened.push_back(url);
    return openUrlSucceeds;
}

} // namespace Zorva
