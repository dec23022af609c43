#include "graphics/MemoryImage.h"

#include "graphics/ImageRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace Zorva {
namespace {

/// A committed image of one colour (an opaque colour makes an opaque destination).
void MakeFilled(MemoryImage& image, int w, int h, uint32_t argb)
{
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h, argb);
    image.SetPixels(pixels.data(), w, h, true);
}

void MakeRow(MemoryImage& image, const std::vector<uint32_t>& pixels)
{
    image.SetPixels(pixels.data(), static_cast<int>(pixels.size()), 1, true);
}

bool GuardIntact(const MemoryImage& image)
{
    return image.mBits.size() == static_cast<std::size_t>(image.width) * image.height + 1 &&
           image.mBits.back() == MemoryImage::kGuardWord;
}

void BuildCaches(MemoryImage& image)
{
    image.GetAlphaRuns();
    image.GetNativeAlpha(NativeFormat{});
    image.GetAdditiveRuns(NativeFormat{});
}

bool CachesDropped(const MemoryImage& image)
{
    return image.rlAlphaData.empty() && image.nativeAlphaData.empty() &&
           image.rlAdditiveData.empty();
}

TEST(MemoryImageTest, FillRect_OpaqueOverwritesHalfAlphaBlendsHalfwayAndClips)
{
    MemoryImage image;
    MakeFilled(image, 4, 3, 0xFF0000FF);
    image.FillRect(Rect(2, 1, 10, 10), Color(0x12, 0x34, 0x56, 255), kDrawModeNormal);
    EXPECT_EQ(image.PixelAt(2, 1), 0xFF123456u);
    EXPECT_EQ(image.PixelAt(3, 2), 0xFF123456u);
    EXPECT_EQ(image.PixelAt(1, 1), 0xFF0000FFu);
    EXPECT_EQ(image.PixelAt(2, 0), 0xFF0000FFu);
    EXPECT_TRUE(GuardIntact(image));

    // Over an opaque pixel at alpha 128: f = 128, alpha 255, each channel halfway.
    image.FillRect(Rect(-5, 0, 6, 1), Color(255, 0, 0, 128), kDrawModeNormal);
    EXPECT_EQ(image.PixelAt(0, 0), 0xFF7F007Fu);
    EXPECT_EQ(image.PixelAt(1, 0), 0xFF0000FFu);

    // Alpha 0 leaves every pixel as it was, transparent ones included.
    MemoryImage clear;
    MakeRow(clear, {0x00000000, 0x80112233});
    clear.FillRect(Rect(0, 0, 2, 1), Color(255, 255, 255, 0), kDrawModeNormal);
    EXPECT_EQ(clear.PixelAt(0, 0), 0x00000000u);
    EXPECT_EQ(clear.PixelAt(1, 0), 0x80112233u);
}

TEST(MemoryImageTest, FillRect_SourceOverUsesDestinationAlpha)
{
    MemoryImage image;
    MakeRow(image, {0x80FF0000, 0x00000000});
    image.FillRect(Rect(0, 0, 2, 1), Color(0, 0, 255, 128), kDrawModeNormal);
    // newA = 128 + 127 * 128 / 255 = 191; f = 128 * 255 / 191 = 170.
    EXPECT_EQ(image.PixelAt(0, 0), 0xBF5500A9u);
    // Onto a transparent pixel: newA = 128, f = 255.
    EXPECT_EQ(image.PixelAt(1, 0), 0x800000FEu);
}

TEST(MemoryImageTest, Blit_OpaqueRunsCopyAndTransparentRunsSkip)
{
    // 10 opaque, 10 transparent (with colour), 10 half, 270 opaque: longer than one run byte.
    std::vector<uint32_t> row;
    for (int i = 0; i < 10; ++i) {
        row.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x010203));
    }
    row.insert(row.end(), 10, 0x00FFFFFF);
    row.insert(row.end(), 10, 0x80FF0000);
    for (int i = 0; i < 270; ++i) {
        row.push_back(0xFF400000u | static_cast<uint32_t>(i));
    }
    MemoryImage source;
    MakeRow(source, row);

    const uint8_t* runs = source.GetAlphaRuns();
    EXPECT_EQ(runs[0], 10);
    EXPECT_EQ(runs[9], 1);
    EXPECT_EQ(runs[10], 10);
    EXPECT_EQ(runs[30], 255);
    EXPECT_EQ(runs[45], 255);
    EXPECT_EQ(runs[46], 254);
    EXPECT_EQ(runs[299], 1);

    MemoryImage dest;
    MakeFilled(dest, 300, 2, 0xFF102030);
    ASSERT_FALSE(dest.hasAlpha || dest.hasTrans);
    dest.Blit(&source, 0, 1, Rect(0, 0, 300, 1), Color::kWhite, kDrawModeNormal);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(dest.PixelAt(i, 0), 0xFF102030u) << i;
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(dest.PixelAt(i, 1), row[static_cast<std::size_t>(i)]);
        EXPECT_EQ(dest.PixelAt(10 + i, 1), 0xFF102030u);
    }
    // (s * a >> 8) + (d * (256 - a) >> 8) with a = 128.
    EXPECT_EQ(dest.PixelAt(20, 1), 0xFF871018u);
    for (int i = 30; i < 300; ++i) {
        ASSERT_EQ(dest.PixelAt(i, 1), row[static_cast<std::size_t>(i)]) << i;
    }

    // Starting inside a run, a source rect reaching past the source and a destination past
    // the edge: only the overlap is drawn.
    MemoryImage small;
    MakeFilled(small, 8, 1, 0xFF102030);
    small.Blit(&source, 3, 0, Rect(15, -4, 400, 9), Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(small.PixelAt(2, 0), 0xFF102030u);
    EXPECT_EQ(small.PixelAt(7, 0), 0xFF102030u); // source pixel 19: transparent
    small.Blit(&source, 0, 0, Rect(28, 0, 400, 1), Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(small.PixelAt(1, 0), 0xFF871018u);
    EXPECT_EQ(small.PixelAt(2, 0), row[30]);
    EXPECT_EQ(small.PixelAt(7, 0), row[35]);
    EXPECT_TRUE(GuardIntact(small));

    // A palettised source reads through its palette and draws the same.
    MemoryImage palSource;
    MakeRow(palSource, {0xFF0A0B0C, 0x00FFFFFF, 0x80FF0000, 0xFF0A0B0C});
    ASSERT_TRUE(palSource.MakePalettised());
    MemoryImage palDest;
    MakeFilled(palDest, 4, 1, 0xFF102030);
    palDest.Blit(&palSource, 0, 0, Rect(0, 0, 4, 1), Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(palDest.PixelAt(0, 0), 0xFF0A0B0Cu);
    EXPECT_EQ(palDest.PixelAt(1, 0), 0xFF102030u);
    EXPECT_EQ(palDest.PixelAt(2, 0), 0xFF871018u);
    EXPECT_EQ(palDest.PixelAt(3, 0), 0xFF0A0B0Cu);
    EXPECT_TRUE(palSource.IsPalettised());

    // Something that is not a MemoryImage draws nothing.
    Image plain;
    palDest.Blit(&plain, 0, 0, Rect(0, 0, 4, 1), Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(palDest.PixelAt(1, 0), 0xFF102030u);
}

TEST(MemoryImageTest, Blit_GeneralPathOntoDestinationWithAlpha)
{
    MemoryImage source;
    MakeRow(source, {0x800000FF, 0x00FFFFFF, 0xFF123456});
    MemoryImage dest;
    MakeRow(dest, {0x80FF0000, 0x80FF0000, 0x00000000});
    ASSERT_TRUE(dest.hasAlpha);
    dest.Blit(&source, 0, 0, Rect(0, 0, 3, 1), Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(dest.PixelAt(0, 0), 0xBF5500A9u); // as FillRect's source-over
    EXPECT_EQ(dest.PixelAt(1, 0), 0x80FF0000u); // transparent source pixel skipped
    EXPECT_EQ(dest.PixelAt(2, 0), 0xFF123456u); // opaque source pixel replaces
}

TEST(MemoryImageTest, Blit_RunsOntoDestinationWithAlphaCrossCappedRuns)
{
    // 600 opaque, 10 half, 290 clear: runs longer than a run byte holds, on a half-alpha row.
    std::vector<uint32_t> row(900, 0x00000000u);
    std::fill(row.begin(), row.begin() + 600, 0xFF00C000u);
    std::fill(row.begin() + 600, row.begin() + 610, 0x800000FFu);
    MemoryImage source;
    MakeRow(source, row);
    MemoryImage dest;
    MakeRow(dest, std::vector<uint32_t>(900, 0x80FF0000u));
    ASSERT_TRUE(dest.hasAlpha);
    dest.Blit(&source, 0, 0, Rect(0, 0, 900, 1), Color::kWhite, kDrawModeNormal);
    for (int x : {0, 254, 255, 256, 511, 599}) {
        EXPECT_EQ(dest.PixelAt(x, 0), 0xFF00C000u) << x;
    }
    for (int x : {600, 609}) {
        EXPECT_EQ(dest.PixelAt(x, 0), 0xBF5500A9u) << x;
    }
    for (int x : {610, 865, 899}) {
        EXPECT_EQ(dest.PixelAt(x, 0), 0x80FF0000u) << x;
    }
    EXPECT_TRUE(GuardIntact(dest));
}

TEST(MemoryImageTest, Blit_ColourModulation)
{
    MemoryImage source;
    MakeRow(source, {0xFFFFFFFF, 0xFFFFFFFF, 0x00FFFFFF});
    MemoryImage dest;
    MakeRow(dest, {0xFF000000, 0xFF0000FF, 0xFF0000FF});
    dest.Blit(&source, 0, 0, Rect(0, 0, 1, 1), Color(255, 128, 0, 255), kDrawModeNormal);
    // u = 255: channel = 255 * 255 * k / 65536.
    EXPECT_EQ(dest.PixelAt(0, 0), 0xFFFD7F00u);
    dest.Blit(&source, 1, 0, Rect(1, 0, 2, 1), Color(255, 255, 255, 128), kDrawModeNormal);
    // u = 128: 128 * 255 * 255 / 65536 = 127, plus 128 * d / 256.
    EXPECT_EQ(dest.PixelAt(1, 0), 0xFF7F7FFEu);
    EXPECT_EQ(dest.PixelAt(2, 0), 0xFF0000FFu);
}

TEST(MemoryImageTest, Blit_AdditiveSaturatesKeepsDestinationAlphaAndSkipsBlack)
{
    MemoryImage opaque;
    MakeRow(opaque, {0xFF90C010, 0xFF000000});
    MemoryImage dest;
    MakeRow(dest, {0x7F804020, 0x7F804020});
    dest.Blit(&opaque, 0, 0, Rect(0, 0, 2, 1), Color::kWhite, kDrawModeAdditive);
    EXPECT_EQ(dest.PixelAt(0, 0), 0x7FFFFF30u);
    EXPECT_EQ(dest.PixelAt(1, 0), 0x7F804020u);

    // With source alpha each channel is first scaled by sA >> 8.
    MemoryImage translucent;
    MakeRow(translucent, {0x80FF0000, 0x00FFFFFF});
    ASSERT_TRUE(translucent.hasAlpha);
    MemoryImage dest2;
    MakeRow(dest2, {0xFF000010, 0xFF000010});
    dest2.Blit(&translucent, 0, 0, Rect(0, 0, 2, 1), Color::kWhite, kDrawModeAdditive);
    EXPECT_EQ(dest2.PixelAt(0, 0), 0xFF7F0010u);
    EXPECT_EQ(dest2.PixelAt(1, 0), 0xFF000010u);

    // A colour scales by m = kA * k / 255 as (s * m) >> 8.
    MemoryImage grey;
    MakeRow(grey, {0xFFC8C8C8});
    MemoryImage dest3;
    MakeRow(dest3, {0xFF102030});
    dest3.Blit(&grey, 0, 0, Rect(0, 0, 1, 1), Color(255, 0, 255, 128), kDrawModeAdditive);
    EXPECT_EQ(dest3.PixelAt(0, 0), 0xFF742094u);
}

uint32_t Channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

// Rows long enough for the four-pixel inner loops, checked pixel by pixel against the formulas.
TEST(MemoryImageTest, WideRows_FourPixelLoopsMatchPerPixelFormulas)
{
    constexpr int kCount = 13;
    std::vector<uint32_t> dest;
    std::vector<uint32_t> source;
    for (uint32_t i = 0; i < kCount; ++i) {
        dest.push_back(Pack(i == 5 ? 0x80 : 0xFF, i * 19, (i * 37) & 0xFF, 255 - i * 11));
        source.push_back(Pack(1 + i * 19, 255 - i * 7, i * 13, (i * 101) & 0xFF));
    }

    MemoryImage filled;
    MakeRow(filled, dest);
    filled.FillRect(Rect(0, 0, kCount, 1), Color(200, 100, 50, 128), kDrawModeNormal);
    for (int i = 0; i < kCount; ++i) {
        const uint32_t d = dest[static_cast<std::size_t>(i)];
        const uint32_t dA = d >> 24;
        const uint32_t newA = dA + (255 - dA) * 128 / 255;
        const uint32_t f = 128 * 255 / newA;
        const auto mix = [&](int shift, uint32_t s) {
            return (Channel(d, shift) * (256 - f) >> 8) + (s * f >> 8);
        };
        EXPECT_EQ(filled.PixelAt(i, 0), Pack(newA, mix(16, 200), mix(8, 100), mix(0, 50))) << i;
    }

    MemoryImage partial;
    MakeRow(partial, source);
    MemoryImage opaque;
    std::vector<uint32_t> opaqueDest = dest;
    opaqueDest[5] |= 0xFF000000u;
    MakeRow(opaque, opaqueDest);
    opaque.Blit(&partial, 0, 0, Rect(0, 0, kCount, 1), Color::kWhite, kDrawModeNormal);
    for (int i = 0; i < kCount; ++i) {
        const uint32_t s = source[static_cast<std::size_t>(i)];
        const uint32_t d = opaqueDest[static_cast<std::size_t>(i)];
        const uint32_t a = s >> 24;
        const auto mix = [&](int shift) {
            return (Channel(s, shift) * a >> 8) + (Channel(d, shift) * (256 - a) >> 8);
        };
        EXPECT_EQ(opaque.PixelAt(i, 0), Pack(255, mix(16), mix(8), mix(0))) << i;
    }

    MemoryImage added;
    MakeRow(added, dest);
    added.Blit(&partial, 0, 0, Rect(0, 0, kCount, 1), Color(255, 128, 0, 200), kDrawModeAdditive);
    const uint32_t m[3] = {200 * 255 / 255, 200 * 128 / 255, 0};
    for (int i = 0; i < kCount; ++i) {
        const uint32_t s = source[static_cast<std::size_t>(i)];
        const uint32_t d = dest[static_cast<std::size_t>(i)];
        const auto add = [&](int shift, uint32_t mult) {
            const uint32_t v = ((Channel(s, shift) * mult) >> 8) * (s >> 24) >> 8;
            return std::min<uint32_t>(255, Channel(d, shift) + v);
        };
        EXPECT_EQ(added.PixelAt(i, 0), Pack(d >> 24, add(16, m[0]), add(8, m[1]), add(0, m[2])))
            << i;
    }
}

TEST(MemoryImageTest, DrawLine_EndpointsIncludedAndPixelRules)
{
    MemoryImage image;
    MakeFilled(image, 7, 5, 0xFF000000);
    image.DrawLine(5, 2, 1, 2, Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(image.PixelAt(0, 2), 0xFF000000u);
    EXPECT_EQ(image.PixelAt(1, 2), 0xFFFFFFFFu);
    EXPECT_EQ(image.PixelAt(5, 2), 0xFFFFFFFFu);
    EXPECT_EQ(image.PixelAt(6, 2), 0xFF000000u);
    image.DrawLine(6, 4, 6, 0, Color::kWhite, kDrawModeNormal);
    EXPECT_EQ(image.PixelAt(6, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.PixelAt(6, 4), 0xFFFFFFFFu);

    // Bresenham, either direction gives the same pixels; an opaque white stays 255.
    for (int reversed = 0; reversed < 2; ++reversed) {
        MemoryImage line;
        MakeFilled(line, 5, 3, 0xFF000000);
        if (reversed != 0) {
            line.DrawLine(4, 2, 0, 0, Color::kWhite, kDrawModeNormal);
        } else {
            line.DrawLine(0, 0, 4, 2, Color::kWhite, kDrawModeNormal);
        }
        const bool expected[3][5] = {{1, 1, 0, 0, 0}, {0, 0, 1, 1, 0}, {0, 0, 0, 0, 1}};
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(line.PixelAt(x, y), expected[y][x] ? 0xFFFFFFFFu : 0xFF000000u)
                    << x << "," << y << " reversed " << reversed;
            }
        }
    }

    MemoryImage rules;
    MakeRow(rules, {0xFF0000FF, 0xFF808080});
    rules.SetPixels(std::vector<uint32_t>{0xFF0000FF, 0, 0, 0xFF808080}.data(), 2, 2, true);
    // Alpha 128: d * 128 + 127 >> 8 plus the premultiplied colour (128 * c + 128) >> 8.
    rules.DrawLine(0, 0, 0.5, 0.9, Color(255, 0, 0, 128), kDrawModeNormal);
    EXPECT_EQ(rules.PixelAt(0, 0), 0xFF80007Fu);
    rules.DrawLine(1, 1, 1.5, 1.9, Color(255, 0, 0, 128), kDrawModeAdditive);
    EXPECT_EQ(rules.PixelAt(1, 1), 0xFFFF8080u);

    // A line starting far outside is the same walk as the unclipped one, seen through the
    // image; coordinates beyond any image finish at once.
    MemoryImage whole;
    MakeFilled(whole, 40, 20, 0xFF000000);
    whole.DrawLine(0, 0, 30, 15, Color::kWhite, kDrawModeNormal);
    MemoryImage clipped;
    MakeFilled(clipped, 5, 5, 0xFF000000);
    clipped.DrawLine(-10, -5, 20, 10, Color::kWhite, kDrawModeNormal);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(clipped.PixelAt(x, y), whole.PixelAt(x + 10, y + 5)) << x << "," << y;
        }
    }
    clipped.DrawLine(-1e12, 3, 1e12, 4, Color::kWhite, kDrawModeNormal);
    EXPECT_TRUE(GuardIntact(clipped));
}

TEST(MemoryImageTest, MakePalettised_FailsAbove256ColoursAndGetPixelsRebuilds)
{
    std::vector<uint32_t> many;
    for (uint32_t i = 0; i < 257; ++i) {
        many.push_back(0xFF000000u | i);
    }
    MemoryImage tooMany;
    MakeRow(tooMany, many);
    EXPECT_FALSE(tooMany.MakePalettised());
    EXPECT_FALSE(tooMany.IsPalettised());
    EXPECT_FALSE(tooMany.wantPal);
    ASSERT_TRUE(tooMany.HasPixels());
    EXPECT_EQ(tooMany.PixelAt(256, 0), 0xFF000100u);

    MemoryImage two;
    two.SetPixels(std::vector<uint32_t>{0x80FF0000, 0xFF00FF00, 0xFF00FF00, 0x80FF0000}.data(), 2,
                  2, true);
    ASSERT_TRUE(two.MakePalettised());
    EXPECT_TRUE(two.wantPal);
    EXPECT_FALSE(two.HasPixels());
    ASSERT_EQ(two.colorTable.size(), 256u);
    EXPECT_EQ(two.colorTable[0], 0x80FF0000u);
    EXPECT_EQ(two.colorTable[1], 0xFF00FF00u);
    EXPECT_EQ(two.colorIndices, (std::vector<uint8_t>{0, 1, 1, 0}));
    EXPECT_EQ(two.PixelAt(1, 1), 0x80FF0000u);
    EXPECT_EQ(two.GetAlphaRuns()[0], 1);
    EXPECT_EQ(two.GetNativeAlpha(NativeFormat{})[1], 0xFF00FF00u);

    const uint32_t* pixels = two.GetPixels();
    EXPECT_EQ(pixels[2], 0xFF00FF00u);
    EXPECT_EQ(pixels[3], 0x80FF0000u);
    EXPECT_FALSE(two.IsPalettised());
    EXPECT_TRUE(two.colorIndices.empty());
    EXPECT_TRUE(GuardIntact(two));
}

TEST(MemoryImageTest, EveryDrawingDiscardsDerivedCaches)
{
    MemoryImage source;
    MakeFilled(source, 2, 2, 0xFF112233);
    const auto check = [&](const char* what, auto draw) {
        MemoryImage image;
        MakeRow(image, {0xFF000000, 0xFF000000, 0x00000000});
        BuildCaches(image);
        const int before = image.bitsChangedCount;
        draw(image);
        EXPECT_TRUE(CachesDropped(image)) << what;
        EXPECT_GT(image.bitsChangedCount, before) << what;
        EXPECT_TRUE(image.bitsChanged) << what;
        MemoryImage fresh;
        fresh.SetPixels(image.GetPixels(), image.width, image.height, true);
        EXPECT_EQ(std::vector<uint8_t>(image.GetAlphaRuns(), image.GetAlphaRuns() + 3),
                  std::vector<uint8_t>(fresh.GetAlphaRuns(), fresh.GetAlphaRuns() + 3))
            << what;
    };
    check("FillRect",
          [](MemoryImage& m) { m.FillRect(Rect(1, 0, 1, 1), Color(1, 2, 3, 0x80), 0); });
    check("ClearRect", [](MemoryImage& m) { m.ClearRect(Rect(1, 0, 1, 1)); });
    check("Clear", [](MemoryImage& m) { m.Clear(); });
    check("DrawLine", [](MemoryImage& m) { m.DrawLine(1, 0, 1, 0, Color(9, 9, 9, 0x80), 0); });
    check("Blit", [&](MemoryImage& m) {
        m.Blit(&source, 2, 0, Rect(0, 0, 2, 2), Color::kWhite, kDrawModeNormal);
    });
    check("Additive", [&](MemoryImage& m) {
        m.ForceAlphaMode(false, false);
        m.FillRect(Rect(1, 0, 1, 1), Color(0, 0, 0, 0x80), 0);
        BuildCaches(m);
        m.Blit(&source, 0, 0, Rect(0, 0, 2, 2), Color::kWhite, kDrawModeAdditive);
    });
}

TEST(MemoryImageTest, NativeAlpha_PremultipliesPerFormatAndRebuildsAfterDropPixels)
{
    MemoryImage image;
    MakeRow(image, {0xFF112233, 0x80FF8040, 0x00FFFFFF});
    const uint32_t* native = image.GetNativeAlpha(NativeFormat{});
    EXPECT_EQ(native[0], 0xFF112233u);
    EXPECT_EQ(native[1], 0x80804020u); // c * 129 >> 8
    EXPECT_EQ(native[2], 0x00000000u);
    EXPECT_EQ(image.GetAdditiveRuns(NativeFormat{})[2], 1);

    // 5-6-5: bit counts and shifts come from the masks; the alpha byte stays.
    const NativeFormat rgb565{0xF800, 0x07E0, 0x001F};
    MemoryImage wide;
    MakeRow(wide, {0xFFFF8040});
    EXPECT_EQ(wide.GetNativeAlpha(rgb565)[0], 0xFF00FC08u);

    image.GetNativeAlpha(NativeFormat{});
    image.DropPixels();
    EXPECT_TRUE(image.purgeBits);
    EXPECT_FALSE(image.HasPixels());
    EXPECT_EQ(image.PixelAt(0, 0), 0xFF112233u);
    const uint32_t* rebuilt = image.GetPixels();
    EXPECT_EQ(rebuilt[0], 0xFF112233u);
    EXPECT_EQ(rebuilt[1], 0x80FE7F3Fu); // c * 256 / (a + 1)
    EXPECT_EQ(rebuilt[2], 0x00000000u);
    EXPECT_TRUE(GuardIntact(image));

    // Restore purges again; a copy of a purged image gets pixels and leaves the source purged.
    image.Restore();
    EXPECT_FALSE(image.HasPixels());
    MemoryImage copy(image);
    EXPECT_FALSE(image.HasPixels());
    ASSERT_TRUE(copy.HasPixels());
    EXPECT_EQ(copy.PixelAt(0, 0), 0xFF112233u);
}

TEST(MemoryImageTest, CommitPixels_FlagsFromAlphaUnlessForced)
{
    MemoryImage image;
    MakeRow(image, {0xFF000000, 0xFF123456});
    EXPECT_FALSE(image.hasTrans);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_FALSE(image.bitsChanged);

    MakeRow(image, {0xFF000000, 0x00123456});
    EXPECT_TRUE(image.hasTrans);
    EXPECT_FALSE(image.hasAlpha);

    image.SetPixels(std::vector<uint32_t>{0x7F000000}.data(), 1, 1, false);
    EXPECT_TRUE(image.bitsChanged);
    image.CommitPixels();
    EXPECT_FALSE(image.hasTrans);
    EXPECT_TRUE(image.hasAlpha);

    image.ForceAlphaMode(false, false);
    image.FillRect(Rect(0, 0, 1, 1), Color(0, 0, 0, 0x10), 0);
    image.CommitPixels();
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_TRUE(image.forcedMode);

    // Palettised: the palette's alphas decide.
    MemoryImage pal;
    MakeRow(pal, {0xFF000000, 0x40000000});
    ASSERT_TRUE(pal.MakePalettised());
    pal.hasAlpha = false;
    pal.bitsChanged = true;
    pal.CommitPixels();
    EXPECT_TRUE(pal.hasAlpha);
    EXPECT_TRUE(pal.hasTrans); // the unused entries are 0
}

TEST(MemoryImageTest, SetPixelsAndCreate_GuardWordAndSizeCeiling)
{
    MemoryImage image;
    const std::vector<uint32_t> pixels{1, 2, 3, 4, 5, 6};
    image.SetPixels(pixels.data(), 3, 2, false);
    EXPECT_EQ(image.mBits.size(), 7u);
    EXPECT_EQ(image.mBits[6], 0x4BEEFADEu);
    EXPECT_EQ(image.PixelAt(2, 1), 6u);
    EXPECT_EQ(image.PixelAt(3, 1), 0u);

    image.SetPixels(pixels.data(), MemoryImage::kMaxSide + 1, 1, true);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    image.SetPixels(pixels.data(), -1, 3, true);
    EXPECT_EQ(image.width, 0);

    image.Create(4, 2);
    EXPECT_EQ(image.width, 4);
    EXPECT_FALSE(image.HasPixels());
    EXPECT_TRUE(image.hasTrans);
    EXPECT_TRUE(image.hasAlpha);
    const uint32_t* zeros = image.GetPixels();
    EXPECT_EQ(zeros[7], 0u);
    EXPECT_TRUE(GuardIntact(image));
    image.Create(1, MemoryImage::kMaxSide + 1);
    EXPECT_EQ(image.height, 0);
}

class FakeRegistry : public ImageRegistry
{
public:
    void AddImage(MemoryImage* image) override { added.push_back(image); }
    void RemoveImage(MemoryImage* image) override { removed.push_back(image); }
    void DropImageTexture(MemoryImage* image) override { dropped.push_back(image); }
    std::vector<MemoryImage*> added;
    std::vector<MemoryImage*> removed;
    std::vector<MemoryImage*> dropped;
};

TEST(MemoryImageTest, Registry_SeesAddRemoveAndTextureDrop)
{
    FakeRegistry registry;
    auto before = std::make_unique<MemoryImage>();
    SetImageRegistry(&registry);
    {
        MemoryImage image;
        MakeFilled(image, 2, 2, 0xFF000000);
        MemoryImage copy(image);
        ASSERT_EQ(registry.added.size(), 2u);
        EXPECT_EQ(registry.added[0], &image);
        EXPECT_EQ(registry.added[1], &copy);
        EXPECT_EQ(copy.PixelAt(1, 1), 0xFF000000u);
        copy.DropAllCaches();
        EXPECT_EQ(registry.dropped, std::vector<MemoryImage*>{&copy});
    }
    EXPECT_EQ(registry.removed.size(), 2u);
    SetImageRegistry(nullptr);
    before.reset();
    EXPECT_EQ(registry.removed.size(), 2u);
}

} // namespace
} // namespace Zorva
