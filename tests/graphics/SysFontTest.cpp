#include "graphics/SysFont.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using Zorva::Color;
using Zorva::Graphics;
using Zorva::MemoryImage;
using Zorva::SysFont;
using Zorva::SysFontStyle;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;

std::unique_ptr<MemoryImage> FilledImage(int width, int height, uint32_t argb)
{
    auto image = std::make_unique<MemoryImage>();
    const std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, argb);
    image->SetPixels(pixels.data(), width, height, false);
    return image;
}

uint32_t Pixel(MemoryImage& image, int x, int y)
{
    return image.GetPixels()[static_cast<size_t>(y) * image.GetWidth() + x];
}

bool GuardIntact(const MemoryImage& image)
{
    return image.mBits.size() == static_cast<size_t>(image.GetWidth()) * image.GetHeight() + 1 &&
           image.mBits.back() == MemoryImage::kGuardWord;
}

/// Rows [first, last] of the image that hold anything but `background`, or (-1, -1).
std::pair<int, int> InkRows(MemoryImage& image, uint32_t background)
{
    std::pair<int, int> rows{-1, -1};
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (Pixel(image, x, y) != background) {
                rows.first = rows.first < 0 ? y : rows.first;
                rows.second = y;
                break;
            }
        }
    }
    return rows;
}

} // namespace

TEST(SysFontTest, FaceMatching_UnknownAndLogicalNamesFallBackToDejaVuSans)
{
    for (const char* name : {"Tahoma", "SansSerif", "NoSuchFaceAnywhere"}) {
        SysFont font(name, 12);
        ASSERT_TRUE(font.IsLoaded()) << name;
        EXPECT_EQ(font.GetFamilyName(), "DejaVu Sans") << name;
        EXPECT_EQ(font.GetFaceName(), name);
    }
    SysFont serif("Serif", 12);
    EXPECT_EQ(serif.GetFamilyName(), "DejaVu Serif");
}

TEST(SysFontTest, Metrics_PixelSizeFromPointsAndGrowingWithSize)
{
    SysFont small("SansSerif", 10);
    SysFont medium("SansSerif", 12);
    SysFont large("SansSerif", 14);
    // Points at 96 dpi, rounded: 13.33, 16, 18.67.
    EXPECT_EQ(small.GetPixelSize(), 13);
    EXPECT_EQ(medium.GetPixelSize(), 16);
    EXPECT_EQ(large.GetPixelSize(), 19);
    for (SysFont* font : {&small, &medium, &large}) {
        EXPECT_GT(font->GetAscent(), 0);
        EXPECT_LT(font->GetAscent(), font->GetHeight());
        // DejaVu Sans spans 1.18 em; the rounding up of ascent and descent adds at most 2.
        EXPECT_GE(font->GetHeight(), font->GetPixelSize());
        EXPECT_LE(font->GetHeight(), font->GetPixelSize() * 118 / 100 + 2);
    }
    EXPECT_LT(small.GetHeight(), medium.GetHeight());
    EXPECT_LT(medium.GetHeight(), large.GetHeight());
    EXPECT_LT(small.GetAscent(), large.GetAscent());
    EXPECT_LT(small.TextWidth("Hello"), large.TextWidth("Hello"));
}

TEST(SysFontTest, Measuring_WidthIsSumOfCharWidthsAfterTheirPredecessors)
{
    SysFont font("SansSerif", 12);
    EXPECT_EQ(font.TextWidth(""), 0);
    const int hello = font.TextWidth("Hello");
    EXPECT_GT(hello, 0);
    int sum = 0;
    char previous = 0;
    for (const char c : std::string("Hello")) {
        sum += font.CharWidthAfter(c, previous);
        previous = c;
    }
    EXPECT_EQ(hello, sum);
    EXPECT_EQ(font.CharWidth('H'), font.CharWidthAfter('H', 0));
    EXPECT_GT(font.TextWidth("Hello, world"), hello);
    EXPECT_EQ(font.TextWidth("ll"), 2 * font.CharWidth('l'));
    // Latin-1 letters have glyphs of their own.
    EXPECT_GT(font.CharWidth(static_cast<char>(0xE9)), 0); // e acute
    // DejaVu Sans kerns "AV" closer than its two letters apart.
    EXPECT_LT(font.TextWidth("AV"), font.CharWidth('A') + font.CharWidth('V'));
    EXPECT_EQ(font.TextWidth("AV"), font.CharWidth('A') + font.CharWidthAfter('V', 'A'));

    SysFont bold("SansSerif", 12, SysFontStyle::Bold);
    EXPECT_GT(bold.TextWidth("Hello"), hello);
}

TEST(SysFontTest, Drawing_TextColourOnBaselineInsideClip)
{
    SysFont font("SansSerif", 12);
    auto image = FilledImage(100, 30, kWhite);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetColor(Color(255, 0, 0));
    g.DrawText("Hello", 5, 20);

    int red = 0;
    int mixed = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = Pixel(*image, x, y);
            if (p == kRed) {
                ++red;
            } else if (p != kWhite) {
                // Blends of red over white: opaque, full red, equal green and blue.
                EXPECT_EQ(p & 0xFFFF0000u, kRed) << x << "," << y;
                EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF) << x << "," << y;
                ++mixed;
            }
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_GT(mixed, 5);
    // Letters without descenders stand on row y; the ascenders stay within the ascent.
    const auto rows = InkRows(*image, kWhite);
    EXPECT_EQ(rows.second, 20);
    EXPECT_GE(rows.first, 20 - font.GetAscent() + 1);
    int redOnBaseline = 0;
    for (int x = 0; x < 100; ++x) {
        redOnBaseline += Pixel(*image, x, 20) == kRed ? 1 : 0;
    }
    EXPECT_GT(redOnBaseline, 1); // the stems of the H
    EXPECT_TRUE(GuardIntact(*image));

    // Only the clip changes; text reaching past the image edges does not overrun.
    auto clipped = FilledImage(100, 30, kWhite);
    Graphics c(clipped.get());
    c.SetFont(&font);
    c.SetColor(Color(255, 0, 0));
    c.SetClip(0, 0, 20, 30);
    c.DrawText("Hello", 5, 20);
    c.ResetClip();
    c.DrawText("Hello", 90, 35);
    c.DrawText("Hello", -25, 3);
    for (int y = 0; y < 30; ++y) {
        for (int x = 20; x < 80; ++x) {
            ASSERT_EQ(Pixel(*clipped, x, y), kWhite) << x << "," << y;
        }
        for (int x = 0; x < 20 && y > 5; ++x) {
            ASSERT_EQ(Pixel(*clipped, x, y), Pixel(*image, x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(GuardIntact(*clipped));
}

TEST(SysFontTest, Drawing_FollowsTranslationAndColourAlpha)
{
    SysFont font("SansSerif", 12);
    auto plain = FilledImage(60, 40, kWhite);
    auto moved = FilledImage(60, 40, kWhite);
    Graphics a(plain.get());
    a.SetFont(&font);
    a.DrawText("Hi", 2, 16);
    Graphics b(moved.get());
    b.SetFont(&font);
    b.Translate(7, 9);
    b.DrawText("Hi", 2, 16);
    for (int y = 0; y + 9 < 40; ++y) {
        for (int x = 0; x + 7 < 60; ++x) {
            ASSERT_EQ(Pixel(*plain, x, y), Pixel(*moved, x + 7, y + 9)) << x << "," << y;
        }
    }

    // Half-transparent red over white never reaches full red.
    auto half = FilledImage(60, 40, kWhite);
    Graphics h(half.get());
    h.SetFont(&font);
    h.SetColor(Color(255, 0, 0, 128));
    h.DrawText("Hi", 2, 16);
    int darkestGreen = 255;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            darkestGreen = std::min<int>(darkestGreen, (Pixel(*half, x, y) >> 8) & 0xFF);
        }
    }
    EXPECT_NEAR(darkestGreen, 127, 1);

    // Alpha 0 draws nothing.
    auto none = FilledImage(60, 40, kWhite);
    Graphics n(none.get());
    n.SetFont(&font);
    n.SetColor(Color(255, 0, 0, 0));
    n.DrawText("Hi", 2, 16);
    EXPECT_EQ(InkRows(*none, kWhite).first, -1);
}

TEST(SysFontTest, Drawing_IntoTransparentImageGivesPartlyTransparentTextColour)
{
    SysFont font("SansSerif", 12);
    auto image = FilledImage(100, 30, 0x00000000u);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetColor(Color(255, 0, 0));
    g.DrawText("Hello", 5, 20);
    int opaque = 0;
    int partial = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = Pixel(*image, x, y);
            if (p == 0) {
                continue;
            }
            // Over nothing, the colour is the text colour exactly; only coverage varies.
            ASSERT_EQ(p & 0xFFFFFFu, 0xFF0000u) << x << "," << y;
            (p >> 24 == 255 ? opaque : partial) += 1;
        }
    }
    EXPECT_GT(opaque, 10);
    EXPECT_GT(partial, 5);
}

TEST(SysFontTest, Underline_DrawsRowsBelowTheBaselineAcrossTheText)
{
    SysFont underlined("SansSerif", 12, SysFontStyle::Underline);
    auto image = FilledImage(80, 30, kWhite);
    Graphics g(image.get());
    g.SetFont(&underlined);
    g.SetColor(Color(0, 0, 255));
    g.DrawText("HH", 4, 15);
    const int width = underlined.TextWidth("HH");
    const auto rows = InkRows(*image, kWhite);
    ASSERT_GT(rows.second, 15);
    EXPECT_LE(rows.second, 15 + underlined.GetDescent());
    EXPECT_EQ(Pixel(*image, 4, rows.second), 0xFF0000FFu);
    EXPECT_EQ(Pixel(*image, 4 + width - 1, rows.second), 0xFF0000FFu);
    EXPECT_EQ(Pixel(*image, 4 + width, rows.second), kWhite);
    EXPECT_EQ(Pixel(*image, 3, rows.second), kWhite);
}

TEST(SysFontTest, Duplicate_MeasuresAndDrawsTheSame)
{
    SysFont font("Tahoma", 14, SysFontStyle::Bold);
    const std::unique_ptr<Zorva::Font> copy = font.Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetAscent(), font.GetAscent());
    EXPECT_EQ(copy->GetHeight(), font.GetHeight());
    EXPECT_EQ(copy->TextWidth("Quarrow puzzles"), font.TextWidth("Quarrow puzzles"));

    auto first = FilledImage(120, 30, kWhite);
    auto second = FilledImage(120, 30, kWhite);
    Graphics a(first.get());
    a.SetFont(&font);
    a.DrawText("Quarrow", 3, 20);
    Graphics b(second.get());
    b.SetFont(copy.get());
    b.DrawText("Quarrow", 3, 20);
    EXPECT_EQ(first->mBits, second->mBits);
}

TEST(SysFontTest, Unloaded_MissingOrBrokenFileAndAbsurdSizesMeasureZeroAndDrawNothing)
{
    const std::filesystem::path broken =
        std::filesystem::temp_directory_path() / "zorva_sysfont_broken.ttf";
    {
        std::ofstream out(broken, std::ios::binary);
        // The TrueType version tag followed by nonsense.
        const char bytes[] = "\0\1\0\0 definitely not a font";
        out.write(bytes, sizeof bytes - 1);
    }
    std::vector<std::unique_ptr<SysFont>> fonts;
    fonts.push_back(SysFont::FromFile("/nonexistent/zorva/font.ttf", 12));
    fonts.push_back(SysFont::FromFile(broken.string(), 12));
    fonts.push_back(std::make_unique<SysFont>("SansSerif", 0));
    fonts.push_back(std::make_unique<SysFont>("SansSerif", -12));
    fonts.push_back(std::make_unique<SysFont>("SansSerif", 100000));
    for (const auto& font : fonts) {
        EXPECT_FALSE(font->IsLoaded());
        EXPECT_EQ(font->GetHeight(), 0);
        EXPECT_EQ(font->GetAscent(), 0);
        EXPECT_EQ(font->TextWidth("Hello"), 0);
        EXPECT_EQ(font->CharWidthAfter('e', 'H'), 0);
        auto image = FilledImage(40, 20, kWhite);
        Graphics g(image.get());
        g.SetFont(font.get());
        g.DrawText("Hello", 2, 15);
        EXPECT_EQ(InkRows(*image, kWhite).first, -1);
        EXPECT_FALSE(static_cast<SysFont&>(*font->Duplicate()).IsLoaded());
    }
    std::filesystem::remove(broken);

    // A font file named directly loads as well.
    const auto direct = SysFont::FromFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12);
    ASSERT_TRUE(direct->IsLoaded());
    EXPECT_EQ(direct->TextWidth("Hello"), SysFont("SansSerif", 12).TextWidth("Hello"));
}

TEST(SysFontTest, Drawing_NonMemoryDestinationsAndEmptyClipsAreLeftAlone)
{
    SysFont font("SansSerif", 12);
    Graphics noImage(nullptr);
    noImage.SetFont(&font);
    noImage.DrawText("Hello", 0, 10); // the shared empty image: nothing happens

    auto image = FilledImage(40, 20, kWhite);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetClip(5, 5, 0, 10);
    g.DrawText("Hello", 2, 15);
    EXPECT_EQ(InkRows(*image, kWhite).first, -1);
}

TEST(SysFontTest, Threads_FontsMadeAndUsedOnSeveralThreadsAgree)
{
    const int expected = SysFont("SansSerif", 12).TextWidth("Concurrent text");
    std::vector<int> widths(4, -1);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < widths.size(); ++i) {
        threads.emplace_back([&widths, i] {
            for (int round = 0; round < 5; ++round) {
                SysFont font("SansSerif", 12);
                auto image = FilledImage(120, 20, kWhite);
                Graphics g(image.get());
                g.SetFont(&font);
                g.DrawText("Concurrent text", 0, 15);
                widths[i] = font.TextWidth("Concurrent text");
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const int width : widths) {
        EXPECT_EQ(width, expected);
    }
}
