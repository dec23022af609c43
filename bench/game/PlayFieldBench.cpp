#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "system/MTRand.h"

#include <benchmark/benchmark.h>

namespace {

/// A field of 150 lying stones in 5 layers (50, 40, 30, 20, 10), each layer a grid that
/// sits half a stone in from the one below, so most stones are covered.
void BuildField(BoardModel& board)
{
    PlayField& field = board.field;
    field.mode = GameMode::OneSide;
    field.pictureList = {0, 1, 2, 3, 4, 5, 6, 7};
    const int counts[] = {50, 40, 30, 20, 10};
    for (int layer = 0; layer < 5; ++layer) {
        StoneList& stones = field.layers.emplace_back();
        const int columns = 10 - layer;
        for (int i = 0; i < counts[layer]; ++i) {
            const int x = 60 + 40 * layer + 80 * (i % columns);
            const int y = 60 + 25 * layer + 50 * (i / columns);
            auto stone = std::make_unique<DominoFish>(&field, x, y, 3, layer, 0);
            stone->pictureA = field.RandomPicture();
            stone->pictureB = field.RandomPicture();
            stones.push_back(std::move(stone));
        }
    }
    field.stoneCount = field.StoneCountInLayers();
    board.line.Append(std::make_unique<DominoFish>(&field, 358, 565, 3, 0, 0));
    board.line.Append(std::make_unique<DominoFish>(&field, 440, 565, 3, 0, 0));
    board.deck.Deal(12);
}

void BM_FreeRule150Stones(benchmark::State& state)
{
    Zorva::Rand().SRand(1);
    HeadlessHost host;
    BoardModel board(host);
    BuildField(board);
    for (auto _ : state) {
        board.field.ApplyFreeRule();
        benchmark::DoNotOptimize(board.field.freeCount);
    }
}
BENCHMARK(BM_FreeRule150Stones)->Unit(benchmark::kMicrosecond);

void BM_BoardTick150Stones(benchmark::State& state)
{
    Zorva::Rand().SRand(1);
    HeadlessHost host;
    BoardModel board(host);
    BuildField(board);
    board.field.ApplyFreeRule();
    for (auto _ : state) {
        host.updateCount++;
        board.Tick();
    }
}
BENCHMARK(BM_BoardTick150Stones)->Unit(benchmark::kMicrosecond);

} // namespace
