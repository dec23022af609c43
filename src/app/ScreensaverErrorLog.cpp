#include "app/ScreensaverErrorLog.h"

#include <cstdio>
#include <memory>

namespace Zorva {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool ScreensaverErrorLog::Append(const std::string& path, const std::string& text,
                                 const std::string& timeText, uint32_t tick)
{
    const std::lock_guard guard(lock);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), started ? "a" : "w"));
    if (!file) {
        return false;
    }
    const bool written =
        std::fprintf(file.get(), "%s %s %u\n", text.c_str(), timeText.c_str(), tick) > 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (written && closed) {
        started = true;
    }
    return written && closed;
}

std::string LocalTimeText(std::time_t time)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    char text[32] = {};
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

} // namespace Zorva
