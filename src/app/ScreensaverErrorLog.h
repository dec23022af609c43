#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

namespace Zorva {

/// Where messages go while the program runs as a screensaver, when nobody is there to answer
/// a message box: one line per message in a text file. The first line of a run starts the
/// file afresh, so it only ever holds the messages of the latest run. Lines may come from the
/// main and the loading thread.
class ScreensaverErrorLog
{
public:
    /// Writes "text time tick" as one line to the file at `path`; false when it could not be
    /// written (the next line then tries to start the file afresh again).
    bool Append(const std::string& path, const std::string& text, const std::string& timeText,
                uint32_t tick);

private:
    std::mutex lock;
    bool started = false;
};

/// The local time as "2026-12-10 11:30:00".
std::string LocalTimeText(std::time_t time);

} // namespace Zorva
