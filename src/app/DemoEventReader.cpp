#include "app/DemoEventReader.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <utility>

namespace Zorva {

namespace {

constexpr int kMaxPosition = 4095;
constexpr int kDeltaChunkType = 31;

/// Sign-extends the low `width` bits of `value`.
int SignedField(uint32_t value, int width)
{
    const uint32_t signBit = 1u << (width - 1);
    return static_cast<int>(value ^ signBit) - static_cast<int>(signBit);
}

} // namespace

DemoEventReader::DemoEventReader(std::vector<uint8_t> streamBytes) : bytes(std::move(streamBytes))
{}

const DemoEvent* DemoEventReader::Peek()
{
    if (!pending && !ended && !ReadNext()) {
        ended = true;
    }
    return pending ? &*pending : nullptr;
}

void DemoEventReader::Take()
{
    pending.reset();
}

uint64_t DemoEventReader::BitsLeft() const
{
    return static_cast<uint64_t>(bytes.size()) * 8 - bitPosition;
}

uint32_t DemoEventReader::ReadBits(int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t byte = bytes[static_cast<std::size_t>(bitPosition / 8)];
        value |= static_cast<uint32_t>((byte >> (bitPosition % 8)) & 1u) << i;
        ++bitPosition;
    }
    return value;
}

uint8_t DemoEventReader::ReadByte()
{
    const auto index = static_cast<std::size_t>(bitPosition / 8);
    const int shift = static_cast<int>(bitPosition % 8);
    // The caller checked that 8 bits are left, so an unaligned byte has its successor.
    unsigned value = bytes[index] >> shift;
    if (shift != 0) {
        value |= static_cast<unsigned>(bytes[index + 1]) << (8 - shift);
    }
    bitPosition += 8;
    return static_cast<uint8_t>(value);
}

bool DemoEventReader::ReadLengthAndBytes(std::vector<uint8_t>& destination)
{
    const auto length = static_cast<int32_t>(ReadBits(32));
    if (length < 0 || static_cast<uint64_t>(length) * 8 > BitsLeft()) {
        failed = true;
        return false;
    }
    destination.resize(static_cast<std::size_t>(length));
    for (uint8_t& byte : destination) {
        byte = ReadByte();
    }
    return true;
}

void DemoEventReader::AddDelta(int delta)
{
    lastEventUpdate = lastEventUpdate > INT_MAX - delta ? INT_MAX : lastEventUpdate + delta;
}

bool DemoEventReader::ReadNext()
{
    for (;;) {
        // Header and payload must both lie within the stream: the zero bits that pad the
        // last byte are shorter than any event and end the stream here.
        if (BitsLeft() < 5) {
            return false;
        }
        const int delta = static_cast<int>(ReadBits(4));
        const bool pointer = ReadBits(1) != 0;
        if (BitsLeft() < (pointer ? 1u : 5u)) {
            return false;
        }
        const int kindOrType = static_cast<int>(ReadBits(pointer ? 1 : 5));
        if (!pointer && kindOrType == kDeltaChunkType) {
            AddDelta(delta);
            ++eventCount;
            continue;
        }
        DemoEvent event;
        const bool complete =
            pointer ? ReadPointerPayload(kindOrType, event) : ReadTypePayload(kindOrType, event);
        if (!complete) {
            return false;
        }
        AddDelta(delta);
        ++eventCount;
        event.update = lastEventUpdate;
        pending = std::move(event);
        return true;
    }
}

bool DemoEventReader::ReadPointerPayload(int pointerKind, DemoEvent& event)
{
    if (pointerKind == 0) {
        if (BitsLeft() < 12) {
            return false;
        }
        const int dx = SignedField(ReadBits(6), 6);
        const int dy = SignedField(ReadBits(6), 6);
        // Only a damaged stream moves beyond the edges; positions stay within them anyway.
        recordedX = std::clamp(recordedX + dx, 0, kMaxPosition);
        recordedY = std::clamp(recordedY + dy, 0, kMaxPosition);
        event.kind = DemoEventKind::PointerMove;
    } else {
        if (BitsLeft() < 4) {
            return false;
        }
        event.kind = DemoEventKind::PointerButton;
        event.flag = ReadBits(1) != 0;
        event.clickCode = SignedField(ReadBits(3), 3);
    }
    event.x = recordedX;
    event.y = recordedY;
    return true;
}

bool DemoEventReader::ReadTypePayload(int type, DemoEvent& event)
{
    event.kind = static_cast<DemoEventKind>(type);
    switch (event.kind) {
    case DemoEventKind::PointerPosition:
        if (BitsLeft() < 24) {
            return false;
        }
        recordedX = static_cast<int>(ReadBits(12));
        recordedY = static_cast<int>(ReadBits(12));
        event.x = recordedX;
        event.y = recordedY;
        return true;
    case DemoEventKind::Activate:
    case DemoEventKind::SettingsWrite:
    case DemoEventKind::FileExists:
    case DemoEventKind::FileWrite:
        if (BitsLeft() < 1) {
            return false;
        }
        event.flag = ReadBits(1) != 0;
        return true;
    case DemoEventKind::Minimize:
        if (BitsLeft() < 8) {
            return false;
        }
        event.flag = ReadBits(8) != 0;
        return true;
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp:
    case DemoEventKind::Character:
        if (BitsLeft() < 8) {
            return false;
        }
        event.code = static_cast<int>(ReadBits(8));
        return true;
    case DemoEventKind::Close:
    case DemoEventKind::PointerEnter:
    case DemoEventKind::PointerLeave:
    case DemoEventKind::LoadingDone:
        return true;
    case DemoEventKind::SettingsRead:
        if (BitsLeft() < 1) {
            return false;
        }
        event.flag = ReadBits(1) != 0;
        if (!event.flag) {
            return true;
        }
        if (BitsLeft() < 64) {
            return false;
        }
        event.code = static_cast<int32_t>(ReadBits(32));
        return ReadLengthAndBytes(event.bytes);
    case DemoEventKind::FileRead:
        if (BitsLeft() < 1) {
            return false;
        }
        event.flag = ReadBits(1) != 0;
        if (!event.flag) {
            return true;
        }
        return BitsLeft() >= 32 && ReadLengthAndBytes(event.bytes);
    case DemoEventKind::PlatformValue:
        return BitsLeft() >= 32 && ReadLengthAndBytes(event.bytes);
    case DemoEventKind::Wheel:
        if (BitsLeft() < 8) {
            return false;
        }
        event.code = SignedField(ReadBits(8), 8);
        return true;
    case DemoEventKind::Display:
        if (BitsLeft() < 16) {
            return false;
        }
        event.flag = ReadBits(8) != 0;
        event.code = static_cast<int>(ReadBits(8));
        return true;
    case DemoEventKind::PointerMove:
    case DemoEventKind::PointerButton:
        break;
    }
    // Types no recording writes.
    failed = true;
    return false;
}

} // namespace Zorva
