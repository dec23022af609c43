#include "resources/Buffer.h"

#include <benchmark/benchmark.h>

namespace {

/// Writes and reads back records shaped like a players file: a name and a few numbers.
void BM_PlayerRecords(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Zorva::Buffer buffer;
        for (int i = 0; i < records; ++i) {
            buffer.PutString("Player name");
            buffer.PutInt32(i);
            buffer.PutInt32(i * 1000);
            buffer.PutBool(true);
        }
        int64_t sum = 0;
        while (!buffer.AtEnd()) {
            sum += static_cast<int64_t>(buffer.GetString().size()) + buffer.GetInt32() +
                   buffer.GetInt32() + buffer.GetBool();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlayerRecords)->Arg(100);

/// Packs and unpacks small bit fields, as demo event data does.
void BM_BitFields(benchmark::State& state)
{
    for (auto _ : state) {
        Zorva::Buffer buffer;
        for (int i = 0; i < 4096; ++i) {
            buffer.PutBits(static_cast<uint32_t>(i), 5);
        }
        int64_t sum = 0;
        for (int i = 0; i < 4096; ++i) {
            sum += buffer.GetBits(5, true);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BitFields);

} // namespace
