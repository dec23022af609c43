// The arrow drawn into a frame where a demo had its pointer: clipped at the edges and taken
// out again, so the screen image never keeps it.

#include "app/CursorSprite.h"
#include "app/ZorvaAppBase.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Zorva;

namespace {

/// A 40 by 30 picture with a different colour in every pixel, so any stray write shows.
std::vector<uint32_t> Paint(MemoryImage& image)
{
    image.Create(40, 30);
    for (int i = 0; i < 40 * 30; ++i) {
        image.GetPixels()[i] = 0xFF000000u | static_cast<uint32_t>(i * 7919);
    }
    return std::vector<uint32_t>(image.GetPixels(), image.GetPixels() + 40 * 30);
}

class FrameCopyDisplay : public DisplayOutput
{
public:
    bool Present(MemoryImage& screen, const Rect&) override
    {
        frames.emplace_back(screen.GetPixels(), screen.GetPixels() + 40 * 30);
        return true;
    }
    int Initialize(bool, bool) override { return 0; }
    std::vector<std::vector<uint32_t>> frames;
};

class PlaybackApp : public ZorvaAppBase
{
public:
    std::optional<std::pair<int, int>> DemoPointerPosition() const override { return pointer; }
    std::optional<std::pair<int, int>> pointer;
};

} // namespace

TEST(CursorSpriteTest, DrawClipsAtEveryEdgeAndRestoreLeavesNoTrace)
{
    MemoryImage image;
    const std::vector<uint32_t> before = Paint(image);
    CursorSprite sprite;
    const int w = sprite.Pixels().width;
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{5, 4},
                                                               {38, 28},
                                                               {-4, -10},
                                                               {39, 0},
                                                               {4095, 4095},
                                                               {-4095, 17},
                                                               {INT32_MAX, INT32_MIN}}) {
        sprite.DrawAt(image, x, y);
        for (int py = 0; py < 30; ++py) {
            for (int px = 0; px < 40; ++px) {
                if (px < x || py < y || px >= x + w || py >= y + sprite.Pixels().height) {
                    ASSERT_EQ(image.PixelAt(px, py), before[py * 40 + px]) << x << "," << y;
                }
            }
        }
        sprite.Restore(image);
        ASSERT_EQ(std::vector<uint32_t>(image.GetPixels(), image.GetPixels() + 1200), before);
    }
    // The tip is the outline; a second draw moves the arrow instead of leaving a trail.
    sprite.DrawAt(image, 2, 2);
    sprite.DrawAt(image, 38, 28);
    EXPECT_EQ(image.PixelAt(2, 2), before[2 * 40 + 2]);
    EXPECT_EQ(image.PixelAt(38, 28), 0xFF000000u);
    EXPECT_EQ(image.PixelAt(38, 29), 0xFF000000u);
    sprite.Restore(image);
    sprite.Restore(image);
    EXPECT_EQ(std::vector<uint32_t>(image.GetPixels(), image.GetPixels() + 1200), before);
}

TEST(CursorSpriteTest, PresentFrameShowsTheRecordedPointerOnlyInTheFrame)
{
    PlaybackApp app;
    auto display = std::make_unique<FrameCopyDisplay>();
    const FrameCopyDisplay* shown = display.get();
    app.SetDisplayOutput(std::move(display));
    const std::vector<uint32_t> before = Paint(*app.GetScreenImage());

    app.PresentFrame(Rect(0, 0, 40, 30));
    app.pointer = std::make_pair(10, 12);
    app.PresentFrame(Rect(0, 0, 40, 30));
    ASSERT_EQ(shown->frames.size(), 2u);
    EXPECT_EQ(shown->frames[0], before);
    EXPECT_EQ(shown->frames[1][12 * 40 + 10], 0xFF000000u);
    EXPECT_EQ(shown->frames[1][15 * 40 + 11], 0xFFFFFFFFu);
    EXPECT_EQ(shown->frames[1][12 * 40 + 9], before[12 * 40 + 9]);
    EXPECT_EQ(std::vector<uint32_t>(app.GetScreenImage()->GetPixels(),
                                    app.GetScreenImage()->GetPixels() + 1200),
              before);
}
