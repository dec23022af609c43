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

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

/// The game's art, loaded once through the manifest, with every image handle bound.
struct Art
{
    Art()
    {
        std::filesystem::current_path(QUARROW_BENCH_DATA_DIR);
        loaded = manager.ParseManifest("properties/resources.xml");
        manager.LoadResources("Init");
        manager.LoadResources("Game");
#define QUARROW_BIND_IMAGE(name)                                                                   \
    if (auto image = manager.GetImage(#name)) {                                                    \
        name = image.get();                                                                        \
    }
        QUARROW_GAME_IMAGES(QUARROW_BIND_IMAGE)
#undef QUARROW_BIND_IMAGE
        FONT_DEFAULT = manager.GetFont("FONT_DEFAULT");
        if (auto file = Zorva::ImageLib::LoadImageFile("images/bg_reef.png", false)) {
            background.SetPixels(file->bits.get(), file->width, file->height, true);
        }
        loaded = loaded && IMAGE_FISH_L != nullptr;
    }

    Zorva::ZorvaAppBase app{std::make_unique<Zorva::FakeClock>()};
    Zorva::ResourceManager manager{&app};
    Zorva::MemoryImage background;
    bool loaded = false;
};

Art& TheArt()
{
    static Art art;
    return art;
}

/// A Two-Side screen in full play: 140 stones in 5 layers, a line of three, a dealt deck, two
/// piles of three, a half-full combo meter and three labels.
void BuildScreen(Board& board)
{
    PlayField& field = board.model.field;
    field.mode = GameMode::TwoSide;
    field.pictureList = {0, 1, 2, 3, 4, 5, 6, 7};
    const int counts[] = {45, 36, 28, 20, 11};
    for (int layer = 0; layer < 5; ++layer) {
        StoneList& stones = field.layers.emplace_back();
        const int columns = 9 - layer;
        for (int i = 0; i < counts[layer]; ++i) {
            const int x = 80 + 40 * layer + 80 * (i % columns);
            const int y = 90 + 25 * layer + 50 * (i / columns);
            auto stone = std::make_unique<DominoFish>(&field, x, y, 3, layer, 0);
            stone->pictureA = field.RandomPicture();
            stone->pictureB = field.RandomPicture();
            stones.push_back(std::move(stone));
        }
    }
    field.stoneCount = field.StoneCountInLayers();
    field.ApplyFreeRule();
    for (StoneList& layer : field.layers) {
        for (auto& stone : layer) {
            stone->flipActive = false;
        }
    }
    for (int x : {358, 400, 440}) {
        auto stone = std::make_unique<DominoFish>(&field, x, 565, 3, 0, 0);
        stone->faceUp = true;
        board.model.line.Append(std::move(stone));
    }
    board.model.deck.Deal(12);
    for (int pile = 0; pile < 2; ++pile) {
        StoneList& stones = board.model.deck.piles.emplace_back();
        for (int place = 0; place < 3; ++place) {
            const auto [px, py] = StoneDeck::PilePlace(pile, place);
            auto stone = std::make_unique<DominoFish>(&field, px, py, 3, 0, 0);
            stone->faceUp = true;
            stones.push_back(std::move(stone));
        }
    }
    board.model.comboMeter.level = 50;
    for (int i = 0; i < 3; ++i) {
        field.floatingLabels.push_back(
            std::make_unique<FloatingLabel>(IMAGE_x2, 700.0f, 300.0f + 50 * i, 0.0f, 0.0f));
    }
}

void BM_GameScreenFrame(benchmark::State& state)
{
    Art& art = TheArt();
    if (!art.loaded) {
        state.SkipWithError("game data not found");
        return;
    }
    Zorva::Rand().SRand(1);
    HeadlessHost host;
    Board board(host);
    BuildScreen(board);
    board.SetLevelBackground(&art.background);
    Zorva::MemoryImage screen;
    screen.Create(800, 600);
    Zorva::Graphics graphics(&screen);
    for (auto _ : state) {
        board.PaintBackground(graphics);
        board.Paint(graphics);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GameScreenFrame)->Unit(benchmark::kMicrosecond);

void BM_ScreenMemcpy(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0xFF336699u);
    std::vector<uint32_t> to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScreenMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace
