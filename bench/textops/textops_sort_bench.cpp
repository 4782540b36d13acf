// In-memory sort of generated Shift-JIS lines: a whole text through
// SortedText (what tabulo-cli sort does) and a line range of std::string
// through sortLines (what the window command does), at 10 000, 100 000 and 1 000 000
// lines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "sort_bench_lines.h"
#include "textops/document_text.h"
#include "textops/line_sort.h"

namespace {

using namespace tabulo::textops;

void sortedText(benchmark::State& state) {
    const std::string text = tabulo::bench::makeSortLines(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const SortedText sorted(text, SortOrder::Ascending);
        benchmark::DoNotOptimize(sorted[0]);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sortLineStrings(benchmark::State& state) {
    const std::string text = tabulo::bench::makeSortLines(static_cast<std::size_t>(state.range(0)));
    const SplitText split = splitDocumentText(text);
    const std::vector<std::string> original(split.lines.begin(), split.lines.end());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> lines = original;
        state.ResumeTiming();
        sortLines(lines, {0, lines.size() - 1}, SortOrder::Ascending);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(sortedText)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(sortLineStrings)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
