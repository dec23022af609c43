#pragma once

#include "app/DemoEvent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {

/// The contents of a demo file: the seed of the run, the product version it was made
/// with, the markers, the run's length in updates and the event stream.
struct DemoFile
{
    static constexpr uint32_t kMagic = 0x42BEEF78;
    static constexpr int32_t kVersion = 2;
    /// Larger files are refused before they are read.
    static constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
    /// The product version text is read up to this length.
    static constexpr std::size_t kMaxProductVersionLength = 255;

    uint32_t seed = 0;
    std::string productVersion;
    std::vector<DemoMarker> markers;
    int32_t totalUpdates = 0;
    /// The event stream's bytes (DemoEventWriter, DemoEventReader).
    std::vector<uint8_t> events;

    /// The file's bytes, version 2.
    std::vector<uint8_t> Encode() const;

    /// The outcome of reading a file (defined below, where DemoFile is complete).
    struct ReadResult;
    /// Reads a version 1 or 2 file made by `expectedProductVersion`. Refusals: "Invalid
    /// demo file." (wrong magic or version, lengths or counts beyond the bytes, no events,
    /// a first event that is not the display record, more than kMaxFileBytes) and "This
    /// demo file appears to be for '<version>'" for another product version.
    static ReadResult Read(const std::vector<uint8_t>& fileBytes,
                           const std::string& expectedProductVersion);
};

/// The outcome of reading a demo file: the demo, or the message that refuses it.
struct DemoFile::ReadResult
{
    std::optional<DemoFile> demo;
    std::string error;
};

} // namespace Zorva
