#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Reads the values the Buffer writes (little-endian 32-bit integers, boolean bytes, strings
/// with a 16-bit length) from a byte span, for files whose records must be complete: each
/// read fails, and reads nothing, once the bytes run out.
class FileRecordReader
{
public:
    FileRecordReader(const uint8_t* bytes, std::size_t size) : data(bytes), end(size) {}

    bool AtEnd() const { return position >= end; }
    std::size_t Remaining() const { return end - position; }

    bool Int32(int32_t& value)
    {
        if (end - position < 4) {
            return false;
        }
        uint32_t bits = 0;
        for (int i = 3; i >= 0; --i) {
            bits = (bits << 8) | data[position + static_cast<std::size_t>(i)];
        }
        value = static_cast<int32_t>(bits);
        position += 4;
        return true;
    }

    bool Bool(bool& value)
    {
        if (end - position < 1) {
            return false;
        }
        value = data[position++] != 0;
        return true;
    }

    /// Only the bytes 0 and 1, for files where any other value means damage.
    bool StrictBool(bool& value)
    {
        if (end - position < 1 || data[position] > 1) {
            return false;
        }
        value = data[position++] == 1;
        return true;
    }

    /// A length with its top bit set reads as an empty string, as the Buffer does.
    bool String(std::string& value)
    {
        if (end - position < 2) {
            return false;
        }
        const auto length = static_cast<int16_t>(data[position] | (data[position + 1] << 8));
        const std::size_t count = length > 0 ? static_cast<std::size_t>(length) : 0;
        if (end - position - 2 < count) {
            return false;
        }
        value.assign(reinterpret_cast<const char*>(data + position + 2), count);
        position += 2 + count;
        return true;
    }

private:
    const uint8_t* data;
    std::size_t end;
    std::size_t position = 0;
};
