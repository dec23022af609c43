#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/Board.h"
#include "game/HeadlessHost.h"
#include "game/ResourceHandles.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "system/MTRand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

/// The game's own art and manifest, a One-Side level 1 dealt with a fixed seed, and the whole
/// game screen (background cache and board) drawn once everything has come to rest.
class BoardGoldenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(QUARROW_BUILT_DATA_DIR);
        ResetResourceHandles();
    }

    void TearDown() override
    {
        ResetResourceHandles();
        std::filesystem::current_path(previous);
    }

    /// Binds every image handle the manager has; the font from the "Init" group.
    void BindImages()
    {
#define QUARROW_BIND_IMAGE(name)                                                                   \
    if (auto image = manager.GetImage(#name)) {                                                    \
        name = image.get();                                                                        \
    }
        QUARROW_TITLE_SCREEN_IMAGES(QUARROW_BIND_IMAGE)
        QUARROW_GAME_IMAGES(QUARROW_BIND_IMAGE)
#undef QUARROW_BIND_IMAGE
        FONT_DEFAULT = manager.GetFont("FONT_DEFAULT");
    }

    std::filesystem::path previous;
    Zorva::ZorvaAppBase app{std::make_unique<Zorva::FakeClock>()};
    Zorva::ResourceManager manager{&app};
};

uint32_t Channel(uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFFu;
}

TEST_F(BoardGoldenTest, OneSideLevelOneAtRest_MatchesTheGoldenImage)
{
    ASSERT_TRUE(manager.ParseManifest("properties/resources.xml")) << manager.GetErrorText();
    manager.LoadResources("Init");
    manager.LoadResources("Game");
    BindImages();
    ASSERT_NE(IMAGE_FISH_L, nullptr);
    ASSERT_NE(IMAGE_PANEL, nullptr);

    HeadlessHost host;
    host.player.name = "Golden";
    auto board = std::make_unique<Board>(host);
    host.onUpdate = [&board] { board->Tick(); };
    board->model.dataPrefix = QUARROW_BUILT_DATA_DIR;
    board->model.field.mode = GameMode::OneSide;
    Zorva::Rand().SRand(20261210);
    ASSERT_TRUE(board->model.StartLevel(board->model.LevelPath(GameMode::OneSide, 1), 1));

    const auto atRest = [&board] {
        if (!board->model.field.BoardAtRest()) {
            return false;
        }
        for (const StoneList& layer : board->model.field.layers) {
            for (const auto& stone : layer) {
                if (stone->IsMoving() || stone->flipActive || !stone->visible) {
                    return false;
                }
            }
        }
        return true;
    };
    for (int tick = 0; tick < 1000 && !atRest(); ++tick) {
        host.Step();
    }
    ASSERT_TRUE(atRest());

    ASSERT_FALSE(host.background.empty());
    std::unique_ptr<Zorva::ImageLib::Image> loaded =
        Zorva::ImageLib::LoadImageFile(host.background, false);
    ASSERT_NE(loaded, nullptr) << host.background;
    Zorva::MemoryImage background;
    background.SetPixels(loaded->bits.get(), loaded->width, loaded->height, true);
    board->SetLevelBackground(&background);

    Zorva::MemoryImage screen;
    screen.Create(800, 600);
    Zorva::Graphics graphics(&screen);
    board->PaintBackground(graphics);
    board->Paint(graphics);

    const std::string golden = std::string(QUARROW_GOLDEN_DIR) + "/board-oneside-level1.png";
    const char* update = std::getenv("QUARROW_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        auto out = Zorva::ImageLib::Image::Create(800, 600);
        for (int py = 0; py < 600; ++py) {
            for (int px = 0; px < 800; ++px) {
                out->bits[static_cast<std::size_t>(py * 800 + px)] = screen.PixelAt(px, py);
            }
        }
        ASSERT_TRUE(Zorva::ImageLib::SavePNG(golden, *out));
        GTEST_SKIP() << "golden image written to " << golden;
    }

    std::unique_ptr<Zorva::ImageLib::Image> expected = Zorva::ImageLib::ReadPNGImage(golden);
    ASSERT_NE(expected, nullptr) << golden;
    ASSERT_EQ(expected->width, 800);
    ASSERT_EQ(expected->height, 600);
    // Text is drawn by the system font, whose smoothing may differ a little between builds.
    constexpr uint32_t kTolerance = 24;
    int differing = 0;
    for (int py = 0; py < 600; ++py) {
        for (int px = 0; px < 800; ++px) {
            const uint32_t want = expected->bits[static_cast<std::size_t>(py * 800 + px)];
            const uint32_t got = screen.PixelAt(px, py);
            for (int shift : {0, 8, 16, 24}) {
                const uint32_t a = Channel(want, shift);
                const uint32_t b = Channel(got, shift);
                if ((a > b ? a - b : b - a) > kTolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    EXPECT_LE(differing, 200) << "pixels differ from " << golden;
}

} // namespace
