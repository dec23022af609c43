#include "app/WebOpenWatch.h"

namespace Zorva {

namespace {

/// The watch decides only after this long without input...
constexpr int64_t kQuietMs = 5001;
/// ...that a browser which took the focus away opened the address,
constexpr int64_t kOpenedMs = 8001;
/// or that nothing happened while the game kept the focus.
constexpr int64_t kFailedMs = 12001;

} // namespace

void WebOpenWatch::Begin(const std::string& url, bool shutdownAfterOpen, int64_t now)
{
    address = url;
    shutdownAfter = shutdownAfterOpen;
    pending = true;
    startTime = now;
}

WebOpenWatch::Verdict WebOpenWatch::Check(int64_t now, int64_t lastInputTime, bool active) const
{
    if (!pending || now - lastInputTime < kQuietMs) {
        return Verdict::Undecided;
    }
    const int64_t waited = now - startTime;
    if (!active && waited >= kOpenedMs) {
        return Verdict::Opened;
    }
    if (active && waited >= kFailedMs) {
        return Verdict::Failed;
    }
    return Verdict::Undecided;
}

} // namespace Zorva
