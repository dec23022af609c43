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
    bool ReadPointerPayload(int pointerKind, DemoEvent& event);
    /// False when the payload does not fit (the stream ends) or the type is unknown (Failed).
    bool ReadTypePayload(int type, DemoEvent& event);
    /// A 32-bit length and that many bytes; a length beyond the stream fails it.
    bool ReadLengthAndBytes(std::vector<uint8_t>& destination);
    uint64_t BitsLeft() const;
    /// Callers check BitsLeft() first.
    uint32_t ReadBits(int count);
    uint8_t ReadByte();
    /// Adds an update delta, saturating instead of overflowing on an endless stream.
    void AddDelta(int delta);

    std::vector<uint8_t> bytes;
    /// Read position in bits.
    uint64_t bitPosition = 0;
    std::optional<DemoEvent> pending;
    bool failed = false;
    /// The end was reached (or a fault found): Peek reads no further.
    bool ended = false;
    int eventCount = 0;
    int lastEventUpdate = 0;
    int recordedX = 0;
    int recordedY = 0;
};

} // namespace Zorva
