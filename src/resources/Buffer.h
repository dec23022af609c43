#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zorva {

/// Byte-and-bit serialiser behind every binary file: values are appended at a write position
/// and consumed at an independent read position. Multi-byte values are little-endian; bit
/// fields fill each byte from its least significant bit upward, without alignment.
///
/// Reading never fails: past the end it yields zeros (0, false, empty strings) and the read
/// position stops advancing for whole bytes; callers detect the end with AtEnd().
class Buffer
{
public:
    /// The most bytes a buffer holds, so that every bit position fits a signed 32-bit count.
    static constexpr std::size_t kMaxBytes = INT32_MAX / 8;
    /// The longest string PutString stores; longer text is cut, because GetString reads the
    /// length as a signed 16-bit number and would otherwise misread everything after it.
    static constexpr std::size_t kMaxStringLength = INT16_MAX;

    Buffer() = default;
    virtual ~Buffer() = default;
    Buffer(const Buffer&) = default;
    Buffer& operator=(const Buffer&) = default;
    Buffer(Buffer&&) = default;
    Buffer& operator=(Buffer&&) = default;

    void PutByte(uint8_t value);
    /// Appends the low `count` bits of `value` (count 0..32), least significant first.
    void PutBits(uint32_t value, int count);
    void PutBool(bool flag);
    void PutInt16(int16_t value);
    void PutInt32(int32_t value);
    /// A 16-bit length, then the bytes, no terminator.
    void PutString(const std::string& text);
    void PutBytes(const void* bytes, std::size_t length);

    uint8_t GetByte();
    /// Reads `count` bits (0..32). With `signExtend`, a last bit of 1 fills bits count..31.
    int32_t GetBits(int count, bool signExtend);
    bool GetBool();
    int16_t GetInt16();
    int32_t GetInt32();
    /// Reads a string; a stored length of 0 or one with its top bit set reads as empty.
    std::string GetString();
    void GetBytes(std::size_t length, void* destination);

    /// Empties the data and sets every position to 0.
    void Reset();
    void RewindRead();
    /// Replaces the data with a copy of `length` bytes; read and write positions stay as
    /// they are. Refuses (false, buffer unchanged) more than kMaxBytes.
    bool AssignBytes(const void* bytes, std::size_t length);

    /// The first byte, or null when there is no data.
    const uint8_t* DataPointer() const;
    /// The number of bytes holding valid bits.
    int DataLength() const;
    bool AtEnd() const;

private:
    bool HasRoomFor(int bitCount) const;
    /// The byte at `index` for writing; the data grows with zero bytes to reach it.
    uint8_t& ByteForWrite(std::size_t index);
    void AdvanceWrite(int bitCount);

    std::vector<uint8_t> data;
    int32_t dataBitSize = 0;
    int32_t readPosition = 0;
    int32_t writePosition = 0;
};

} // namespace Zorva
