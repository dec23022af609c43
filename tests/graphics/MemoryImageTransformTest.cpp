#include "graphics/MemoryImage.h"

#include "graphics/PolygonFill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace Zorva {
namespace {

void MakeFilled(MemoryImage& image, int w, int h, uint32_t argb)
{
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h, argb);
    image.SetPixels(pixels.data(), w, h, true);
}

void MakeFrom(MemoryImage& image, int w, int h, const std::vector<uint32_t>& pixels)
{
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(w) * h);
    image.SetPixels(pixels.data(), w, h, true);
}

bool GuardIntact(const MemoryImage& image)
{
    return image.mBits.size() == static_cast<std::size_t>(image.width) * image.height + 1 &&
           image.mBits.back() == MemoryImage::kGuardWord;
}

uint32_t Channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

/// True when every channel of a is within tolerance of b.
bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(static_cast<int>(Channel(a, shift)) - static_cast<int>(Channel(b, shift))) >
            tolerance) {
            return false;
        }
    }
    return true;
}

/// Pixels of the destination that differ from its background colour.
int CountChanged(MemoryImage& image, uint32_t background)
{
    int changed = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            changed += image.PixelAt(x, y) != background;
        }
    }
    return changed;
}

/// A 5 x 4 source of varied colours and alphas, transparent corners included.
std::vector<uint32_t> PatternPixels()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const uint32_t alpha = (x + y) % 3 == 0 ? 255u : (x * 50 + y * 20) & 0xFF;
            pixels.push_back(alpha << 24 | static_cast<uint32_t>(x * 60) << 16 |
                             static_cast<uint32_t>(y * 80) << 8 | 0x40);
        }
    }
    pixels[0] = 0;
    return pixels;
}

TEST(MemoryImageTransformTest, BlitFloat_AtAngleZeroEqualsBlitRotatedPixelForPixel)
{
    MemoryImage source;
    MakeFrom(source, 5, 4, PatternPixels());
    const Rect clip(0, 0, 12, 10);
    for (const float offset : {0.0f, 0.25f, 0.5f, 0.8f}) {
        for (const uint32_t background : {0xFF203040u, 0x80102030u, 0x00000000u}) {
            for (const int mode : {kDrawModeNormal, kDrawModeAdditive}) {
                MemoryImage viaFloat;
                MemoryImage viaRotated;
                MemoryImage viaCentred;
                MakeFilled(viaFloat, 12, 10, background);
                MakeFilled(viaRotated, 12, 10, background);
                MakeFilled(viaCentred, 12, 10, background);
                const Rect sourceRect(0, 0, 5, 4);
                const Color tint(200, 255, 100, 180);
                viaFloat.BlitFloat(&source, 3 + offset, 2 + offset, sourceRect, clip, tint, mode);
                viaRotated.BlitRotated(&source, 3 + offset, 2 + offset, sourceRect, clip, tint,
                                       mode, 0.0, 0.0f, 0.0f);
                // At angle 0 the centre cannot move anything.
                viaCentred.BlitRotated(&source, 3 + offset, 2 + offset, sourceRect, clip, tint,
                                       mode, 0.0, 2.5f, 1.5f);
                EXPECT_GT(CountChanged(viaFloat, background), 10);
                for (int y = 0; y < 10; ++y) {
                    for (int x = 0; x < 12; ++x) {
                        ASSERT_EQ(viaFloat.PixelAt(x, y), viaRotated.PixelAt(x, y))
                            << x << "," << y << " offset " << offset;
                        ASSERT_EQ(viaFloat.PixelAt(x, y), viaCentred.PixelAt(x, y))
                            << x << "," << y << " offset " << offset;
                    }
                }
                EXPECT_TRUE(GuardIntact(viaFloat));
            }
        }
    }
}

TEST(MemoryImageTransformTest, BlitFloat_IntegerPositionLandsOnItsPixelsOpaqueAndUnshifted)
{
    MemoryImage source;
    MakeFilled(source, 2, 2, 0xFFFF0000);
    MemoryImage dest;
    MakeFilled(dest, 6, 6, 0xFF0000FF);
    dest.BlitFloat(&source, 3, 2, Rect(0, 0, 2, 2), Rect(0, 0, 6, 6), Color::kWhite,
                   kDrawModeNormal);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 3 && x < 5 && y >= 2 && y < 4;
            if (inside) {
                // Interior rule: the weights sum to 254, opaque, red scaled by 254 / 256.
                EXPECT_EQ(dest.PixelAt(x, y), 0xFFFD0000u) << x << "," << y;
            } else {
                EXPECT_EQ(dest.PixelAt(x, y), 0xFF0000FFu) << x << "," << y;
            }
        }
    }
}

TEST(MemoryImageTransformTest, BlitRotated_QuarterTurnMovesEachPixelWhereExpected)
{
    // 3 x 2 of distinct opaque colours; a quarter turn counter-clockwise about the top-left
    // sends offset (X, Y) to (Y, -X): source pixel (px, py) lands on (x + py, y - px - 1).
    const std::vector<uint32_t> colors = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                          0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    MemoryImage source;
    MakeFrom(source, 3, 2, colors);
    MemoryImage dest;
    MakeFilled(dest, 8, 8, 0xFF000000);
    dest.BlitRotated(&source, 2, 5, Rect(0, 0, 3, 2), Rect(0, 0, 8, 8), Color::kWhite,
                     kDrawModeNormal, std::numbers::pi / 2, 0, 0);
    for (int py = 0; py < 2; ++py) {
        for (int px = 0; px < 3; ++px) {
            EXPECT_TRUE(Near(dest.PixelAt(2 + py, 5 - px - 1), colors[py * 3 + px], 3))
                << px << "," << py << " got " << std::hex << dest.PixelAt(2 + py, 5 - px - 1);
        }
    }
    EXPECT_EQ(CountChanged(dest, 0xFF000000), 6);

    // Half a turn about the rect's centre flips it in place.
    MemoryImage flipped;
    MakeFilled(flipped, 8, 8, 0xFF000000);
    flipped.BlitRotated(&source, 2, 2, Rect(0, 0, 3, 2), Rect(0, 0, 8, 8), Color::kWhite,
                        kDrawModeNormal, std::numbers::pi, 1.5f, 1.0f);
    EXPECT_TRUE(Near(flipped.PixelAt(4, 3), colors[0], 3));
    EXPECT_TRUE(Near(flipped.PixelAt(2, 2), colors[5], 3));
    EXPECT_EQ(CountChanged(flipped, 0xFF000000), 6);
}

TEST(MemoryImageTransformTest, BlitRotated_ClipRectBoundsTheDrawingAndKeepsTheRest)
{
    MemoryImage source;
    MakeFrom(source, 5, 4, PatternPixels());
    MemoryImage full;
    MemoryImage clipped;
    MakeFilled(full, 16, 16, 0xFF102030);
    MakeFilled(clipped, 16, 16, 0xFF102030);
    const Rect clip(6, 5, 4, 3);
    full.BlitRotated(&source, 5.3f, 4.6f, Rect(0, 0, 5, 4), Rect(0, 0, 16, 16), Color::kWhite,
                     kDrawModeNormal, 0.7, 2.5f, 2.0f);
    clipped.BlitRotated(&source, 5.3f, 4.6f, Rect(0, 0, 5, 4), clip, Color::kWhite, kDrawModeNormal,
                        0.7, 2.5f, 2.0f);
    EXPECT_GT(CountChanged(clipped, 0xFF102030), 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint32_t expected = clip.Contains(x, y) ? full.PixelAt(x, y) : 0xFF102030u;
            ASSERT_EQ(clipped.PixelAt(x, y), expected) << x << "," << y;
        }
    }

    // Placed far across every edge and with a source rect beyond the image: nothing breaks.
    full.BlitRotated(&source, -3.5f, 13.2f, Rect(-2, -2, 20, 20), Rect(-10, -10, 40, 40),
                     Color::kWhite, kDrawModeAdditive, 2.0, 1, 1);
    full.BlitRotated(&source, 1e12f, -1e12f, Rect(0, 0, 5, 4), Rect(0, 0, 16, 16), Color::kWhite,
                     kDrawModeNormal, 1.0, 0, 0);
    EXPECT_TRUE(GuardIntact(full));
}

TEST(MemoryImageTransformTest, FastStretch_DoublesA2x2WithSamplesClampedToTheRect)
{
    const uint32_t a = 0xFFFF0000;
    const uint32_t b = 0xFF00FF00;
    const uint32_t c = 0xFF0000FF;
    const uint32_t d = 0xFFFFFFFF;
    MemoryImage source;
    MakeFrom(source, 2, 2, {a, b, c, d});
    MemoryImage dest;
    MakeFilled(dest, 6, 6, 0xFF000000);
    dest.BlitStretched(&source, Rect(1, 1, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 6, 6), Color::kWhite,
                       kDrawModeNormal, true);
    // Columns sample x0 + (j + 1) * rx (0, 1, 1, then 2 clamped to 1); rows y0 + i * ry.
    const uint32_t expected[4][4] = {{a, b, b, b}, {a, b, b, b}, {c, d, d, d}, {c, d, d, d}};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(dest.PixelAt(1 + j, 1 + i), expected[i][j]) << j << "," << i;
        }
    }
    EXPECT_EQ(CountChanged(dest, 0xFF000000), 16);
    EXPECT_TRUE(GuardIntact(dest));

    // A half-transparent sample blends as an alpha FillRect does; transparent ones are skipped.
    MemoryImage translucent;
    MakeFrom(translucent, 2, 1, {0x80FF0000, 0x00FFFFFF});
    MemoryImage blended;
    MakeFilled(blended, 4, 1, 0xFF0000FF);
    blended.BlitStretched(&translucent, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1),
                          Color::kWhite, kDrawModeNormal, true);
    EXPECT_EQ(blended.PixelAt(0, 0), 0xFF7F007Fu);
    EXPECT_EQ(blended.PixelAt(1, 0), 0xFF0000FFu);

    // A colour other than white draws nothing in the fast path.
    MemoryImage untouched;
    MakeFilled(untouched, 6, 6, 0xFF000000);
    untouched.BlitStretched(&source, Rect(1, 1, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 6, 6),
                            Color(255, 0, 0, 255), kDrawModeNormal, true);
    EXPECT_EQ(CountChanged(untouched, 0xFF000000), 0);
}

TEST(MemoryImageTransformTest, FastStretch_ClipKeepsTheUnclippedPixelsAndMirrorReverses)
{
    std::vector<uint32_t> pixels;
    for (int i = 0; i < 35; ++i) {
        pixels.push_back(0xFF000000u | static_cast<uint32_t>(i * 7) << 16 |
                         static_cast<uint32_t>(i * 3));
    }
    MemoryImage source;
    MakeFrom(source, 7, 5, pixels);
    MemoryImage full;
    MemoryImage clipped;
    MakeFilled(full, 20, 20, 0xFF000000);
    MakeFilled(clipped, 20, 20, 0xFF000000);
    const Rect destRect(2, 3, 14, 15);
    const Rect clip(5, 6, 6, 5);
    full.BlitStretched(&source, destRect, Rect(0, 0, 7, 5), Rect(0, 0, 20, 20), Color::kWhite,
                       kDrawModeNormal, true);
    clipped.BlitStretched(&source, destRect, Rect(0, 0, 7, 5), clip, Color::kWhite, kDrawModeNormal,
                          true);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const uint32_t expected = clip.Contains(x, y) ? full.PixelAt(x, y) : 0xFF000000u;
            ASSERT_EQ(clipped.PixelAt(x, y), expected) << x << "," << y;
        }
    }

    // Mirrored, each stretch is the plain one read from the source's right edge.
    for (const bool fast : {true, false}) {
        MemoryImage plain;
        MemoryImage mirrored;
        MakeFilled(plain, 20, 20, 0xFF000000);
        MakeFilled(mirrored, 20, 20, 0xFF000000);
        plain.BlitStretched(&source, destRect, Rect(0, 0, 7, 5), Rect(0, 0, 20, 20), Color::kWhite,
                            kDrawModeNormal, fast);
        mirrored.BlitStretchedMirrored(&source, destRect, Rect(0, 0, 7, 5), Rect(0, 0, 20, 20),
                                       Color::kWhite, kDrawModeNormal, fast);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const int mirrorX =
                    destRect.Contains(x, y) ? 2 * destRect.x + destRect.width - 1 - x : x;
                ASSERT_EQ(mirrored.PixelAt(x, y), plain.PixelAt(mirrorX, y)) << x << "," << y;
            }
        }
    }
    MemoryImage flipped;
    MakeFilled(flipped, 9, 5, 0xFF000000);
    flipped.BlitMirrored(&source, 1, 0, Rect(1, 0, 5, 5), Color::kWhite, kDrawModeNormal);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(flipped.PixelAt(1 + x, 3), source.PixelAt(5 - x, 3)) << x;
    }
    EXPECT_EQ(flipped.PixelAt(0, 3), 0xFF000000u);
    EXPECT_EQ(flipped.PixelAt(6, 3), 0xFF000000u);
}

TEST(MemoryImageTransformTest, FilteredStretch_UniformImagesKeepTheirColourAtAnyScale)
{
    const uint32_t color = 0xFF0AC81E;
    MemoryImage source;
    MakeFilled(source, 60, 40, color);
    for (const Rect destRect : {Rect(1, 2, 7, 5), Rect(0, 0, 23, 17), Rect(3, 1, 1, 1),
                                Rect(0, 0, 60, 40), Rect(2, 2, 90, 45)}) {
        MemoryImage dest;
        MakeFilled(dest, 100, 50, 0xFF000000);
        dest.BlitStretched(&source, destRect, Rect(0, 0, 60, 40), Rect(0, 0, 100, 50),
                           Color::kWhite, kDrawModeNormal, false);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 100; ++x) {
                const uint32_t expected = destRect.Contains(x, y) ? color : 0xFF000000u;
                ASSERT_EQ(dest.PixelAt(x, y), expected)
                    << x << "," << y << " into " << destRect.width << "x" << destRect.height;
            }
        }
        EXPECT_TRUE(GuardIntact(dest));
    }

    // Half alpha over an opaque destination: opaque result, halfway colour.
    MemoryImage translucent;
    MakeFilled(translucent, 30, 20, 0x80FF0000);
    MemoryImage dest;
    MakeFilled(dest, 10, 10, 0xFF0000FF);
    dest.BlitStretched(&translucent, Rect(0, 0, 10, 10), Rect(0, 0, 30, 20), Rect(0, 0, 10, 10),
                       Color::kWhite, kDrawModeNormal, false);
    EXPECT_EQ(dest.PixelAt(4, 4), 0xFF7F007Fu);

    // Onto a transparent destination the source comes out as it is.
    MemoryImage empty;
    MakeFilled(empty, 5, 5, 0x00000000);
    empty.BlitStretched(&translucent, Rect(0, 0, 5, 5), Rect(0, 0, 30, 20), Rect(0, 0, 5, 5),
                        Color::kWhite, kDrawModeNormal, false);
    EXPECT_EQ(empty.PixelAt(2, 3), 0x80FF0000u);
}

TEST(MemoryImageTransformTest, Stretch_SamplesStayInsideTheSourceRectAndImage)
{
    // A sheet of three 4 x 3 cells; stretching the middle cell may never show its neighbours.
    std::vector<uint32_t> sheet;
    const uint32_t cellColors[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 12; ++x) {
            sheet.push_back(cellColors[x / 4]);
        }
    }
    MemoryImage source;
    MakeFrom(source, 12, 3, sheet);
    const Rect cells[] = {Rect(4, 0, 4, 3), Rect(4, 0, 1, 3), Rect(7, 2, 1, 1)};
    const Rect targets[] = {Rect(0, 0, 1, 1),  Rect(0, 0, 1, 9), Rect(0, 0, 9, 1),
                            Rect(0, 0, 17, 7), Rect(0, 0, 3, 2), Rect(-5, -3, 25, 20)};
    for (const Rect& cell : cells) {
        for (const Rect& target : targets) {
            for (const bool fast : {true, false}) {
                for (const bool mirror : {false, true}) {
                    MemoryImage dest;
                    MakeFilled(dest, 20, 12, 0xFF000000);
                    if (mirror) {
                        dest.BlitStretchedMirrored(&source, target, cell, Rect(0, 0, 20, 12),
                                                   Color::kWhite, kDrawModeNormal, fast);
                    } else {
                        dest.BlitStretched(&source, target, cell, Rect(0, 0, 20, 12), Color::kWhite,
                                           kDrawModeNormal, fast);
                    }
                    const Rect visible = target.Intersection(Rect(0, 0, 20, 12));
                    for (int y = 0; y < 12; ++y) {
                        for (int x = 0; x < 20; ++x) {
                            const uint32_t expected =
                                visible.Contains(x, y) ? 0xFF00FF00u : 0xFF000000u;
                            ASSERT_EQ(dest.PixelAt(x, y), expected)
                                << x << "," << y << " fast " << fast << " target " << target.width
                                << "x" << target.height;
                        }
                    }
                    ASSERT_TRUE(GuardIntact(dest));
                }
            }
        }
    }

    // The whole image, both ways, and source rects reaching past the image.
    MemoryImage dest;
    MakeFilled(dest, 30, 30, 0xFF000000);
    for (const bool fast : {true, false}) {
        dest.BlitStretched(&source, Rect(0, 0, 30, 30), Rect(0, 0, 12, 3), Rect(0, 0, 30, 30),
                           Color::kWhite, kDrawModeNormal, fast);
        dest.BlitStretched(&source, Rect(0, 0, 5, 2), Rect(0, 0, 12, 3), Rect(0, 0, 30, 30),
                           Color::kWhite, kDrawModeNormal, fast);
        dest.BlitStretched(&source, Rect(3, 3, 20, 20), Rect(-4, -4, 40, 40), Rect(0, 0, 30, 30),
                           Color::kWhite, kDrawModeNormal, fast);
        dest.BlitStretched(&source, Rect(3, 3, 0, 20), Rect(0, 0, 12, 3), Rect(0, 0, 30, 30),
                           Color::kWhite, kDrawModeNormal, fast);
        dest.BlitStretched(&dest, Rect(0, 0, 30, 30), Rect(5, 5, 10, 10), Rect(0, 0, 30, 30),
                           Color::kWhite, kDrawModeNormal, fast);
    }
    EXPECT_TRUE(GuardIntact(dest));
}

/// A 4 x 4 texture of one colour, drawn as an identity quad centred at (6, 6).
TEST(MemoryImageTransformTest, BlitTransformed_QuadCoversEveryPixelOfItsRectExactlyOnce)
{
    MemoryImage texture;
    MakeFilled(texture, 4, 4, 0xFF0A0A0A);
    for (const bool blend : {false, true}) {
        MemoryImage dest;
        MakeFilled(dest, 12, 12, 0xFF000000);
        dest.BlitTransformed(&texture, 6, 6, Matrix3{}, Rect(0, 0, 12, 12), Color::kWhite,
                             kDrawModeAdditive, Rect(0, 0, 4, 4), blend);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool inside = x >= 4 && x < 8 && y >= 4 && y < 8;
                ASSERT_EQ(dest.PixelAt(x, y), inside ? 0xFF0A0A0Au : 0xFF000000u)
                    << x << "," << y << " blend " << blend;
            }
        }
    }

    // Texels map one to one onto pixels: a 4 x 4 gradient comes out unchanged.
    std::vector<uint32_t> gradient;
    for (int i = 0; i < 16; ++i) {
        gradient.push_back(0xFF000000u | static_cast<uint32_t>(i * 16) << 8);
    }
    MemoryImage textured;
    MakeFrom(textured, 4, 4, gradient);
    MemoryImage dest;
    MakeFilled(dest, 12, 12, 0xFF000000);
    dest.BlitTransformed(&textured, 6, 6, Matrix3{}, Rect(0, 0, 12, 12), Color::kWhite,
                         kDrawModeNormal, Rect(0, 0, 4, 4), true);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(dest.PixelAt(4 + x, 4 + y), gradient[static_cast<size_t>(y * 4 + x)])
                << x << "," << y;
        }
    }

    // The clip rect bounds the quad.
    MemoryImage clipped;
    MakeFilled(clipped, 12, 12, 0xFF000000);
    clipped.BlitTransformed(&texture, 6, 6, Matrix3{}, Rect(5, 0, 2, 6), Color::kWhite,
                            kDrawModeAdditive, Rect(0, 0, 4, 4), false);
    EXPECT_EQ(CountChanged(clipped, 0xFF000000), 4);
    EXPECT_EQ(clipped.PixelAt(5, 4), 0xFF0A0A0Au);
}

TEST(MemoryImageTransformTest, BlitTriangles_SharedEdgesNeverGapNorOverlap)
{
    MemoryImage texture;
    MakeFilled(texture, 2, 2, 0xFF0A0A0A);
    // A fan of triangles around an off-grid centre inside an irregular octagon.
    const float cx = 10.37f;
    const float cy = 9.81f;
    std::vector<Triangle> fan;
    const int sides = 8;
    for (int i = 0; i < sides; ++i) {
        const double a0 = 2 * std::numbers::pi * i / sides + 0.1;
        const double a1 = 2 * std::numbers::pi * (i + 1) / sides + 0.1;
        const float r0 = 6.0f + static_cast<float>(i % 3);
        const float r1 = 6.0f + static_cast<float>((i + 1) % 3);
        Triangle triangle;
        triangle[0] = TriVertex{cx, cy, 0.5f, 0.5f, 0};
        triangle[1] = TriVertex{cx + r0 * static_cast<float>(std::cos(a0)),
                                cy + r0 * static_cast<float>(std::sin(a0)), 0, 0, 0};
        triangle[2] = TriVertex{cx + r1 * static_cast<float>(std::cos(a1)),
                                cy + r1 * static_cast<float>(std::sin(a1)), 1, 1, 0};
        fan.push_back(triangle);
    }
    // Also a quad split along its diagonal with the shared edge through pixel centres.
    const Triangle quad[2] = {
        Triangle{TriVertex{22, 2, 0, 0, 0}, TriVertex{30, 2, 1, 0, 0}, TriVertex{30, 10, 1, 1, 0}},
        Triangle{TriVertex{22, 2, 0, 0, 0}, TriVertex{30, 10, 1, 1, 0},
                 TriVertex{22, 10, 0, 1, 0}}};
    for (const bool blend : {false, true}) {
        MemoryImage dest;
        MakeFilled(dest, 32, 20, 0xFF000000);
        dest.BlitTriangles(&texture, fan.data(), sides, Rect(0, 0, 32, 20), Color::kWhite,
                           kDrawModeAdditive, 0, 0, blend);
        dest.BlitTriangles(&texture, quad, 2, Rect(0, 0, 32, 20), Color::kWhite, kDrawModeAdditive,
                           0, 0, blend);
        int covered = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint32_t pixel = dest.PixelAt(x, y);
                ASSERT_TRUE(pixel == 0xFF000000u || pixel == 0xFF0A0A0Au)
                    << x << "," << y << " drawn more than once: " << std::hex << pixel;
                covered += pixel == 0xFF0A0A0Au;
            }
        }
        // The fan is solid around its centre, the quad covers its 8 x 8 pixel centres.
        EXPECT_EQ(dest.PixelAt(10, 10), 0xFF0A0A0Au);
        for (int y = 2; y < 10; ++y) {
            for (int x = 22; x < 30; ++x) {
                ASSERT_EQ(dest.PixelAt(x, y), 0xFF0A0A0Au) << x << "," << y;
            }
        }
        EXPECT_EQ(dest.PixelAt(30, 5), 0xFF000000u);
        EXPECT_EQ(dest.PixelAt(25, 10), 0xFF000000u);
        EXPECT_GT(covered, 64 + 100);
    }

    // The offset moves the triangles; degenerate and non-finite ones draw nothing.
    MemoryImage moved;
    MakeFilled(moved, 32, 20, 0xFF000000);
    moved.BlitTriangles(&texture, quad, 2, Rect(0, 0, 32, 20), Color::kWhite, kDrawModeAdditive,
                        -20, 5, false);
    EXPECT_EQ(moved.PixelAt(2, 7), 0xFF0A0A0Au);
    EXPECT_EQ(moved.PixelAt(22, 2), 0xFF000000u);
    const Triangle bad[2] = {
        Triangle{TriVertex{1, 1, 0, 0, 0}, TriVertex{5, 5, 0, 0, 0}, TriVertex{9, 9, 0, 0, 0}},
        Triangle{TriVertex{1, 1, 0, 0, 0}, TriVertex{NAN, 5, 0, 0, 0}, TriVertex{9, 1, 0, 0, 0}}};
    MemoryImage blank;
    MakeFilled(blank, 12, 12, 0xFF000000);
    blank.BlitTriangles(&texture, bad, 2, Rect(0, 0, 12, 12), Color::kWhite, kDrawModeNormal, 0, 0,
                        true);
    EXPECT_EQ(CountChanged(blank, 0xFF000000), 0);
}

TEST(MemoryImageTransformTest, BlitTriangles_VertexColoursModulateZeroColoursUseTheBlitColour)
{
    MemoryImage texture;
    MakeFilled(texture, 2, 2, 0xFFFFFFFF);
    const Triangle red{TriVertex{0, 0, 0, 0, 0xFFFF0000}, TriVertex{8, 0, 1, 0, 0xFFFF0000},
                       TriVertex{0, 8, 0, 1, 0xFFFF0000}};
    MemoryImage dest;
    MakeFilled(dest, 10, 10, 0xFF000000);
    dest.BlitTriangles(&texture, &red, 1, Rect(0, 0, 10, 10), Color(0, 0, 255, 255),
                       kDrawModeNormal, 0, 0, true);
    EXPECT_EQ(dest.PixelAt(1, 1), 0xFFFF0000u);

    // All-zero vertex colours fall back to the blit colour.
    const Triangle plain{TriVertex{0, 0, 0, 0, 0}, TriVertex{8, 0, 1, 0, 0},
                         TriVertex{0, 8, 0, 1, 0}};
    MemoryImage tinted;
    MakeFilled(tinted, 10, 10, 0xFF000000);
    tinted.BlitTriangles(&texture, &plain, 1, Rect(0, 0, 10, 10), Color(0, 0, 255, 255),
                         kDrawModeNormal, 0, 0, true);
    EXPECT_EQ(tinted.PixelAt(1, 1), 0xFF0000FFu);

    // Half colour alpha over an opaque blue destination blends halfway.
    MemoryImage half;
    MakeFilled(half, 10, 10, 0xFF0000FF);
    half.BlitTriangles(&texture, &plain, 1, Rect(0, 0, 10, 10), Color(255, 0, 0, 128),
                       kDrawModeNormal, 0, 0, false);
    EXPECT_TRUE(Near(half.PixelAt(2, 2), 0xFF80007F, 1)) << std::hex << half.PixelAt(2, 2);

    // Colours differing per vertex are interpolated: red, green and blue corners.
    const Triangle mixed{TriVertex{0, 0, 0, 0, 0xFFFF0000}, TriVertex{30, 0, 1, 0, 0xFF00FF00},
                         TriVertex{0, 30, 0, 1, 0xFF0000FF}};
    MemoryImage shaded;
    MakeFilled(shaded, 32, 32, 0xFF000000);
    shaded.BlitTriangles(&texture, &mixed, 1, Rect(0, 0, 32, 32), Color::kWhite, kDrawModeNormal, 0,
                         0, true);
    EXPECT_TRUE(Near(shaded.PixelAt(0, 0), 0xFFFF0000, 2)) << std::hex << shaded.PixelAt(0, 0);
    EXPECT_TRUE(Near(shaded.PixelAt(28, 1), 0xFF09EE09, 3)) << std::hex << shaded.PixelAt(28, 1);
    EXPECT_TRUE(Near(shaded.PixelAt(10, 10), 0xFF555555, 3)) << std::hex << shaded.PixelAt(10, 10);

    // A destination with alpha keeps coverage: half alpha onto transparent gives alpha ~128.
    MemoryImage clear;
    MakeFilled(clear, 10, 10, 0x00000000);
    clear.BlitTriangles(&texture, &plain, 1, Rect(0, 0, 10, 10), Color(255, 255, 255, 128),
                        kDrawModeNormal, 0, 0, true);
    EXPECT_TRUE(Near(clear.PixelAt(2, 2), 0x80FFFFFF, 1)) << std::hex << clear.PixelAt(2, 2);
}

TEST(MemoryImageTransformTest, FillPolygon_TriangleAndConcaveShapeFillPixelCentresOnce)
{
    // Right triangle: pixel centres strictly left of the hypotenuse x + y = 8 are inside.
    MemoryImage dest;
    MakeFilled(dest, 12, 12, 0xFF000000);
    const FPoint triangle[3] = {{0, 0}, {8, 0}, {0, 8}};
    FillPolygonSoftware(dest, triangle, 3, Rect(0, 0, 12, 12), Color(255, 0, 0, 128),
                        kDrawModeNormal, 2, 1);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const int px = x - 2;
            const int py = y - 1;
            const bool inside = px >= 0 && py >= 0 && px + py < 7;
            // Half alpha drawn once over black: (255 * 128) >> 8.
            ASSERT_EQ(dest.PixelAt(x, y), inside ? 0xFF7F0000u : 0xFF000000u) << x << "," << y;
        }
    }

    // A U shape: the notch stays empty, the arms are filled, and the clip cuts the bottom.
    MemoryImage u;
    MakeFilled(u, 12, 12, 0xFF000000);
    const FPoint shape[8] = {{1, 1}, {4, 1}, {4, 6}, {7, 6}, {7, 1}, {10, 1}, {10, 10}, {1, 10}};
    FillPolygonSoftware(u, shape, 8, Rect(0, 0, 12, 9), Color(0, 255, 0, 255), kDrawModeNormal, 0,
                        0);
    EXPECT_EQ(u.PixelAt(2, 2), 0xFF00FF00u);
    EXPECT_EQ(u.PixelAt(8, 2), 0xFF00FF00u);
    EXPECT_EQ(u.PixelAt(5, 3), 0xFF000000u);
    EXPECT_EQ(u.PixelAt(5, 6), 0xFF00FF00u);
    EXPECT_EQ(u.PixelAt(5, 9), 0xFF000000u);
    EXPECT_EQ(u.PixelAt(10, 5), 0xFF000000u);
    EXPECT_EQ(CountChanged(u, 0xFF000000), 9 * 8 - 3 * 5);

    // Even-odd: the centre of a pentagram is a hole.
    MemoryImage star;
    MakeFilled(star, 24, 24, 0xFF000000);
    FPoint points[5];
    for (int i = 0; i < 5; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        points[i] = FPoint{static_cast<float>(12 + 11 * std::cos(angle)),
                           static_cast<float>(12 + 11 * std::sin(angle))};
    }
    FillPolygonSoftware(star, points, 5, Rect(0, 0, 24, 24), Color(255, 255, 255, 255),
                        kDrawModeNormal, 0, 0);
    EXPECT_EQ(star.PixelAt(12, 12), 0xFF000000u);
    EXPECT_EQ(star.PixelAt(12, 3), 0xFFFFFFFFu);

    // Too few corners or non-finite ones draw nothing.
    MemoryImage none;
    MakeFilled(none, 4, 4, 0xFF000000);
    FillPolygonSoftware(none, triangle, 2, Rect(0, 0, 4, 4), Color::kWhite, kDrawModeNormal, 0, 0);
    const FPoint broken[3] = {{0, 0}, {INFINITY, 0}, {0, 3}};
    FillPolygonSoftware(none, broken, 3, Rect(0, 0, 4, 4), Color::kWhite, kDrawModeNormal, 0, 0);
    EXPECT_EQ(CountChanged(none, 0xFF000000), 0);
}

} // namespace
} // namespace Zorva
