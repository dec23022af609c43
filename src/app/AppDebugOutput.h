#pragma once

#include <cstddef>
#include <mutex>
#include <string>

namespace Zorva {

/// The application's debug output: kept in a log (its last part, in a long run) and, when
/// `debugOutputEnabled`, also written to standard error. Written from any thread.
class AppDebugOutput
{
public:
    /// The most the log keeps.
    static constexpr std::size_t kMaxLogBytes = 256 * 1024;

    AppDebugOutput() = default;
    virtual ~AppDebugOutput() = default;
    AppDebugOutput(const AppDebugOutput&) = delete;
    AppDebugOutput& operator=(const AppDebugOutput&) = delete;

    virtual void OutputDebug(const std::string& text);
    std::string GetDebugLog() const;

    /// Debug output also goes to standard error (QUARROW_DEBUG or -verbose turn it on).
    bool debugOutputEnabled = false;

private:
    mutable std::mutex debugMutex;
    std::string debugLog;
};

} // namespace Zorva
