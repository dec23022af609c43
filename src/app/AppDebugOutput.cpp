#include "app/AppDebugOutput.h"

#include <cstdio>

namespace Zorva {

void AppDebugOutput::OutputDebug(const std::string& text)
{
    std::lock_guard lock(debugMutex);
    debugLog += text;
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
