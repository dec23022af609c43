#include "resources/Buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Zorva::Buffer;

namespace {

std::vector<uint8_t> Bytes(const Buffer& buffer)
{
    const uint8_t* data = buffer.DataPointer();
    return data ? std::vector<uint8_t>(data, data + buffer.DataLength()) : std::vector<uint8_t>{};
}

Buffer FromBytes(const std::vector<uint8_t>& bytes)
{
    Buffer buffer;
    EXPECT_TRUE(buffer.AssignBytes(bytes.data(), bytes.size()));
    return buffer;
}

} // namespace

TEST(BufferTest, Encodings_LittleEndianWithLengthPrefixedStrings)
{
    Buffer buffer;
    buffer.PutString("abc");
    EXPECT_EQ(Bytes(buffer), (std::vector<uint8_t>{0x03, 0x00, 0x61, 0x62, 0x63}));

    buffer.Reset();
    buffer.PutInt32(1000);
    buffer.PutInt16(-2);
    buffer.PutBool(true);
    buffer.PutBool(false);
    buffer.PutInt32(-1);
    EXPECT_EQ(Bytes(buffer), (std::vector<uint8_t>{0xE8, 0x03, 0x00, 0x00, 0xFE, 0xFF, 0x01, 0x00,
                                                   0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(buffer.GetInt32(), 1000);
    EXPECT_EQ(buffer.GetInt16(), -2);
    EXPECT_TRUE(buffer.GetBool());
    EXPECT_FALSE(buffer.GetBool());
    EXPECT_EQ(buffer.GetInt32(), -1);
    EXPECT_TRUE(buffer.AtEnd());

    Buffer anyNonZero = FromBytes({0x7F});
    EXPECT_TRUE(anyNonZero.GetBool());
}

TEST(BufferTest, BitFields_PackWithoutAlignmentAndSignExtend)
{
    Buffer buffer;
    buffer.PutBits(5, 3);
    buffer.PutByte(0xFF);
    EXPECT_EQ(Bytes(buffer), (std::vector<uint8_t>{0xFD, 0x07}));
    EXPECT_EQ(buffer.DataLength(), 2);
    EXPECT_EQ(buffer.GetBits(3, false), 5);
    EXPECT_EQ(buffer.GetByte(), 0xFF);
    EXPECT_TRUE(buffer.AtEnd());

    buffer.RewindRead();
    EXPECT_EQ(buffer.GetBits(3, true), -3); // bits 1, 0, 1: the last one set fills bits 3..31

    Buffer positive;
    positive.PutBits(3, 3); // bits 1, 1, 0: the last bit is clear, nothing to extend
    EXPECT_EQ(positive.GetBits(3, true), 3);

    Buffer wide;
    wide.PutBits(0xDEADBEEF, 32);
    wide.PutBits(1, 1);
    EXPECT_EQ(static_cast<uint32_t>(wide.GetBits(32, true)), 0xDEADBEEFu);
    EXPECT_EQ(wide.GetBits(1, false), 1);
    // Counts outside 0..32 are clamped instead of shifting past the word.
    wide.RewindRead();
    EXPECT_EQ(static_cast<uint32_t>(wide.GetBits(40, false)), 0xDEADBEEFu);
    EXPECT_EQ(wide.GetBits(-1, true), 0);
}

TEST(BufferTest, MixedFields_RoundTripAcrossByteBoundaries)
{
    Buffer buffer;
    buffer.PutBits(1, 1);
    buffer.PutInt16(-12345);
    buffer.PutString("stone");
    buffer.PutBits(0x55, 7);
    buffer.PutInt32(0x12345678);
    buffer.PutBool(true);
    const uint8_t raw[3] = {9, 8, 7};
    buffer.PutBytes(raw, 3);
    EXPECT_EQ(buffer.DataLength(), (1 + 16 + 16 + 40 + 7 + 32 + 8 + 24 + 7) / 8);

    EXPECT_EQ(buffer.GetBits(1, false), 1);
    EXPECT_EQ(buffer.GetInt16(), -12345);
    EXPECT_EQ(buffer.GetString(), "stone");
    EXPECT_EQ(buffer.GetBits(7, false), 0x55);
    EXPECT_EQ(buffer.GetInt32(), 0x12345678);
    EXPECT_TRUE(buffer.GetBool());
    uint8_t back[3] = {};
    buffer.GetBytes(3, back);
    EXPECT_EQ(back[0], 9);
    EXPECT_EQ(back[2], 7);
    EXPECT_TRUE(buffer.AtEnd());
}

TEST(BufferTest, ReadingPastTheEnd_YieldsZerosAndStopsAdvancing)
{
    Buffer empty;
    EXPECT_EQ(empty.DataPointer(), nullptr);
    EXPECT_EQ(empty.GetByte(), 0);
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.GetInt32(), 0);
    EXPECT_EQ(empty.GetString(), "");
    EXPECT_EQ(empty.GetBits(5, true), 0); // no bit taken, so no sign extension
    EXPECT_FALSE(empty.GetBool());

    // An unaligned byte read needs the next byte too; refused, it leaves the position alone.
    Buffer one = FromBytes({0xB5});
    EXPECT_EQ(one.GetBits(3, false), 0x5);
    EXPECT_EQ(one.GetByte(), 0);
    EXPECT_EQ(one.GetBits(5, false), 0xB5 >> 3);
    EXPECT_TRUE(one.AtEnd());

    // A short integer keeps the bytes that are there.
    Buffer half = FromBytes({0x34});
    EXPECT_EQ(half.GetInt16(), 0x34);
}

TEST(BufferTest, Strings_EmptyOrNegativeLengthsAndOverlongText)
{
    // Length 0, then length 0x8000 (top bit set): both read as empty and consume only
    // the length, so the byte after them is still read correctly.
    Buffer buffer = FromBytes({0x00, 0x00, 0x00, 0x80, 'x'});
    EXPECT_EQ(buffer.GetString(), "");
    EXPECT_EQ(buffer.GetString(), "");
    EXPECT_EQ(buffer.GetByte(), 'x');

    // A stored length longer than the data reads what is there and reaches the end.
    Buffer truncated = FromBytes({0x04, 0x00, 'a', 'b'});
    EXPECT_EQ(truncated.GetString().substr(0, 2), "ab");
    EXPECT_TRUE(truncated.AtEnd());

    // Text longer than a signed 16-bit length is cut, so the fields after it still read.
    Buffer longText;
    longText.PutString(std::string(40000, 'q'));
    longText.PutInt32(77);
    EXPECT_EQ(longText.GetString(), std::string(Buffer::kMaxStringLength, 'q'));
    EXPECT_EQ(longText.GetInt32(), 77);
}

TEST(BufferTest, WholeBufferOperations)
{
    Buffer buffer;
    buffer.PutInt32(42);
    EXPECT_EQ(buffer.GetByte(), 42);

    // AssignBytes keeps both positions: the read goes on from byte 1 of the new data.
    const uint8_t replacement[] = {1, 2, 3};
    ASSERT_TRUE(buffer.AssignBytes(replacement, sizeof replacement));
    EXPECT_EQ(buffer.DataLength(), 3);
    EXPECT_EQ(buffer.GetByte(), 2);
    buffer.RewindRead();
    EXPECT_EQ(buffer.GetByte(), 1);

    // A write lands at the write position, here byte 4; the gap is filled with zeros.
    buffer.PutByte(9);
    EXPECT_EQ(Bytes(buffer), (std::vector<uint8_t>{1, 2, 3, 0, 9}));

    // Too much data for 32-bit bit counts is refused before anything is read or copied.
    EXPECT_FALSE(buffer.AssignBytes(replacement, Buffer::kMaxBytes + 1));
    EXPECT_EQ(buffer.DataLength(), 5);

    buffer.Reset();
    EXPECT_EQ(buffer.DataLength(), 0);
    EXPECT_EQ(buffer.DataPointer(), nullptr);
    EXPECT_TRUE(buffer.AtEnd());
    buffer.PutByte(7);
    EXPECT_EQ(Bytes(buffer), (std::vector<uint8_t>{7}));
}
