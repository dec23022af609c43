#include "app/DemoFile.h"

#include "app/DemoEventReader.h"
#include "resources/Buffer.h"

#include <algorithm>
#include <utility>

namespace Zorva {

namespace {

const char* const kInvalidMessage = "Invalid demo file.";
constexpr int32_t kFirstVersion = 1;
/// The smallest stored marker: an empty name's 16-bit length and the update.
constexpr std::size_t kMinMarkerBytes = 2 + 4;

/// Reads little-endian values from a range of bytes; every read checks that its bytes are
/// there and reports false when they are not.
class ByteCursor
{
public:
    ByteCursor(const uint8_t* first, std::size_t length) : data(first), size(length) {}

    std::size_t Remaining() const { return size - position; }

    bool ReadUInt16(uint32_t& value) { return ReadLittleEndian(2, value); }
    bool ReadUInt32(uint32_t& value) { return ReadLittleEndian(4, value); }
    bool ReadInt32(int32_t& value)
    {
        uint32_t bits = 0;
        if (!ReadUInt32(bits)) {
            return false;
        }
        value = static_cast<int32_t>(bits);
        return true;
    }
    /// Takes `length` bytes, of which the first `keep` go to `text`.
    bool ReadText(std::size_t length, std::size_t keep, std::string& text)
    {
        if (length > Remaining()) {
            return false;
        }
        const auto* first = reinterpret_cast<const char*>(data + position);
        text.assign(first, std::min(length, keep));
        position += length;
        return true;
    }
    const uint8_t* Current() const { return data + position; }
    void Skip(std::size_t length) { position += std::min(length, Remaining()); }

private:
    bool ReadLittleEndian(std::size_t length, uint32_t& value)
    {
        if (length > Remaining()) {
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < length; ++i) {
            value |= static_cast<uint32_t>(data[position + i]) << (8 * i);
        }
        position += length;
        return true;
    }

    const uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

DemoFile::ReadResult Invalid()
{
    return {std::nullopt, kInvalidMessage};
}

std::string CutProductVersion(const std::string& text)
{
    return text.substr(0, DemoFile::kMaxProductVersionLength);
}

/// The marker block: a count, then per marker a length-prefixed name and its update.
bool ReadMarkers(ByteCursor block, std::vector<DemoMarker>& markers)
{
    if (block.Remaining() == 0) {
        return true;
    }
    int32_t count = 0;
    if (!block.ReadInt32(count) || count < 0 ||
        static_cast<std::size_t>(count) > block.Remaining() / kMinMarkerBytes) {
        return false;
    }
    markers.reserve(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        uint32_t nameLength = 0;
        DemoMarker marker;
        if (!block.ReadUInt16(nameLength)) {
            return false;
        }
        // As the buffer reads strings: a length with its top bit set stands for no name.
        if (nameLength >= 0x8000) {
            nameLength = 0;
        }
        if (!block.ReadText(nameLength, nameLength, marker.name) ||
            !block.ReadInt32(marker.update)) {
            return false;
        }
        markers.push_back(std::move(marker));
    }
    return true;
}

bool StartsWithDisplayRecord(const std::vector<uint8_t>& events)
{
    DemoEventReader reader(events);
    const DemoEvent* first = reader.Peek();
    return first && first->kind == DemoEventKind::Display && first->update == 0;
}

} // namespace

std::vector<uint8_t> DemoFile::Encode() const
{
    Buffer markerBlock;
    markerBlock.PutInt32(static_cast<int32_t>(markers.size()));
    for (const DemoMarker& marker : markers) {
        markerBlock.PutString(marker.name);
        markerBlock.PutInt32(marker.update);
    }

    const std::string version = CutProductVersion(productVersion);
    Buffer file;
    file.PutInt32(static_cast<int32_t>(kMagic));
    file.PutInt32(kVersion);
    file.PutInt32(static_cast<int32_t>(seed));
    file.PutInt16(static_cast<int16_t>(version.size()));
    file.PutBytes(version.data(), version.size());
    file.PutInt32(markerBlock.DataLength());
    if (markerBlock.DataPointer()) {
        file.PutBytes(markerBlock.DataPointer(),
                      static_cast<std::size_t>(markerBlock.DataLength()));
    }
    file.PutInt32(totalUpdates);
    file.PutBytes(events.data(), events.size());
    const uint8_t* first = file.DataPointer();
    return std::vector<uint8_t>(first, first + file.DataLength());
}

DemoFile::ReadResult DemoFile::Read(const std::vector<uint8_t>& fileBytes,
                                    const std::string& expectedProductVersion)
{
    if (fileBytes.size() > kMaxFileBytes) {
        return Invalid();
    }
    ByteCursor cursor(fileBytes.data(), fileBytes.size());
    uint32_t magic = 0;
    int32_t version = 0;
    if (!cursor.ReadUInt32(magic) || !cursor.ReadInt32(version) || magic != kMagic ||
        version < kFirstVersion || version > kVersion) {
        return Invalid();
    }

    DemoFile demo;
    uint32_t versionLength = 0;
    if (!cursor.ReadUInt32(demo.seed) || !cursor.ReadUInt16(versionLength) ||
        !cursor.ReadText(versionLength, kMaxProductVersionLength, demo.productVersion)) {
        return Invalid();
    }
    if (demo.productVersion != CutProductVersion(expectedProductVersion)) {
        return {std::nullopt, "This demo file appears to be for '" + demo.productVersion + "'"};
    }

    if (version >= 2) {
        uint32_t markerBlockLength = 0;
        // The block must leave room for the update count and at least one byte of events.
        if (!cursor.ReadUInt32(markerBlockLength) || cursor.Remaining() < 4 ||
            markerBlockLength >= cursor.Remaining() - 4) {
            return Invalid();
        }
        if (!ReadMarkers(ByteCursor(cursor.Current(), markerBlockLength), demo.markers)) {
            return Invalid();
        }
        cursor.Skip(markerBlockLength);
    }

    if (!cursor.ReadInt32(demo.totalUpdates) || cursor.Remaining() == 0) {
        return Invalid();
    }
    demo.events.assign(cursor.Current(), cursor.Current() + cursor.Remaining());
    if (!StartsWithDisplayRecord(demo.events)) {
        return Invalid();
    }
    return {std::move(demo), std::string()};
}

} // namespace Zorva
