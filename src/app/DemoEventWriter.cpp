#include "app/DemoEventWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace Zorva {

namespace {

constexpr int kMaxPosition = 4095;
constexpr int kMaxRelativeMove = 31;
constexpr int kMaxDelta = 15;
constexpr uint32_t kDeltaChunkType = 31;
constexpr uint32_t kAbsolutePositionType = 0;
constexpr uint32_t kRelativeMoveKind = 0;
constexpr uint32_t kButtonKind = 1;

uint32_t TypeOf(DemoEventKind kind)
{
    return static_cast<uint32_t>(kind);
}

uint32_t ClampedByte(int value)
{
    return static_cast<uint32_t>(std::clamp(value, 0, 255));
}

/// Two's complement in the field's width: the caller has clamped the value to its range.
uint32_t Signed(int value)
{
    return static_cast<uint32_t>(value);
}

} // namespace

void DemoEventWriter::Write(const DemoEvent& event)
{
    const int update = std::max(event.update, lastEventUpdate);
    switch (event.kind) {
    case DemoEventKind::PointerPosition:
    case DemoEventKind::PointerMove:
        WritePointerTo(update, event.x, event.y);
        break;
    case DemoEventKind::PointerButton:
        WritePointerTo(update, event.x, event.y);
        WritePointerHeader(update, kButtonKind);
        stream.PutBits(event.flag ? 1 : 0, 1);
        stream.PutBits(Signed(std::clamp(event.clickCode, -4, 3)), 3);
        break;
    case DemoEventKind::Activate:
    case DemoEventKind::SettingsWrite:
    case DemoEventKind::FileExists:
    case DemoEventKind::FileWrite:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBits(event.flag ? 1 : 0, 1);
        break;
    case DemoEventKind::Minimize:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBool(event.flag);
        break;
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp:
    case DemoEventKind::Character:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBits(ClampedByte(event.code), 8);
        break;
    case DemoEventKind::Close:
    case DemoEventKind::PointerEnter:
    case DemoEventKind::PointerLeave:
    case DemoEventKind::LoadingDone:
        WriteTypeHeader(update, TypeOf(event.kind));
        break;
    case DemoEventKind::SettingsRead:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBits(event.flag ? 1 : 0, 1);
        if (event.flag) {
            stream.PutInt32(event.code);
            WriteLengthAndBytes(event.bytes);
        }
        break;
    case DemoEventKind::FileRead:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBits(event.flag ? 1 : 0, 1);
        if (event.flag) {
            WriteLengthAndBytes(event.bytes);
        }
        break;
    case DemoEventKind::PlatformValue:
        WriteTypeHeader(update, TypeOf(event.kind));
        WriteLengthAndBytes(event.bytes);
        break;
    case DemoEventKind::Wheel:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBits(Signed(std::clamp(event.code, -128, 127)), 8);
        break;
    case DemoEventKind::Display:
        WriteTypeHeader(update, TypeOf(event.kind));
        stream.PutBool(event.flag);
        stream.PutByte(static_cast<uint8_t>(ClampedByte(event.code)));
        break;
    }
}

void DemoEventWriter::WritePointerTo(int update, int x, int y)
{
    x = std::clamp(x, 0, kMaxPosition);
    y = std::clamp(y, 0, kMaxPosition);
    const int dx = x - recordedX;
    const int dy = y - recordedY;
    if (dx == 0 && dy == 0) {
        return;
    }
    if (std::abs(dx) > kMaxRelativeMove || std::abs(dy) > kMaxRelativeMove) {
        WriteTypeHeader(update, kAbsolutePositionType);
        stream.PutBits(static_cast<uint32_t>(x), 12);
        stream.PutBits(static_cast<uint32_t>(y), 12);
    } else {
        WritePointerHeader(update, kRelativeMoveKind);
        stream.PutBits(Signed(dx), 6);
        stream.PutBits(Signed(dy), 6);
    }
    recordedX = x;
    recordedY = y;
}

void DemoEventWriter::WriteDelta(int update)
{
    int delta = update - lastEventUpdate;
    while (delta > kMaxDelta) {
        stream.PutBits(kMaxDelta, 4);
        stream.PutBits(0, 1);
        stream.PutBits(kDeltaChunkType, 5);
        ++eventCount;
        delta -= kMaxDelta;
    }
    stream.PutBits(static_cast<uint32_t>(delta), 4);
    ++eventCount;
    lastEventUpdate = update;
}

void DemoEventWriter::WritePointerHeader(int update, uint32_t kind)
{
    WriteDelta(update);
    stream.PutBits(1, 1);
    stream.PutBits(kind, 1);
}

void DemoEventWriter::WriteTypeHeader(int update, uint32_t type)
{
    WriteDelta(update);
    stream.PutBits(0, 1);
    stream.PutBits(type, 5);
}

void DemoEventWriter::WriteLengthAndBytes(const std::vector<uint8_t>& bytes)
{
    const std::size_t length = std::min(bytes.size(), Buffer::kMaxBytes);
    stream.PutInt32(static_cast<int32_t>(length));
    stream.PutBytes(bytes.data(), length);
}

} // namespace Zorva
