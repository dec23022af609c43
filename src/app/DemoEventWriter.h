#pragma once

#include "app/DemoEvent.h"
#include "resources/Buffer.h"

#include <cstdint>
#include <vector>

namespace Zorva {

/// Appends events to a demo's bit stream. Each event starts with the update delta since
/// the previous event (gaps above 15 updates are written as chunks first); pointer events
/// are written as small relative moves where they can be and as absolute positions where
/// they cannot. Positions are clamped to 0..4095 and the other fields to their widths, so
/// what is written is exactly what a reader gives back.
class DemoEventWriter
{
public:
    /// Writes `event`; its update must not lie before the previous event's (an earlier one
    /// is written at the previous event's update). A pointer button first brings the
    /// pointer to the event's position. PointerMove and PointerPosition are both treated
    /// as "the pointer is now at (x, y)": nothing is written when it is already there.
    void Write(const DemoEvent& event);

    const Buffer& Bytes() const { return stream; }
    /// Event headers written, delta chunks included.
    int EventCount() const { return eventCount; }
    int LastUpdate() const { return lastEventUpdate; }

private:
    /// Brings the recorded pointer to (x, y): a relative move when both axes moved less
    /// than 32, an absolute position otherwise, nothing when it is already there.
    void WritePointerTo(int update, int x, int y);
    /// The update delta, preceded by as many delta chunks as the gap needs.
    void WriteDelta(int update);
    void WritePointerHeader(int update, uint32_t kind);
    void WriteTypeHeader(int update, uint32_t type);
    void WriteLengthAndBytes(const std::vector<uint8_t>& bytes);

    Buffer stream;
    int eventCount = 0;
    int lastEventUpdate = 0;
    int recordedX = 0;
    int recordedY = 0;
};

} // namespace Zorva
