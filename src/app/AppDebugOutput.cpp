#include "app/AppDebugOutput.h"

#include <cstdio>

namespace Zorva {

void AppDebugOutput::OutputDebug(const std::string& text)
{
    std::lock_guard lock(debugMutex);
    debugLog += text;
    // Hours of play must not grow the log without end: the older half goes when it is full.
    if (debugLog.size() > kMaxLogBytes) {
        debugLog.erase(0, debugLog.size() - kMaxLogBytes / 2);
    }
    if (debugOutputEnabled) {
        std::fputs(text.c_str(), stderr);
    }
}

std::string AppDebugOutput::GetDebugLog() const
{
    std::lock_guard lock(debugMutex);
    return debugLog;
}

} // namespace Zorva
