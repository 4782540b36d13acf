// In-memory throughput of the kanji converters, detection, the per-line
// command path and the Base64 coder on 4 MB of generated text (bytes per
// second are input bytes).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_text.h"
#include "kanji/code_conversion.h"
#include "kanji/jconvert.h"

namespace {

using namespace tabulo::kanji;

const std::string& sjisText() {
    static const std::string text = bench::makeSjisText(4 << 20);
    return text;
}
const std::string& eucText() {
    static const std::string text = sjis2euc(sjisText());
    return text;
}
const std::string& jisText() {
    static const std::string text = sjis2jis83(sjisText());
    return text;
}
const std::string& base64Text() {
    static const std::string text = EncodeBase64(sjisText());
    return text;
}

template <std::string (*Convert)(std::string_view), const std::string& (*Input)()>
void convertBench(benchmark::State& state) {
    const std::string& input = Input();
    for (auto _ : state) benchmark::DoNotOptimize(Convert(input));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}

void detect(benchmark::State& state) {
    // Undecided EUC hiragana keeps the scan going to the end.
    const std::string input(4 << 20, '\xA4');
    for (auto _ : state) benchmark::DoNotOptimize(InCodeCheck(input));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}

void commandLinesToJis(benchmark::State& state) {
    const std::string& input = sjisText();
    for (auto _ : state) benchmark::DoNotOptimize(convertDocumentText(input, TargetCode::Jis));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}

BENCHMARK_TEMPLATE(convertBench, sjis2euc, sjisText)->Name("sjis2euc")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, euc2sjis, eucText)->Name("euc2sjis")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, sjis2jis83, sjisText)->Name("sjis2jis83")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, jis2sjis, jisText)->Name("jis2sjis")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, euc2jis83, eucText)->Name("euc2jis83")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, jis2euc, jisText)->Name("jis2euc")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, EncodeBase64, sjisText)->Name("EncodeBase64")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(convertBench, DecodeBase64, base64Text)->Name("DecodeBase64")->Unit(benchmark::kMillisecond);
BENCHMARK(detect)->Name("InCodeCheck")->Unit(benchmark::kMillisecond);
BENCHMARK(commandLinesToJis)->Name("convertDocumentText/jis")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
