// Warm F11 conversions against KEN_ALL.CSV: the file has been read once (the
// converter's own warm-up pass), then each iteration converts one line.
// Usage: search_postal_bench KEN_ALL.CSV [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "search/engine/postal_conversion.h"

namespace {

std::string g_postalFile;

void convertLine(benchmark::State& state, const std::string& line, tabulo::search::PostalStatus expected) {
    tabulo::search::PostalConverter converter;
    std::string warm = line;
    converter.convert(warm, g_postalFile);
    for (auto _ : state) {
        std::string text = line;
        if (converter.convert(text, g_postalFile) != expected) {
            state.SkipWithError("unexpected result");
            break;
        }
        benchmark::DoNotOptimize(text);
    }
}

void BM_Code(benchmark::State& state) {
    convertLine(state, "150-0002 123-456", tabulo::search::PostalStatus::Converted);
}

// 埼玉県　川口市　大字安行西
void BM_Address(benchmark::State& state) {
    convertLine(state, "\x8d\xe9\x8b\xca\x8c\xa7\x81\x40\x90\xec\x8c\xfb\x8e\x73\x81\x40\x91\xe5\x8e\x9a\x88\xc0\x8d\x73\x90\xbc",
                tabulo::search::PostalStatus::Converted);
}

BENCHMARK(BM_Code)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Address)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_postal_bench KEN_ALL.CSV [benchmark options]\n");
        return 2;
    }
    g_postalFile = argv[1];
    argv[1] = argv[0];
    ++argv;
    --argc;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
