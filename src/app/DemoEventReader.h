#pragma once

#include "app/DemoEvent.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Zorva {

/// Reads events back from a demo's bit stream. Delta chunks are absorbed; relative pointer
/// moves come back as absolute positions. An event is only read when its whole header and
/// payload lie within the stream, so the padding of the last byte never reads as an event;
/// a payload length beyond the remaining bytes ends the stream (Failed() tells).
class DemoEventReader
{
public:
    explicit DemoEventReader(std::vector<uint8_t> streamBytes);

    /// The next event without consuming it; null at the end of the stream.
    const DemoEvent* Peek();
    /// Consumes the event Peek returned.
    void Take();
    bool AtEnd() { return Peek() == nullptr; }
    /// The stream held something that is not an event (bad type or length).
    bool Failed() const { return failed; }
    /// Event headers read so far, delta chunks included.
    int EventCount() const { return eventCount; }

private:
    /// Decodes the next event into `pending`; false at the end or on a fault.
    bool ReadNext();

    std::vector<uint8_t> bytes;
    /// Read position in bits.
    uint64_t bitPosition = 0;
    std::optional<DemoEvent> pending;
    bool failed = false;
    int eventCount = 0;
    int lastEventUpdate = 0;
    int recordedX = 0;
    int recordedY = 0;
};

} // namespace Zorva
