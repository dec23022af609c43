#include "app/DemoPlayer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace Zorva {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr const char* kInvalidDemo = "Invalid demo file.";

} // namespace

bool IsDemoOutcomeKind(DemoEventKind kind)
{
    switch (kind) {
    case DemoEventKind::SettingsRead:
    case DemoEventKind::SettingsWrite:
    case DemoEventKind::FileExists:
    case DemoEventKind::FileRead:
    case DemoEventKind::FileWrite:
    case DemoEventKind::PlatformValue:
        return true;
    default:
        return false;
    }
}

DemoPlayer::DemoPlayer(DemoFile demoFile) : demo(std::move(demoFile)), reader(demo.events) {}

DemoPlayer::OpenResult DemoPlayer::Open(const std::string& path, const std::string& shownName,
                                        const std::string& productVersion)
{
    OpenResult result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    struct stat info
    {};
    if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = "Demo file not found: " + shownName;
        return result;
    }
    if (info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > DemoFile::kMaxFileBytes) {
        result.error = kInvalidDemo;
        return result;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        result.error = kInvalidDemo;
        return result;
    }
    auto read = DemoFile::Read(bytes, productVersion);
    if (!read.demo) {
        result.error = read.error.empty() ? kInvalidDemo : read.error;
        return result;
    }
    result.player = std::make_unique<DemoPlayer>(std::move(*read.demo));
    return result;
}

const DemoEvent* DemoPlayer::Due(int updateCount)
{
    const DemoEvent* next = reader.Peek();
    return next != nullptr && next->update <= updateCount ? next : nullptr;
}

std::optional<DemoEvent> DemoPlayer::TakeOutcome(DemoEventKind kind, int updateCount)
{
    const DemoEvent* next = Due(updateCount);
    if (next == nullptr || next->kind != kind) {
        const DemoEvent* ahead = reader.Peek();
        NoteOutOfStep("update " + std::to_string(updateCount) + " asked for event type " +
                      std::to_string(static_cast<int>(kind)) + ", the demo has " +
                      (ahead ? "type " + std::to_string(static_cast<int>(ahead->kind)) +
                                   " at update " + std::to_string(ahead->update)
                             : std::string("nothing more")));
        return std::nullopt;
    }
    DemoEvent event = *next;
    reader.Take();
    return event;
}

void DemoPlayer::DropStrayOutcome()
{
    if (const DemoEvent* stray = reader.Peek()) {
        NoteOutOfStep("nothing asked for event type " +
                      std::to_string(static_cast<int>(stray->kind)) + " of update " +
                      std::to_string(stray->update));
    }
    reader.Take();
}

void DemoPlayer::NoteOutOfStep(const std::string& what)
{
    constexpr std::size_t kNotesKept = 8;
    ++outOfStep;
    if (outOfStepNotes.size() < kNotesKept) {
        outOfStepNotes.push_back(what);
    }
}

int DemoPlayer::JumpTargetForSecondsBeforeEnd(int seconds, int updateInterval) const
{
    const long long updates = static_cast<long long>(seconds) * 1000 / std::max(updateInterval, 1);
    return static_cast<int>(std::max(0LL, demo.totalUpdates - updates));
}

std::optional<int> DemoPlayer::JumpTargetForTimeText(const std::string& text,
                                                     int updateInterval) const
{
    long long seconds = 0;
    bool sawDigit = false;
    long long field = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            field = std::min(field * 10 + (c - '0'), 1000000000LL);
            sawDigit = true;
        } else if (c == ':') {
            seconds = std::min((seconds + field) * 60, 1000000000LL);
            field = 0;
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }
    seconds = std::min(seconds + field, 1000000000LL);
    // One second more, so that the jump lands before the moment asked for.
    const long long updates = (seconds + 1) * 1000 / std::max(updateInterval, 1);
    return static_cast<int>(std::max(0LL, demo.totalUpdates - updates));
}

std::vector<DemoPlayer::MarkerLine> DemoPlayer::MarkersAhead(int updateCount,
                                                             int updateInterval) const
{
    std::vector<MarkerLine> ahead;
    for (const DemoMarker& marker : demo.markers) {
        if (marker.update <= updateCount) {
            continue;
        }
        const long long ms =
            static_cast<long long>(demo.totalUpdates - marker.update) * updateInterval;
        const long long total = std::max(0LL, ms / 1000);
        char time[64];
        std::snprintf(time, sizeof time, " (%02lld:%02lld:%02lld)", total / 3600, total / 60 % 60,
                      total % 60);
        ahead.push_back(MarkerLine{marker.name + time, marker.update});
    }
    return ahead;
}

std::vector<std::string> DemoPlayer::MarkerListLines(int updateCount, int updateInterval) const
{
    std::vector<std::string> lines;
    for (const MarkerLine& marker : MarkersAhead(updateCount, updateInterval)) {
        lines.push_back(marker.line);
    }
    return lines;
}

std::optional<int> DemoPlayer::NextMarkerUpdate(int updateCount) const
{
    std::optional<int> next;
    for (const DemoMarker& marker : demo.markers) {
        if (marker.update > updateCount && (!next || marker.update < *next)) {
            next = marker.update;
        }
    }
    return next;
}

} // namespace Zorva
