// Our own GIF decoder: the first image of a GIF87a or GIF89a file.

#include "graphics/ImageLib.h"

#include <array>
#include <cstring>
#include <vector>

namespace Zorva::ImageLib {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr uint32_t kMissingColor = 0xFF000000;

/// Reads bytes with bounds checks; past the end every read fails and leaves the reader there.
class ByteReader
{
public:
    ByteReader(const uint8_t* newData, size_t newSize) : data(newData), size(newSize) {}

    bool Has(size_t count) const { return count <= size - position; }
    size_t Remaining() const { return size - position; }
    bool Byte(uint8_t* value)
    {
        if (!Has(1)) {
            return false;
        }
        *value = data[position++];
        return true;
    }
    bool Word(uint16_t* value)
    {
        if (!Has(2)) {
            return false;
        }
        *value = static_cast<uint16_t>(data[position] | data[position + 1] << 8);
        position += 2;
        return true;
    }
    const uint8_t* Take(size_t count)
    {
        if (!Has(count)) {
            return nullptr;
        }
        const uint8_t* start = data + position;
        position += count;
        return start;
    }
    /// Skips data sub-blocks up to and including the empty one.
    bool SkipSubBlocks()
    {
        uint8_t length = 0;
        do {
            if (!Byte(&length) || !Take(length)) {
                return false;
            }
        } while (length != 0);
        return true;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

/// The LZW codes of an image, least significant bit first across the data sub-blocks.
class CodeReader
{
public:
    explicit CodeReader(ByteReader* newReader) : reader(newReader) {}

    /// False when the data ends (an empty sub-block, or the file's end).
    bool Next(int width, int* code)
    {
        while (bitCount < width) {
            if (blockLeft == 0) {
                uint8_t length = 0;
                if (ended || !reader->Byte(&length) || length == 0) {
                    ended = true;
                    return false;
                }
                blockLeft = length;
            }
            uint8_t byte = 0;
            if (!reader->Byte(&byte)) {
                ended = true;
                return false;
            }
            --blockLeft;
            bits |= uint32_t{byte} << bitCount;
            bitCount += 8;
        }
        *code = static_cast<int>(bits & ((1u << width) - 1));
        bits >>= width;
        bitCount -= width;
        return true;
    }

private:
    ByteReader* reader;
    uint32_t bits = 0;
    int bitCount = 0;
    int blockLeft = 0;
    bool ended = false;
};

/// The most pixels `bytes` of LZW data can expand to: the k-th code after a clear yields at
/// most k pixels and no string is longer than the table, so codes without clears cost the
/// fewest bits per pixel.
uint64_t MaxLzwPixels(uint64_t bytes, int minCodeSize)
{
    uint64_t bitsLeft = bytes * 8;
    int width = minCodeSize + 1;
    int nextFree = (1 << minCodeSize) + 2;
    uint64_t pixels = 0;
    for (uint64_t k = 1; nextFree < kMaxCodes && bitsLeft >= uint64_t(width); ++k) {
        bitsLeft -= uint64_t(width);
        pixels += k;
        if (k >= 2) {
            ++nextFree;
            if (nextFree == (1 << width) && width < kMaxCodeWidth) {
                ++width;
            }
        }
    }
    return pixels + bitsLeft / uint64_t(width) * kMaxCodes;
}

/// Row order of the image data: top to bottom, or the four interlace passes.
std::vector<int32_t> RowOrder(int32_t height, bool interlaced)
{
    std::vector<int32_t> rows;
    rows.reserve(static_cast<size_t>(height));
    if (!interlaced) {
        for (int32_t y = 0; y < height; ++y) {
            rows.push_back(y);
        }
        return rows;
    }
    constexpr int32_t kStart[] = {0, 4, 2, 1};
    constexpr int32_t kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int32_t y = kStart[pass]; y < height; y += kStep[pass]) {
            rows.push_back(y);
        }
    }
    return rows;
}

/// Places decoded colour indices into the image in data order; everything past the last pixel
/// is dropped.
class PixelSink
{
public:
    PixelSink(Image* newImage, const std::array<uint32_t, 256>& newPalette, int newPaletteSize,
              int newTransparentIndex, bool interlaced)
        : image(newImage), palette(newPalette), paletteSize(newPaletteSize),
          transparentIndex(newTransparentIndex), rows(RowOrder(newImage->height, interlaced))
    {}

    bool Full() const { return rowIndex >= rows.size(); }

    void Put(int index)
    {
        if (Full()) {
            return;
        }
        const uint32_t color = index == transparentIndex ? 0u
                               : index < paletteSize     ? palette[static_cast<size_t>(index)]
                                                         : kMissingColor;
        image->bits[static_cast<size_t>(rows[rowIndex]) * image->width + x] = color;
        if (++x == image->width) {
            x = 0;
            ++rowIndex;
        }
    }

private:
    Image* image;
    const std::array<uint32_t, 256>& palette;
    int paletteSize;
    int transparentIndex;
    std::vector<int32_t> rows;
    size_t rowIndex = 0;
    int32_t x = 0;
};

void DecodeLzw(ByteReader* reader, int minCodeSize, PixelSink* sink)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    // Indices are as wide as the minimum code size, up to 11 bits.
    std::vector<uint16_t> prefix(kMaxCodes);
    std::vector<uint16_t> suffix(kMaxCodes);
    std::vector<uint16_t> stack(kMaxCodes + 1);

    CodeReader codes(reader);
    int width = minCodeSize + 1;
    int nextFree = clearCode + 2;
    int previous = -1;
    uint16_t firstOfPrevious = 0;
    int code = 0;
    while (!sink->Full() && codes.Next(width, &code)) {
        if (code == clearCode) {
            width = minCodeSize + 1;
            nextFree = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode || code > nextFree) {
            return;
        }
        if (previous < 0) {
            // The first code after a clear must be a plain colour index.
            if (code >= clearCode) {
                return;
            }
            sink->Put(code);
            previous = code;
            firstOfPrevious = static_cast<uint16_t>(code);
            continue;
        }

        // Unwind the string of `code` (or, for the code not yet in the table, of the previous
        // code followed by its own first index) onto the stack.
        size_t depth = 0;
        int walk = code;
        if (code == nextFree) {
            stack[depth++] = firstOfPrevious;
            walk = previous;
        }
        while (walk >= clearCode) {
            stack[depth++] = suffix[static_cast<size_t>(walk)];
            walk = prefix[static_cast<size_t>(walk)];
        }
        stack[depth++] = static_cast<uint16_t>(walk);
        const uint16_t first = static_cast<uint16_t>(walk);
        while (depth > 0) {
            sink->Put(stack[--depth]);
        }

        if (nextFree < kMaxCodes) {
            prefix[static_cast<size_t>(nextFree)] = static_cast<uint16_t>(previous);
            suffix[static_cast<size_t>(nextFree)] = first;
            ++nextFree;
            if (nextFree == (1 << width) && width < kMaxCodeWidth) {
                ++width;
            }
        }
        previous = code;
        firstOfPrevious = first;
    }
}

bool ReadColorTable(ByteReader* reader, uint8_t flags, std::array<uint32_t, 256>* table, int* count)
{
    const int entries = 1 << ((flags & 7) + 1);
    const uint8_t* rgb = reader->Take(static_cast<size_t>(entries) * 3);
    if (!rgb) {
        return false;
    }
    for (int i = 0; i < entries; ++i, rgb += 3) {
        (*table)[static_cast<size_t>(i)] =
            0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    }
    *count = entries;
    return true;
}

} // namespace

std::unique_ptr<Image> DecodeGIF(const uint8_t* data, size_t size)
{
    if (!data) {
        return nullptr;
    }
    ByteReader reader(data, size);
    const uint8_t* signature = reader.Take(6);
    if (!signature ||
        (std::memcmp(signature, "GIF87", 5) != 0 && std::memcmp(signature, "GIF89", 5) != 0)) {
        return nullptr;
    }
    uint16_t screenWidth = 0;
    uint16_t screenHeight = 0;
    uint8_t screenFlags = 0;
    if (!reader.Word(&screenWidth) || !reader.Word(&screenHeight) || !reader.Byte(&screenFlags) ||
        !reader.Take(2)) {
        return nullptr;
    }
    std::array<uint32_t, 256> palette{};
    int paletteSize = 0;
    if ((screenFlags & 0x80) && !ReadColorTable(&reader, screenFlags, &palette, &paletteSize)) {
        return nullptr;
    }

    int transparentIndex = -1;
    uint8_t introducer = 0;
    while (reader.Byte(&introducer) && introducer != 0x3B) {
        if (introducer == 0x21) {
            uint8_t label = 0;
            if (!reader.Byte(&label)) {
                return nullptr;
            }
            if (label == 0xF9) {
                uint8_t length = 0;
                if (!reader.Byte(&length)) {
                    return nullptr;
                }
                const uint8_t* block = reader.Take(length);
                if (!block) {
                    return nullptr;
                }
                if (length >= 4 && (block[0] & 1)) {
                    transparentIndex = block[3];
                }
                if (length == 0) {
                    continue;
                }
            }
            // Comments, application blocks (NETSCAPE2.0 looping included) and unknown
            // extensions carry nothing for a still picture.
            if (!reader.SkipSubBlocks()) {
                return nullptr;
            }
            continue;
        }
        if (introducer != 0x2C) {
            return nullptr;
        }

        uint16_t left = 0;
        uint16_t top = 0;
        uint16_t width = 0;
        uint16_t height = 0;
        uint8_t flags = 0;
        if (!reader.Word(&left) || !reader.Word(&top) || !reader.Word(&width) ||
            !reader.Word(&height) || !reader.Byte(&flags)) {
            return nullptr;
        }
        if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
            return nullptr;
        }
        if ((flags & 0x80) && !ReadColorTable(&reader, flags, &palette, &paletteSize)) {
            return nullptr;
        }
        uint8_t minCodeSize = 0;
        // Sizes above 8 start the codes at 10 to 12 bits; the table still ends at 4096.
        if (!reader.Byte(&minCodeSize) || minCodeSize < 1 || minCodeSize >= kMaxCodeWidth) {
            return nullptr;
        }
        if (uint64_t{width} * height > MaxLzwPixels(reader.Remaining(), minCodeSize)) {
            return nullptr;
        }
        std::unique_ptr<Image> image = Image::Create(width, height);
        if (!image) {
            return nullptr;
        }
        PixelSink sink(image.get(), palette, paletteSize, transparentIndex, (flags & 0x40) != 0);
        DecodeLzw(&reader, minCodeSize, &sink);
        return image;
    }
    return nullptr;
}

} // namespace Zorva::ImageLib
