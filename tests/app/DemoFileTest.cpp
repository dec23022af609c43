#include "app/DemoFile.h"
#include "app/DemoEventReader.h"
#include "app/DemoEventWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace Zorva;

namespace {

const std::string kInvalid = "Invalid demo file.";

std::vector<uint8_t> Bytes(const Buffer& buffer)
{
    const uint8_t* data = buffer.DataPointer();
    return data ? std::vector<uint8_t>(data, data + buffer.DataLength()) : std::vector<uint8_t>{};
}

DemoEvent Event(DemoEventKind kind, int update, int code = 0, bool flag = false)
{
    DemoEvent event = DemoEvent::Of(kind, update);
    event.code = code;
    event.flag = flag;
    return event;
}

DemoEvent Pointer(DemoEventKind kind, int update, int x, int y, int clickCode = 0)
{
    DemoEvent event = Event(kind, update, 0, clickCode > 0);
    event.x = x;
    event.y = y;
    event.clickCode = clickCode;
    return event;
}

DemoEvent WithBytes(DemoEvent event, std::vector<uint8_t> bytes)
{
    event.bytes = std::move(bytes);
    return event;
}

std::vector<DemoEvent> ReadAll(const std::vector<uint8_t>& stream)
{
    DemoEventReader reader(stream);
    std::vector<DemoEvent> events;
    while (const DemoEvent* event = reader.Peek()) {
        events.push_back(*event);
        reader.Take();
    }
    EXPECT_FALSE(reader.Failed());
    return events;
}

std::vector<DemoEvent> RoundTrip(const std::vector<DemoEvent>& written)
{
    DemoEventWriter writer;
    for (const DemoEvent& event : written) {
        writer.Write(event);
    }
    return ReadAll(Bytes(writer.Bytes()));
}

void ExpectSame(const DemoEvent& read, const DemoEvent& expected)
{
    EXPECT_EQ(read.kind, expected.kind);
    EXPECT_EQ(read.update, expected.update);
    EXPECT_EQ(read.x, expected.x);
    EXPECT_EQ(read.y, expected.y);
    EXPECT_EQ(read.clickCode, expected.clickCode);
    EXPECT_EQ(read.flag, expected.flag);
    EXPECT_EQ(read.code, expected.code);
    EXPECT_EQ(read.bytes, expected.bytes);
}

/// A version 2 file by product "1.2" holding the display record and a key press.
DemoFile SmallDemo()
{
    DemoEventWriter writer;
    writer.Write(Event(DemoEventKind::Display, 0, 60, true));
    writer.Write(Event(DemoEventKind::KeyDown, 3, 65));
    DemoFile demo;
    demo.seed = 0xCAFE;
    demo.productVersion = "1.2";
    demo.markers = {{"One-Side Level 7", 2}, {"", 3}};
    demo.totalUpdates = 9;
    demo.events = Bytes(writer.Bytes());
    return demo;
}

// Offsets in SmallDemo's file: the product version text is 3 bytes long.
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kTextLengthAt = 12;
constexpr std::size_t kMarkerBlockLengthAt = 17;
constexpr std::size_t kMarkerCountAt = 21;

void Patch32(std::vector<uint8_t>& file, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::string ReadError(const std::vector<uint8_t>& file)
{
    const DemoFile::ReadResult result = DemoFile::Read(file, "1.2");
    EXPECT_EQ(result.demo.has_value(), result.error.empty());
    return result.error;
}

} // namespace

TEST(DemoEventStreamTest, EveryKind_ComesBackAsWritten)
{
    const std::vector<DemoEvent> written = {
        Event(DemoEventKind::Display, 0, 75, true),
        Pointer(DemoEventKind::PointerPosition, 0, 4095, 0),
        Pointer(DemoEventKind::PointerMove, 1, 4064, 31),
        Pointer(DemoEventKind::PointerButton, 1, 4064, 31, 2),
        Pointer(DemoEventKind::PointerButton, 2, 4064, 31, -1),
        Event(DemoEventKind::Activate, 2, 0, true),
        Event(DemoEventKind::Minimize, 2, 0, true),
        Event(DemoEventKind::KeyDown, 3, 255),
        Event(DemoEventKind::KeyUp, 3, 0),
        Event(DemoEventKind::Character, 3, 200),
        Event(DemoEventKind::Close, 4),
        Event(DemoEventKind::PointerEnter, 4),
        Event(DemoEventKind::PointerLeave, 4),
        Event(DemoEventKind::LoadingDone, 5),
        WithBytes(Event(DemoEventKind::SettingsRead, 5, 4, true), {1, 2, 3}),
        Event(DemoEventKind::SettingsRead, 5),
        Event(DemoEventKind::SettingsWrite, 5, 0, true),
        Event(DemoEventKind::FileExists, 6),
        WithBytes(Event(DemoEventKind::FileRead, 6, 0, true), {0xFF, 0, 0x80}),
        Event(DemoEventKind::FileRead, 6),
        Event(DemoEventKind::FileWrite, 6, 0, true),
        WithBytes(Event(DemoEventKind::PlatformValue, 7), {'h', 'i'}),
        WithBytes(Event(DemoEventKind::PlatformValue, 7), {}),
        Event(DemoEventKind::Wheel, 7, -128),
        Event(DemoEventKind::Wheel, 7, 127),
    };
    const std::vector<DemoEvent> read = RoundTrip(written);
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSame(read[i], written[i]);
    }
}

TEST(DemoEventStreamTest, PointerMoves_RelativeWithin31AbsoluteFrom32)
{
    const std::vector<DemoEvent> read = RoundTrip({
        Pointer(DemoEventKind::PointerMove, 0, 31, 0),
        Pointer(DemoEventKind::PointerMove, 0, 0, 31),
        Pointer(DemoEventKind::PointerMove, 0, 32, 31),
        Pointer(DemoEventKind::PointerMove, 0, 32, 63),
        Pointer(DemoEventKind::PointerMove, 0, 32, 63),
        Pointer(DemoEventKind::PointerMove, 0, -5, 5000),
        Pointer(DemoEventKind::PointerButton, 1, -5, 5000, 7),
        Pointer(DemoEventKind::PointerButton, 1, 10, 4090, -9),
    });
    const std::vector<DemoEventKind> kinds = {
        DemoEventKind::PointerMove,     DemoEventKind::PointerMove,
        DemoEventKind::PointerPosition, DemoEventKind::PointerPosition,
        DemoEventKind::PointerPosition, DemoEventKind::PointerButton,
        DemoEventKind::PointerMove,     DemoEventKind::PointerButton,
    };
    ASSERT_EQ(read.size(), kinds.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].kind, kinds[i]) << i;
    }
    EXPECT_EQ(read[1].x, 0);
    EXPECT_EQ(read[3].y, 63);
    // Clamped to the edges: the same position again writes nothing before the button.
    EXPECT_EQ(read[4].x, 0);
    EXPECT_EQ(read[4].y, 4095);
    EXPECT_EQ(read[5].clickCode, 3);
    EXPECT_EQ(read[7].x, 10);
    EXPECT_EQ(read[7].y, 4090);
    EXPECT_EQ(read[7].clickCode, -4);
    EXPECT_FALSE(read[7].flag);
}

TEST(DemoEventStreamTest, FieldsOutsideTheirWidth_AreClamped)
{
    const std::vector<DemoEvent> read = RoundTrip({
        Event(DemoEventKind::KeyDown, 0, 300),
        Event(DemoEventKind::Character, 0, -3),
        Event(DemoEventKind::Wheel, 0, 500),
        Event(DemoEventKind::Wheel, 0, -500),
        Event(DemoEventKind::Display, 0, 256),
    });
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0].code, 255);
    EXPECT_EQ(read[1].code, 0);
    EXPECT_EQ(read[2].code, 127);
    EXPECT_EQ(read[3].code, -128);
    EXPECT_EQ(read[4].code, 255);
}

TEST(DemoEventStreamTest, Gaps_AboveFifteenAreWrittenAsChunks)
{
    DemoEventWriter writer;
    writer.Write(Event(DemoEventKind::Close, 40));
    // Two chunks (delta 15, type 31), then delta 10 with type 6, bits least significant first.
    EXPECT_EQ(Bytes(writer.Bytes()), (std::vector<uint8_t>{0xEF, 0xBF, 0xAF, 0x0C}));
    EXPECT_EQ(writer.EventCount(), 3);

    writer.Write(Event(DemoEventKind::Close, 55));
    EXPECT_EQ(writer.EventCount(), 4);
    writer.Write(Event(DemoEventKind::Close, 71));
    EXPECT_EQ(writer.EventCount(), 6);
    writer.Write(Event(DemoEventKind::Close, 3));
    EXPECT_EQ(writer.LastUpdate(), 71);

    DemoEventReader reader(Bytes(writer.Bytes()));
    std::vector<int> updates;
    while (const DemoEvent* event = reader.Peek()) {
        updates.push_back(event->update);
        reader.Take();
    }
    EXPECT_EQ(updates, (std::vector<int>{40, 55, 71, 71}));
    EXPECT_EQ(reader.EventCount(), 7);
}

TEST(DemoEventStreamTest, PaddingAndTruncatedEvents_DoNotReadAsEvents)
{
    for (int count = 1; count <= 8; ++count) {
        DemoEventWriter writer;
        for (int i = 0; i < count; ++i) {
            writer.Write(Event(i % 2 ? DemoEventKind::Activate : DemoEventKind::Close, 0));
        }
        std::vector<uint8_t> stream = Bytes(writer.Bytes());
        EXPECT_EQ(ReadAll(stream).size(), static_cast<std::size_t>(count));
        // Zero bits would make a header of an absolute position with too short a payload.
        stream.push_back(0);
        EXPECT_EQ(ReadAll(stream).size(), static_cast<std::size_t>(count));
    }
}

TEST(DemoEventStreamTest, UnknownTypesAndOverlongLengths_FailTheStream)
{
    for (const uint32_t type : {10u, 13u, 17u, 19u, 20u, 22u, 24u, 30u}) {
        Buffer stream;
        stream.PutBits(0, 5);
        stream.PutBits(type, 5);
        stream.PutInt32(0);
        DemoEventReader reader(Bytes(stream));
        EXPECT_TRUE(reader.AtEnd()) << type;
        EXPECT_TRUE(reader.Failed()) << type;
    }
    for (const int32_t length : {INT32_MAX, 3, -1}) {
        Buffer stream;
        stream.PutBits(0, 5);
        stream.PutBits(18, 5);
        stream.PutInt32(length);
        stream.PutBytes("ab", 2);
        DemoEventReader reader(Bytes(stream));
        EXPECT_TRUE(reader.AtEnd()) << length;
        EXPECT_TRUE(reader.Failed()) << length;
    }
}

TEST(DemoFileTest, Encode_ReadsBackEveryField)
{
    const DemoFile written = SmallDemo();
    const DemoFile::ReadResult result = DemoFile::Read(written.Encode(), "1.2");
    ASSERT_TRUE(result.demo) << result.error;
    const DemoFile& read = *result.demo;
    EXPECT_EQ(read.seed, 0xCAFEu);
    EXPECT_EQ(read.productVersion, "1.2");
    ASSERT_EQ(read.markers.size(), 2u);
    EXPECT_EQ(read.markers[0].name, "One-Side Level 7");
    EXPECT_EQ(read.markers[0].update, 2);
    EXPECT_EQ(read.markers[1].name, "");
    EXPECT_EQ(read.totalUpdates, 9);
    EXPECT_EQ(read.events, written.events);
}

TEST(DemoFileTest, VersionOne_HasNoMarkerBlock)
{
    std::vector<uint8_t> file = SmallDemo().Encode();
    const uint32_t blockLength = file[kMarkerBlockLengthAt];
    file.erase(file.begin() + kMarkerBlockLengthAt,
               file.begin() + kMarkerBlockLengthAt + 4 + blockLength);
    Patch32(file, kVersionAt, 1);
    const DemoFile::ReadResult result = DemoFile::Read(file, "1.2");
    ASSERT_TRUE(result.demo) << result.error;
    EXPECT_TRUE(result.demo->markers.empty());
    EXPECT_EQ(result.demo->totalUpdates, 9);
}

TEST(DemoFileTest, Refusals_NameTheReason)
{
    const std::vector<uint8_t> valid = SmallDemo().Encode();
    EXPECT_EQ(ReadError(valid), "");
    EXPECT_EQ(DemoFile::Read(valid, "1.3").error, "This demo file appears to be for '1.2'");

    std::vector<uint8_t> file = valid;
    file[0] ^= 1;
    EXPECT_EQ(ReadError(file), kInvalid) << "magic";
    for (const uint32_t version : {0u, 3u}) {
        file = valid;
        Patch32(file, kVersionAt, version);
        EXPECT_EQ(ReadError(file), kInvalid) << "version " << version;
    }

    file = valid;
    file[kTextLengthAt] = 0xFF;
    file[kTextLengthAt + 1] = 0xFF;
    EXPECT_EQ(ReadError(file), kInvalid) << "text length";
    for (const uint32_t length :
         {0xFFFFFFFFu, 0x7FFFFFFFu, static_cast<uint32_t>(valid.size() - kMarkerCountAt - 4)}) {
        file = valid;
        Patch32(file, kMarkerBlockLengthAt, length);
        EXPECT_EQ(ReadError(file), kInvalid) << "block length " << length;
    }
    for (const uint32_t count : {0x80000000u, 0x7FFFFFFFu, 3u}) {
        file = valid;
        Patch32(file, kMarkerCountAt, count);
        EXPECT_EQ(ReadError(file), kInvalid) << "marker count " << count;
    }

    for (const DemoEvent& first :
         {Event(DemoEventKind::KeyDown, 0, 1), Event(DemoEventKind::Display, 1, 60, true)}) {
        DemoFile demo = SmallDemo();
        DemoEventWriter writer;
        writer.Write(first);
        demo.events = Bytes(writer.Bytes());
        EXPECT_EQ(ReadError(demo.Encode()), kInvalid) << "no display record first";
    }

    file = valid;
    file.resize(DemoFile::kMaxFileBytes + 1);
    EXPECT_EQ(ReadError(file), kInvalid) << "too large";
}

TEST(DemoFileTest, EveryTruncation_IsRefusedOrStillWhole)
{
    const std::vector<uint8_t> valid = SmallDemo().Encode();
    const std::size_t eventsAt = valid.size() - SmallDemo().events.size();
    for (std::size_t length = 0; length < valid.size(); ++length) {
        const std::vector<uint8_t> cut(valid.begin(), valid.begin() + length);
        const DemoFile::ReadResult result = DemoFile::Read(cut, "1.2");
        if (length < eventsAt + 4) {
            EXPECT_EQ(result.error, kInvalid) << length;
        } else {
            // Cut after the display record: the rest of the stream just ends sooner.
            EXPECT_TRUE(result.demo) << length;
        }
    }
}
