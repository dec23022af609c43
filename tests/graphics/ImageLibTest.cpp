#include "graphics/ImageLib.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace IL = Zorva::ImageLib;
using Bytes = std::vector<uint8_t>;

/// A fresh folder of its own for each test.
std::string TempFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / (std::string("imagelib_") + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

std::unique_ptr<IL::Image> MakeImage(int width, int height,
                                     const std::function<uint32_t(int, int)>& pixel)
{
    auto image = IL::Image::Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image->bits[size_t(y * width + x)] = pixel(x, y);
        }
    }
    return image;
}

uint32_t At(const IL::Image& image, int x, int y)
{
    return image.bits[size_t(y * image.width + x)];
}

void PutLE16(Bytes* out, int value)
{
    out->push_back(uint8_t(value));
    out->push_back(uint8_t(value >> 8));
}

void PutBE32(Bytes* out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(uint8_t(value >> shift));
    }
}

Bytes MakeTga(int width, int height, uint8_t depth, uint8_t descriptor,
              const std::vector<uint32_t>& pixels)
{
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutLE16(&out, width);
    PutLE16(&out, height);
    out.push_back(depth);
    out.push_back(descriptor);
    for (uint32_t pixel : pixels) {
        for (int shift = 0; shift < depth; shift += 8) {
            out.push_back(uint8_t(pixel >> shift));
        }
    }
    return out;
}

// ---- GIF building: a real LZW encoder, so the decoder's string table is exercised ----

/// Writes codes as a decoder reads them: its code width grows one code after the encoder's
/// table, and a full table is answered by a clear code.
/// Colour indices as GIF's LZW writes them; indices may reach 2^minCodeSize - 1.
Bytes LzwEncode(const std::vector<int>& indices, int minCodeSize)
{
    const int clear = 1 << minCodeSize;
    Bytes out;
    uint32_t bits = 0;
    int bitCount = 0;
    int width = minCodeSize + 1;
    int decoderNext = clear + 2;
    int codesSinceClear = 0;
    const auto emit = [&](int code) {
        bits |= uint32_t(code) << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            out.push_back(uint8_t(bits));
            bits >>= 8;
            bitCount -= 8;
        }
        if (code == clear) {
            width = minCodeSize + 1;
            decoderNext = clear + 2;
            codesSinceClear = 0;
            return;
        }
        if (++codesSinceClear >= 2 && decoderNext < 4096) {
            ++decoderNext;
            if (decoderNext == (1 << width) && width < 12) {
                ++width;
            }
        }
    };
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    emit(clear);
    int prefix = -1;
    for (const int index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        const auto found = table.find({prefix, index});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        table[{prefix, index}] = next++;
        if (next == 4096) {
            emit(clear);
            table.clear();
            next = clear + 2;
        }
        prefix = index;
    }
    if (prefix >= 0) {
        emit(prefix);
    }
    emit(clear + 1);
    if (bitCount > 0) {
        out.push_back(uint8_t(bits));
    }
    return out;
}

Bytes LzwEncode(const Bytes& indices, int minCodeSize)
{
    return LzwEncode(std::vector<int>(indices.begin(), indices.end()), minCodeSize);
}

void PutSubBlocks(Bytes* out, const Bytes& data)
{
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t length = std::min<size_t>(255, data.size() - i);
        out->push_back(uint8_t(length));
        out->insert(out->end(), data.begin() + long(i), data.begin() + long(i + length));
    }
    out->push_back(0);
}

struct GifSpec
{
    int width = 1;
    int height = 1;
    std::vector<uint32_t> globalTable; // RGB; size a power of two
    std::vector<uint32_t> localTable;
    int transparent = -1;
    bool interlaced = false;
    int minCodeSize = 2;
    Bytes indices; // in data order
    Bytes lzw;     // overrides the encoded indices when not empty
};

void PutTable(Bytes* out, const std::vector<uint32_t>& table)
{
    for (uint32_t rgb : table) {
        out->push_back(uint8_t(rgb >> 16));
        out->push_back(uint8_t(rgb >> 8));
        out->push_back(uint8_t(rgb));
    }
}

int TableBits(const std::vector<uint32_t>& table)
{
    int bits = 0;
    while ((2u << bits) < table.size()) {
        ++bits;
    }
    return bits;
}

Bytes MakeGif(const GifSpec& spec)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLE16(&out, spec.width);
    PutLE16(&out, spec.height);
    out.push_back(spec.globalTable.empty() ? 0 : uint8_t(0x80 | TableBits(spec.globalTable)));
    out.push_back(0);
    out.push_back(0);
    PutTable(&out, spec.globalTable);
    // A comment and a looping application block, both to be skipped.
    out.insert(out.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 0});
    out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3,
                           1, 0, 0, 0});
    if (spec.transparent >= 0) {
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(spec.transparent), 0});
    }
    out.push_back(0x2C);
    PutLE16(&out, 0);
    PutLE16(&out, 0);
    PutLE16(&out, spec.width);
    PutLE16(&out, spec.height);
    uint8_t flags = spec.interlaced ? 0x40 : 0;
    if (!spec.localTable.empty()) {
        flags |= uint8_t(0x80 | TableBits(spec.localTable));
    }
    out.push_back(flags);
    PutTable(&out, spec.localTable);
    out.push_back(uint8_t(spec.minCodeSize));
    PutSubBlocks(&out, spec.lzw.empty() ? LzwEncode(spec.indices, spec.minCodeSize) : spec.lzw);
    out.push_back(0x3B);
    return out;
}

// ---- PNG building by hand: stored deflate blocks, so any bit depth can be written ----

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

void PutChunk(Bytes* out, const char* type, const Bytes& data)
{
    PutBE32(out, uint32_t(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out->insert(out->end(), body.begin(), body.end());
    PutBE32(out, Crc32(body.data(), body.size()));
}

/// A PNG whose `raw` holds the filtered rows (each starting with its filter byte 0).
Bytes MakePng(int width, int height, uint8_t depth, uint8_t colorType, const Bytes& raw,
              const std::vector<std::pair<const char*, Bytes>>& extraChunks = {},
              uint8_t interlace = 0)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBE32(&header, uint32_t(width));
    PutBE32(&header, uint32_t(height));
    header.insert(header.end(), {depth, colorType, 0, 0, interlace});
    PutChunk(&out, "IHDR", header);
    for (const auto& [type, data] : extraChunks) {
        PutChunk(&out, type, data);
    }
    Bytes zlib = {0x78, 0x01, 0x01};
    PutLE16(&zlib, int(raw.size()));
    PutLE16(&zlib, int(~raw.size() & 0xFFFF));
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(&zlib, b << 16 | a);
    PutChunk(&out, "IDAT", zlib);
    PutChunk(&out, "IEND", {});
    return out;
}

Bytes ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int MaxChannelDifference(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
    return worst;
}

// ---- LoadImageFile ----

TEST(ImageLib, LoadImageFile_NoExtensionTriesTgaJpegPngGifInOrder)
{
    const std::string dir = TempFolder();
    ASSERT_TRUE(
        IL::SavePNG(dir + "pic.png", *MakeImage(2, 2, [](int, int) { return 0xFF0000FFu; })));
    // The sizes tell the readers apart.
    auto image = IL::LoadImageFile(dir + "pic", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(At(*image, 1, 1), 0xFF0000FFu);

    ASSERT_TRUE(
        IL::SaveJPEG(dir + "pic.jpg", *MakeImage(4, 4, [](int, int) { return 0xFF808080u; })));
    image = IL::LoadImageFile(dir + "pic", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 4);

    WriteBytes(dir + "pic.tga", MakeTga(3, 1, 32, 0x28, {1, 2, 3}));
    image = IL::LoadImageFile(dir + "pic", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);

    // With an extension only that reader runs.
    image = IL::LoadImageFile(dir + "pic.png", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(IL::LoadImageFile(dir + "pic.bmp", false), nullptr);
    EXPECT_EQ(IL::LoadImageFile(dir + "pic.gif", false), nullptr);

    // A GIF is the last resort.
    GifSpec gif;
    gif.width = 5;
    gif.globalTable = {0x102030, 0, 0, 0};
    gif.indices = Bytes(5, 0);
    WriteBytes(dir + "anim.gif", MakeGif(gif));
    image = IL::LoadImageFile(dir + "anim", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(At(*image, 4, 0), 0xFF102030u);

    // A dot in a folder name is no extension.
    std::filesystem::create_directories(dir + "set.v2");
    ASSERT_TRUE(IL::SavePNG(dir + "set.v2/tile.png",
                            *MakeImage(6, 1, [](int, int) { return 0xFF000000u; })));
    image = IL::LoadImageFile(dir + "set.v2/tile", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 6);
    EXPECT_EQ(IL::LoadImageFile(dir + "missing", false), nullptr);
}

TEST(ImageLib, LoadImageFile_UpperCaseExtensionUsesOnlyThatReader)
{
    const std::string dir = TempFolder();
    ASSERT_TRUE(IL::SavePNG(dir + "UP.PNG", *MakeImage(2, 1, [](int x, int) {
                                return x ? 0x80FFFFFFu : 0xFF00FF00u;
                            })));
    WriteBytes(dir + "UP.tga", MakeTga(7, 1, 32, 0x28, std::vector<uint32_t>(7)));
    auto image = IL::LoadImageFile(dir + "UP.PNG", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(At(*image, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(At(*image, 1, 0), 0x80FFFFFFu);

    // TGA bytes behind a PNG name are not tried as TGA.
    WriteBytes(dir + "fake.PNG", MakeTga(1, 1, 32, 0x28, {0xFF112233}));
    EXPECT_EQ(IL::LoadImageFile(dir + "fake.PNG", false), nullptr);

    // An upper-case name also finds the lower-case spelling of the file.
    ASSERT_TRUE(IL::SavePNG(dir + "low.png", *MakeImage(3, 1, [](int, int) { return 0u; })));
    image = IL::LoadImageFile(dir + "low.PNG", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
}

TEST(ImageLib, LoadImageFile_AlphaImageOfSameSizeOtherSizeAndAlone)
{
    const std::string dir = TempFolder();
    const auto red = [](int, int) { return 0xFFE01010u; };
    // The alpha image's red and green differ from its blue: only blue counts.
    const auto grey = [](int x, int y) { return 0xFF112200u | uint32_t(x * 30 + y); };

    ASSERT_TRUE(IL::SaveJPEG(dir + "same.jpg", *MakeImage(8, 8, red)));
    ASSERT_TRUE(IL::SavePNG(dir + "_same.png", *MakeImage(8, 8, grey)));
    auto image = IL::LoadImageFile(dir + "same", true);
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(At(*image, x, y) >> 24, uint32_t(x * 30 + y));
            EXPECT_LE(MaxChannelDifference(At(*image, x, y) & 0xFFFFFF, 0xE01010), 8);
        }
    }
    // Without the lookup the colour image stays opaque.
    image = IL::LoadImageFile(dir + "same", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 3, 3) >> 24, 0xFFu);

    ASSERT_TRUE(IL::SaveJPEG(dir + "other.jpg", *MakeImage(8, 8, red)));
    ASSERT_TRUE(IL::SavePNG(dir + "_other.png", *MakeImage(4, 8, grey)));
    image = IL::LoadImageFile(dir + "other", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(At(*image, 2, 5) >> 24, 0xFFu);

    // With an extension the alpha name keeps it.
    ASSERT_TRUE(IL::SavePNG(dir + "ext.png", *MakeImage(2, 1, red)));
    ASSERT_TRUE(IL::SavePNG(dir + "_ext.png", *MakeImage(2, 1, grey)));
    image = IL::LoadImageFile(dir + "ext.png", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 1, 0), 0x1EE01010u);

    // Only the alpha image: white, or the module's alpha colour, with the grey as alpha.
    ASSERT_TRUE(IL::SavePNG(dir + "_alone.png", *MakeImage(2, 2, grey)));
    EXPECT_EQ(IL::GetAlphaColor(), 0xFFFFFFu);
    image = IL::LoadImageFile(dir + "alone", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(At(*image, 1, 1), 0x1FFFFFFFu);
    IL::SetAlphaColor(0x123456);
    image = IL::LoadImageFile(dir + "alone", true);
    IL::SetAlphaColor(0xFFFFFF);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 1, 0), 0x1E123456u);
    EXPECT_EQ(IL::LoadImageFile(dir + "alone", false), nullptr);

    // Failing the prefix, the name followed by '_' is the alpha image.
    ASSERT_TRUE(IL::SavePNG(dir + "tail.png", *MakeImage(1, 1, red)));
    ASSERT_TRUE(
        IL::SavePNG(dir + "tail_.png", *MakeImage(1, 1, [](int, int) { return 0xFF000042u; })));
    image = IL::LoadImageFile(dir + "tail", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0x42E01010u);
}

// ---- TGA ----

TEST(ImageLib, Tga_Only32BitTopLeftWithAllPixelsIsRead)
{
    const std::vector<uint32_t> pixels = {0x80FF0000, 0xFF00FF00, 0x000000FF, 0x12345678};
    auto image = [](const Bytes& bytes) { return IL::DecodeTGA(bytes.data(), bytes.size()); };

    const Bytes good = MakeTga(2, 2, 32, 0x28, pixels);
    auto decoded = image(good);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->width, 2);
    EXPECT_EQ(decoded->height, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(decoded->bits[size_t(i)], pixels[size_t(i)]);
    }

    EXPECT_EQ(image(MakeTga(2, 2, 24, 0x20, pixels)), nullptr);
    EXPECT_EQ(image(MakeTga(2, 2, 32, 0x08, pixels)), nullptr); // bottom-left origin
    EXPECT_EQ(image(MakeTga(0, 2, 32, 0x28, {})), nullptr);
    EXPECT_EQ(image(MakeTga(16385, 1, 32, 0x28, {})), nullptr);
    for (size_t length : {size_t(0), size_t(17), size_t(18), good.size() - 1}) {
        EXPECT_EQ(image(Bytes(good.begin(), good.begin() + long(length))), nullptr) << length;
    }

    const std::string dir = TempFolder();
    WriteBytes(dir + "a.tga", good);
    decoded = IL::ReadTGAImage(dir + "a.tga");
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->bits[3], 0x12345678u);
    EXPECT_EQ(IL::ReadTGAImage(dir + "none.tga"), nullptr);
}

// ---- GIF ----

TEST(ImageLib, Gif_LzwTableColoursAndTransparentIndex)
{
    GifSpec spec;
    spec.width = 128;
    spec.height = 96;
    spec.minCodeSize = 4;
    for (int i = 0; i < 16; ++i) {
        spec.globalTable.push_back(uint32_t(i * 0x0F0E0D));
    }
    spec.transparent = 5;
    // Runs (the code not yet in the table), repeats and noise: the table fills and clears.
    uint32_t seed = 7;
    for (int i = 0; i < spec.width * spec.height; ++i) {
        seed = seed * 1103515245u + 12345u;
        spec.indices.push_back(uint8_t(i < 600 ? (i / 100) % 16 : (seed >> 16) % 16));
    }
    const Bytes bytes = MakeGif(spec);
    auto image = IL::DecodeGIF(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 128);
    ASSERT_EQ(image->height, 96);
    int mismatches = 0;
    for (size_t i = 0; i < spec.indices.size(); ++i) {
        const uint32_t expected =
            spec.indices[i] == 5 ? 0u : 0xFF000000u | spec.globalTable[spec.indices[i]];
        mismatches += image->bits[i] != expected;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(image->bits[500], 0x00000000u); // the run of index 5

    // A local table replaces the global one; indices beyond it are opaque black.
    GifSpec local;
    local.width = 4;
    local.globalTable = {0x111111, 0x222222, 0x333333, 0x444444};
    local.localTable = {0xABCDEF, 0x123456};
    local.minCodeSize = 2;
    local.indices = {0, 1, 2, 3};
    const Bytes localBytes = MakeGif(local);
    image = IL::DecodeGIF(localBytes.data(), localBytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFFABCDEFu);
    EXPECT_EQ(At(*image, 1, 0), 0xFF123456u);
    EXPECT_EQ(At(*image, 2, 0), 0xFF000000u);
    EXPECT_EQ(At(*image, 3, 0), 0xFF000000u);
}

TEST(ImageLib, Gif_MinimumCodeSizesAboveEightDecode)
{
    // Codes then start at 10 to 12 bits; the table still ends at 4096 entries, and indices
    // beyond the colour table are opaque black.
    for (const int codeSize : {9, 10, 11}) {
        GifSpec spec;
        spec.width = 64;
        spec.height = 48;
        spec.minCodeSize = codeSize;
        spec.globalTable = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
        std::vector<int> indices;
        uint32_t seed = 11;
        for (int i = 0; i < spec.width * spec.height; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) % 6);
            indices.push_back(noise < 4 ? noise : (1 << codeSize) - 1 - noise);
        }
        spec.lzw = LzwEncode(indices, codeSize);
        const Bytes bytes = MakeGif(spec);
        auto image = IL::DecodeGIF(bytes.data(), bytes.size());
        ASSERT_NE(image, nullptr) << "minimum code size " << codeSize;
        int mismatches = 0;
        for (size_t i = 0; i < indices.size(); ++i) {
            const uint32_t expected =
                0xFF000000u | (indices[i] < 4 ? spec.globalTable[size_t(indices[i])] : 0u);
            mismatches += image->bits[i] != expected;
        }
        EXPECT_EQ(mismatches, 0) << "minimum code size " << codeSize;
    }
    GifSpec tooWide;
    tooWide.minCodeSize = 12;
    tooWide.lzw = {0, 0, 0};
    const Bytes bytes = MakeGif(tooWide);
    EXPECT_EQ(IL::DecodeGIF(bytes.data(), bytes.size()), nullptr);
}

TEST(ImageLib, Gif_InterlacedRowsFillInFourPasses)
{
    GifSpec spec;
    spec.width = 2;
    spec.height = 10;
    spec.interlaced = true;
    spec.minCodeSize = 4;
    for (int i = 0; i < 16; ++i) {
        spec.globalTable.push_back(uint32_t(i));
    }
    for (int row = 0; row < 10; ++row) {
        spec.indices.insert(spec.indices.end(), {uint8_t(row), uint8_t(row)});
    }
    const Bytes bytes = MakeGif(spec);
    auto image = IL::DecodeGIF(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    // Data row k lands on the k-th row of the passes 0,8 | 4 | 2,6 | 1,3,5,7,9.
    const int rowOfData[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(At(*image, 1, rowOfData[k]), 0xFF000000u | uint32_t(k)) << k;
    }
}

TEST(ImageLib, Gif_BrokenDataStopsSafely)
{
    GifSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.globalTable = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    spec.indices = Bytes(16, 1);
    const Bytes good = MakeGif(spec);

    // Image data that ends early: the decoded pixels stay, the rest is 0.
    spec.lzw = {0x4C}; // clear (100), 1 (001), then two bits of a code
    Bytes bytes = MakeGif(spec);
    auto image = IL::DecodeGIF(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(At(*image, 1, 0), 0u);
    EXPECT_EQ(At(*image, 3, 3), 0u);

    // A code above the next free code ends decoding: clear, 1, then 7 > 6.
    spec.lzw = {0xCC, 0x01};
    bytes = MakeGif(spec);
    image = IL::DecodeGIF(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(At(*image, 1, 0), 0u);

    // More data than pixels is dropped.
    spec.lzw = {};
    spec.indices = Bytes(40, 2);
    bytes = MakeGif(spec);
    image = IL::DecodeGIF(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 3, 3), 0xFF0000FFu);

    const auto decode = [](Bytes data) { return IL::DecodeGIF(data.data(), data.size()); };
    Bytes wrong = good;
    wrong[4] = '8';
    wrong[3] = '9';
    EXPECT_EQ(decode(wrong), nullptr);
    EXPECT_EQ(decode({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}), nullptr);
    GifSpec empty = spec;
    empty.width = 0;
    EXPECT_EQ(decode(MakeGif(empty)), nullptr);
    // A huge picture claimed by a few bytes is refused before anything is allocated.
    GifSpec huge = spec;
    huge.width = 16384;
    huge.height = 16384;
    huge.indices = {1};
    EXPECT_EQ(decode(MakeGif(huge)), nullptr);
    // Every cut of the file either fails or gives a 4 × 4 picture.
    for (size_t length = 0; length < good.size(); ++length) {
        auto cut = decode(Bytes(good.begin(), good.begin() + long(length)));
        if (cut) {
            EXPECT_EQ(cut->width * cut->height, 16) << length;
        }
    }
}

// ---- PNG ----

TEST(ImageLib, Png_ExpandsPaletteGreyAndSixteenBitsToArgb)
{
    const auto decode = [](const Bytes& data) { return IL::DecodePNG(data.data(), data.size()); };

    // Palette of three with transparency for the first two entries.
    const Bytes palette =
        MakePng(3, 1, 8, 3, {0, 0, 1, 2},
                {{"PLTE", {10, 20, 30, 200, 100, 50, 1, 2, 3}}, {"tRNS", {0x00, 0x80}}});
    auto image = decode(palette);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0x000A141Eu);
    EXPECT_EQ(At(*image, 1, 0), 0x80C86432u);
    EXPECT_EQ(At(*image, 2, 0), 0xFF010203u);

    // 16 bits per channel keep the high byte.
    image = decode(MakePng(1, 1, 16, 2, {0, 0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFFAB12FFu);
    image = decode(MakePng(1, 1, 16, 6, {0, 1, 2, 3, 4, 5, 6, 0x7F, 0xFF}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0x7F010305u);

    // Two-bit grey spreads to full bytes; grey with alpha keeps its alpha.
    image = decode(MakePng(4, 1, 2, 0, {0, 0b00011011}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFF000000u);
    EXPECT_EQ(At(*image, 1, 0), 0xFF555555u);
    EXPECT_EQ(At(*image, 3, 0), 0xFFFFFFFFu);
    image = decode(MakePng(1, 1, 8, 4, {0, 0x40, 0x80}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0x80404040u);

    // Interlaced 2 × 2 grey: passes 1, 6 and 7 carry (0,0), (1,0) and row 1.
    image = decode(MakePng(2, 2, 8, 0, {0, 10, 0, 20, 0, 30, 40}, {}, 1));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(At(*image, 0, 0), 0xFF0A0A0Au);
    EXPECT_EQ(At(*image, 1, 0), 0xFF141414u);
    EXPECT_EQ(At(*image, 0, 1), 0xFF1E1E1Eu);
    EXPECT_EQ(At(*image, 1, 1), 0xFF282828u);
}

TEST(ImageLib, Png_RoundTripIsExactAndBadFilesGiveNull)
{
    const std::string dir = TempFolder();
    auto original = MakeImage(5, 3, [](int x, int y) {
        return uint32_t(x * 50) << 24 | uint32_t(y * 80) << 16 | 0x00AB00u | uint32_t(x + y);
    });
    ASSERT_TRUE(IL::SavePNG(dir + "round.png", *original));
    auto image = IL::ReadPNGImage(dir + "round.png");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 5);
    ASSERT_EQ(image->height, 3);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(image->bits[size_t(i)], original->bits[size_t(i)]) << i;
    }
    // The writer leaves no temporary file behind and fails on a missing folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(IL::SavePNG(dir + "no/such/folder.png", *original));
    EXPECT_FALSE(IL::SavePNG(dir + "empty.png", IL::Image()));

    const Bytes bytes = ReadAll(dir + "round.png");
    for (size_t length : {size_t(0), size_t(8), size_t(33), bytes.size() / 2, bytes.size() - 13}) {
        EXPECT_EQ(IL::DecodePNG(bytes.data(), length), nullptr) << length;
    }
    Bytes corrupt = bytes;
    corrupt[corrupt.size() - 20] ^= 0xFF; // inside the image data
    EXPECT_EQ(IL::DecodePNG(corrupt.data(), corrupt.size()), nullptr);
    // A header claiming far more rows than the data can inflate to.
    const Bytes huge = MakePng(16384, 16384, 8, 6, {0, 1, 2, 3, 4});
    EXPECT_EQ(IL::DecodePNG(huge.data(), huge.size()), nullptr);
    const Bytes tooWide = MakePng(16385, 1, 8, 0, Bytes(16386));
    EXPECT_EQ(IL::DecodePNG(tooWide.data(), tooWide.size()), nullptr);
}

// ---- JPEG ----

TEST(ImageLib, Jpeg_RoundTripIsCloseAndBadFilesGiveNull)
{
    const std::string dir = TempFolder();
    // A smooth picture survives quality 80 closely; the alpha channel is not kept.
    auto original = MakeImage(32, 16, [](int x, int y) {
        return 0x40000000u | uint32_t(x * 8) << 16 | uint32_t(y * 16) << 8 | 0x80u;
    });
    ASSERT_TRUE(IL::SaveJPEG(dir + "round.jpg", *original));
    auto image = IL::ReadJPEGImage(dir + "round.jpg");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 32);
    ASSERT_EQ(image->height, 16);
    int worst = 0;
    for (int i = 0; i < 32 * 16; ++i) {
        EXPECT_EQ(image->bits[size_t(i)] >> 24, 0xFFu);
        worst = std::max(worst, MaxChannelDifference(image->bits[size_t(i)] & 0xFFFFFF,
                                                     original->bits[size_t(i)] & 0xFFFFFF));
    }
    EXPECT_LE(worst, 12);
    EXPECT_FALSE(IL::SaveJPEG(dir + "no/such/folder.jpg", *original));

    const Bytes bytes = ReadAll(dir + "round.jpg");
    for (size_t length : {size_t(0), size_t(2), size_t(100), bytes.size() / 2}) {
        EXPECT_EQ(IL::DecodeJPEG(bytes.data(), length), nullptr) << length;
    }
    // A header claiming a huge picture with a few bytes of data behind it.
    Bytes huge = bytes;
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) { // start of frame: height, width
            huge[i + 5] = 0x40;
            huge[i + 6] = 0x00;
            huge[i + 7] = 0x40;
            huge[i + 8] = 0x00;
            break;
        }
    }
    EXPECT_EQ(IL::DecodeJPEG(huge.data(), huge.size()), nullptr);
    EXPECT_EQ(IL::ReadJPEGImage(dir + "none.jpg"), nullptr);
}

TEST(ImageLib, Create_RefusesSidesOutsideTheCeiling)
{
    auto image = IL::Image::Create(3, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[5], 0u);
    EXPECT_EQ(IL::Image::Create(0, 5), nullptr);
    EXPECT_EQ(IL::Image::Create(5, -1), nullptr);
    EXPECT_EQ(IL::Image::Create(16385, 1), nullptr);
    EXPECT_NE(IL::Image::Create(16384, 1), nullptr);
}

} // namespace
