#include "resources/XMLParser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

/// A manifest-like document of `count` image entries in one group.
std::string MakeManifest(int count)
{
    std::string text = "<?xml version=\"1.0\"?>\n<ResourceManifest>\n  <Resources id=\"Game\">\n"
                       "    <SetDefaults path=\"images/\" idprefix=\"IMAGE_\"/>\n";
    for (int i = 0; i < count; ++i) {
        text += "    <Image id=\"STONE_" + std::to_string(i) + "\" path=\"stone" +
                std::to_string(i) + ".png\" rows=\"1\" cols=\"13\" anim=\"loop\"/>\n";
    }
    return text + "  </Resources>\n</ResourceManifest>\n";
}

void BM_ParseManifest(benchmark::State& state)
{
    const std::string text = MakeManifest(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Zorva::XMLParser parser;
        parser.OpenBuffer(text);
        Zorva::XMLNode node;
        int nodes = 0;
        while (parser.NextNode(node)) {
            ++nodes;
        }
        benchmark::DoNotOptimize(nodes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseManifest)->Arg(200);

} // namespace
