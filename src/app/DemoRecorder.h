#pragma once

#include "app/DemoEvent.h"
#include "app/DemoEventWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Zorva {

/// A demo being recorded: the events as they happen, the markers set on the way, and the
/// seed the run started from. Nothing reaches the disk before Save.
class DemoRecorder
{
public:
    DemoRecorder(std::string filePath, uint32_t seed);

    void Record(const DemoEvent& event) { writer.Write(event); }
    void AddMarker(const std::string& name, int update);
    /// Writes the whole demo atomically; false, with the reason in `error`, when it could
    /// not be written.
    bool Save(const std::string& productVersion, int totalUpdates, std::string* error) const;

    const std::string& Path() const { return path; }
    uint32_t Seed() const { return seed; }
    /// The seed the run started from, once it is known.
    void SetSeed(uint32_t runSeed) { seed = runSeed; }
    int EventCount() const { return writer.EventCount(); }
    const std::vector<DemoMarker>& Markers() const { return markers; }

private:
    std::string path;
    uint32_t seed = 0;
    DemoEventWriter writer;
    std::vector<DemoMarker> markers;
};

} // namespace Zorva
