#include "resources/Buffer.h"

#include <algorithm>
#include <cstring>

namespace Zorva {

namespace {

int ClampBitCount(int count)
{
    return std::clamp(count, 0, 32);
}

} // namespace

bool Buffer::HasRoomFor(int bitCount) const
{
    return static_cast<int64_t>(writePosition) + bitCount <= static_cast<int64_t>(kMaxBytes) * 8;
}

uint8_t& Buffer::ByteForWrite(std::size_t index)
{
    // Written from the start, the write position always lies at the end of the data, so this
    // appends; after AssignBytes it may lie anywhere, and the write lands where it points.
    if (index >= data.size()) {
        data.resize(index + 1, 0);
    }
    return data[index];
}

void Buffer::AdvanceWrite(int bitCount)
{
    writePosition += bitCount;
    dataBitSize = std::max(dataBitSize, writePosition);
}

void Buffer::PutByte(uint8_t value)
{
    if (!HasRoomFor(8)) {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(writePosition) / 8;
    const int shift = writePosition % 8;
    if (shift == 0) {
        ByteForWrite(index) = value;
    } else {
        uint8_t& low = ByteForWrite(index);
        low = static_cast<uint8_t>((low & ((1u << shift) - 1)) | (value << shift));
        ByteForWrite(index + 1) = static_cast<uint8_t>(value >> (8 - shift));
    }
    AdvanceWrite(8);
}

void Buffer::PutBits(uint32_t value, int count)
{
    count = ClampBitCount(count);
    if (!HasRoomFor(count)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        uint8_t& target = ByteForWrite(static_cast<std::size_t>(writePosition) / 8);
        const uint8_t mask = static_cast<uint8_t>(1u << (writePosition % 8));
        if ((value >> i) & 1u) {
            target |= mask;
        } else {
            target &= static_cast<uint8_t>(~mask);
        }
        AdvanceWrite(1);
    }
}

void Buffer::PutBool(bool flag)
{
    PutByte(flag ? 1 : 0);
}

void Buffer::PutInt16(int16_t value)
{
    const auto bits = static_cast<uint16_t>(value);
    PutByte(static_cast<uint8_t>(bits & 0xFF));
    PutByte(static_cast<uint8_t>(bits >> 8));
}

void Buffer::PutInt32(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        PutByte(static_cast<uint8_t>(bits >> (8 * i)));
    }
}

void Buffer::PutString(const std::string& text)
{
    const std::size_t length = std::min(text.size(), kMaxStringLength);
    PutInt16(static_cast<int16_t>(length));
    PutBytes(text.data(), length);
}

void Buffer::PutBytes(const void* bytes, std::size_t length)
{
    const auto* source = static_cast<const uint8_t*>(bytes);
    for (std::size_t i = 0; i < length; ++i) {
        PutByte(source[i]);
    }
}

uint8_t Buffer::GetByte()
{
    // An unaligned read needs the following byte as well; (position + 7) / 8 is its index.
    const std::size_t needed = (static_cast<std::size_t>(readPosition) + 7) / 8;
    if (needed >= data.size()) {
        return 0;
    }
    const std::size_t index = static_cast<std::size_t>(readPosition) / 8;
    const int shift = readPosition % 8;
    uint8_t result = data[index];
    if (shift != 0) {
        result = static_cast<uint8_t>((data[index] >> shift) | (data[index + 1] << (8 - shift)));
    }
    readPosition += 8;
    return result;
}

int32_t Buffer::GetBits(int count, bool signExtend)
{
    count = ClampBitCount(count);
    uint32_t result = 0;
    bool lastBit = false;
    int taken = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t index = static_cast<std::size_t>(readPosition) / 8;
        if (index >= data.size()) {
            break;
        }
        lastBit = (data[index] >> (readPosition % 8)) & 1u;
        if (lastBit) {
            result |= 1u << i;
        }
        ++readPosition;
        ++taken;
    }
    if (signExtend && taken > 0 && lastBit && count < 32) {
        result |= ~0u << count;
    }
    return static_cast<int32_t>(result);
}

bool Buffer::GetBool()
{
    return GetByte() != 0;
}

int16_t Buffer::GetInt16()
{
    const uint16_t low = GetByte();
    const uint16_t high = GetByte();
    return static_cast<int16_t>(low | (high << 8));
}

int32_t Buffer::GetInt32()
{
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i) {
        result |= static_cast<uint32_t>(GetByte()) << (8 * i);
    }
    return static_cast<int32_t>(result);
}

std::string Buffer::GetString()
{
    const int16_t length = GetInt16();
    std::string text;
    if (length > 0) {
        text.reserve(static_cast<std::size_t>(length));
        for (int16_t i = 0; i < length; ++i) {
            text.push_back(static_cast<char>(GetByte()));
        }
    }
    return text;
}

void Buffer::GetBytes(std::size_t length, void* destination)
{
    auto* target = static_cast<uint8_t*>(destination);
    for (std::size_t i = 0; i < length; ++i) {
        target[i] = GetByte();
    }
}

void Buffer::Reset()
{
    data.clear();
    dataBitSize = 0;
    readPosition = 0;
    writePosition = 0;
}

void Buffer::RewindRead()
{
    readPosition = 0;
}

bool Buffer::AssignBytes(const void* bytes, std::size_t length)
{
    if (length > kMaxBytes) {
        return false;
    }
    const auto* source = static_cast<const uint8_t*>(bytes);
    data.assign(source, source + length);
    dataBitSize = static_cast<int32_t>(length * 8);
    return true;
}

const uint8_t* Buffer::DataPointer() const
{
    return data.empty() ? nullptr : data.data();
}

int Buffer::DataLength() const
{
    return static_cast<int>((static_cast<int64_t>(dataBitSize) + 7) / 8);
}

bool Buffer::AtEnd() const
{
    return readPosition >= dataBitSize;
}

} // namespace Zorva
